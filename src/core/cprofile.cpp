#include "cprofile.h"

#include "platform/atomicfile.h"

#include <algorithm>

namespace calvenor {
namespace {

// Larger files are not INI files the file manager could have written; refusing them
// keeps a wrong path from exhausting memory.
constexpr qint64 kMaxFileBytes = 512LL * 1024 * 1024;

const QString kDefaultNotRedirected = QStringLiteral(
    "Configuration;Layout;Packer;Confirmation;Extensions;Associations;Shortcuts;ShortcutsWin;"
    "PackerPlugins;FileSystemPlugins;ListerPlugins;ContentPlugins");

// The profile functions ignore spaces around section and key names they are given.
QString trimSpaces(const QString &name)
{
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && name[begin] == u' ')
        ++begin;
    while (end > begin && name[end - 1] == u' ')
        --end;
    return name.mid(begin, end - begin);
}

// Line breaks and NULs inside a value or name would split the line and corrupt the
// file; they are stored as blanks.
QString singleLine(QString text)
{
    for (QChar &c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            c = u' ';
    }
    return text;
}

QString cutToBuffer(QString text, int bufferSize)
{
    if (bufferSize > 0 && text.size() > bufferSize - 1) {
        text.truncate(qMax(0, bufferSize - 1));
        if (!text.isEmpty() && text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}


bool isAbsolute(const QString &path)
{
    return WinePrefix::hasDriveLetter(path) || path.startsWith(u'\\') || path.startsWith(u'/');
}

} // namespace

cProfile::cProfile(const PathMacros &paths, const QString &settingsFile)
    : m_paths(paths)
{
    QString list = ReadRawValue(QStringLiteral("Common"), QStringLiteral("TCSectionsNotRedirectedByDefault"), settingsFile);
    if (list == m_paths.MissingValueMarker())
        list = kDefaultNotRedirected;
    for (const QString &name : list.split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = name.trimmed();
        if (!trimmed.isEmpty())
            m_notRedirected.append(trimmed);
    }
}

bool cProfile::reload(CachedFile &file, const QString &nativePath)
{
    file.stamp = FileStamp::of(nativePath);
    file.readError = errNone;
    QByteArray bytes;
    const ErrorNumber error = readWholeFile(nativePath, kMaxFileBytes, bytes);
    if (error == errFileNotFound) {
        file.document = IniDocument();
    } else if (error != errNone) {
        file.document = IniDocument();
        file.readError = error;
    } else {
        file.document = IniDocument::parse(bytes);
    }
    // Edits not yet on disk are applied again on top of what another program wrote.
    for (const Edit &edit : file.pending)
        apply(file.document, edit);
    return file.readError == errNone;
}

cProfile::CachedFile *cProfile::cached(const QString &nativePath)
{
    if (nativePath.isEmpty())
        return nullptr;
    auto it = m_files.find(nativePath);
    if (it != m_files.end() && m_batchDepth > 0 && m_validatedInBatch.contains(nativePath))
        return &*it;
    if (it == m_files.end()) {
        it = m_files.insert(nativePath, CachedFile());
        reload(*it, nativePath);
    } else if (FileStamp::of(nativePath) != it->stamp) {
        reload(*it, nativePath);
    }
    if (m_batchDepth > 0)
        m_validatedInBatch.insert(nativePath);
    return &*it;
}

QString cProfile::ReadRawValue(const QString &section, const QString &key, const QString &file)
{
    const CachedFile *cachedFile = cached(m_paths.nativePath(file));
    if (!cachedFile)
        return m_paths.MissingValueMarker();
    return cachedFile->document.value(section, key).value_or(m_paths.MissingValueMarker());
}

QString cProfile::ResolveTargetFile(const QString &strSectionName, const QString &strKeyName,
                                    const QString &strFileName)
{
    if (strKeyName.compare(u"AlternateUserIni", Qt::CaseInsensitive) == 0
        || strKeyName.compare(u"RedirectSection", Qt::CaseInsensitive) == 0)
        return strFileName;
    const QString &marker = m_paths.MissingValueMarker();
    QString alternate = ReadRawValue(QStringLiteral("Configuration"), QStringLiteral("AlternateUserIni"), strFileName);
    QString redirect = ReadRawValue(strSectionName, QStringLiteral("RedirectSection"), strFileName);
    alternate = m_paths.ExpandPath(alternate);
    redirect = m_paths.ExpandPath(redirect);
    // An empty value names no file; it counts as absent.
    const bool hasAlternate = alternate != marker && !alternate.isEmpty();
    const bool hasRedirect = redirect != marker && !redirect.isEmpty();

    auto redirected = [&]() -> QString {
        if (isAbsolute(redirect))
            return redirect;
        // A relative target lives beside the file that names it.
        return folderOf(strFileName) + redirect;
    };
    if (!hasRedirect) {
        if (!hasAlternate)
            return strFileName;
        for (const QString &name : m_notRedirected) {
            if (name.compare(strSectionName, Qt::CaseInsensitive) == 0)
                return strFileName;
        }
        return alternate;
    }
    if (redirect == u'0')
        return strFileName;
    if (redirect == u'1')
        return hasAlternate ? alternate : strFileName;
    return redirected();
}

QString cProfile::ReadValue(const QString &strSectionName, const QString &strKeyName, const QString &strDefaultValue,
                            const QString &strFileName, int lngMaxBufferSize)
{
    const QString section = trimSpaces(strSectionName);
    const QString key = trimSpaces(strKeyName);
    const QString target = ResolveTargetFile(section, key, strFileName);
    const CachedFile *file = cached(m_paths.nativePath(target));
    std::optional<QString> value;
    if (file)
        value = file->document.value(section, key);
    return cutToBuffer(value.value_or(strDefaultValue), lngMaxBufferSize);
}

QString cProfile::ReadValue2(const QString &strSectionName, const QString &strKeyName, const QString &strDefaultValue,
                             const QString &strFileName, const QString &strCommentString, int lngMaxBufferSize)
{
    QString value = ReadValue(strSectionName, strKeyName, strDefaultValue, strFileName, lngMaxBufferSize);
    LastReadedKeyIsCommented = false;
    if (value == m_paths.MissingValueMarker()) {
        // The commented key is looked up in the file the plain key resolved to.
        const QString target = ResolveTargetFile(trimSpaces(strSectionName), trimSpaces(strKeyName), strFileName);
        const CachedFile *file = cached(m_paths.nativePath(target));
        std::optional<QString> commented;
        if (file)
            commented = file->document.value(trimSpaces(strSectionName), QString(strCommentString + trimSpaces(strKeyName)));
        value = cutToBuffer(commented.value_or(strDefaultValue), lngMaxBufferSize);
        if (value != m_paths.MissingValueMarker())
            LastReadedKeyIsCommented = true;
    }
    return value;
}

void cProfile::apply(IniDocument &document, const Edit &edit)
{
    switch (edit.kind) {
    case EditKind::Write: {
        QString stored = document.storedFormOf(edit.value);
        // The profile read strips blanks and one pair of quotes; quoting keeps them.
        if (!stored.isEmpty() && !stored.startsWith(QStringLiteral("\"\""))) {
            const QChar first = stored.front();
            const QChar last = stored.back();
            if (first == u' ' || first == u'"' || last == u' ' || last == u'"')
                stored = u'"' + stored + u'"';
        }
        document.setStoredValue(edit.section, edit.key, stored);
        break;
    }
    case EditKind::DeleteKey:
        document.deleteKey(edit.section, edit.key);
        break;
    case EditKind::DeleteSection:
        document.deleteSection(edit.section);
        break;
    }
}

int cProfile::applyEdit(const QString &fileName, Edit edit)
{
    edit.section = singleLine(trimSpaces(edit.section));
    edit.key = singleLine(trimSpaces(edit.key));
    const QString target = ResolveTargetFile(edit.section, edit.key, fileName);
    const QString nativePath = m_paths.nativePath(target);
    CachedFile *file = cached(nativePath);
    const int refusal = !file ? int(errPathNotFound) : file->readError;   // never overwrite a file we could not read
    if (refusal != errNone) {
        if (m_batchDepth > 0 && m_batchError == errNone)
            m_batchError = refusal;
        return refusal;
    }
    apply(file->document, edit);
    file->pending.push_back(std::move(edit));
    m_touchedFiles.insert(nativePath);
    if (m_batchDepth > 0)
        return errNone;
    m_failedFiles.clear();
    return flush(nativePath, *file);
}

int cProfile::flush(const QString &nativePath, CachedFile &file)
{
    if (file.pending.empty())
        return errNone;
    if (FileStamp::of(nativePath) != file.stamp)
        reload(file, nativePath);
    int error = file.readError;
    if (error == errNone)
        error = writeFileAtomically(nativePath, file.document.serialize());
    if (error != errNone) {
        // Forget the unsaved state: reads see the disk again, and the caller, told of
        // the failure, still holds what it meant to write.
        m_failedFiles.insert(nativePath);
        m_files.remove(nativePath);
        return error;
    }
    file.pending.clear();
    file.stamp = FileStamp::of(nativePath);
    return errNone;
}

int cProfile::WriteValue(const QString &strSectionName, const QString &strKeyName, const QString &strValue,
                         const QString &strFileName)
{
    if (strValue.compare(m_paths.MissingValueMarker(), Qt::CaseInsensitive) == 0)
        return errNone;
    return applyEdit(strFileName, {EditKind::Write, strSectionName, strKeyName, singleLine(strValue)});
}

int cProfile::DeleteValue(const QString &strSectionName, const QString &strKeyName, const QString &strFileName)
{
    return applyEdit(strFileName, {EditKind::DeleteKey, strSectionName, strKeyName, QString()});
}

int cProfile::DeleteSection(const QString &strSectionName, const QString &strFileName)
{
    return applyEdit(strFileName, {EditKind::DeleteSection, strSectionName, QString(), QString()});
}

void cProfile::BeginBatch()
{
    if (m_batchDepth++ == 0) {
        m_validatedInBatch.clear();
        m_failedFiles.clear();
        m_batchError = errNone;
    }
}

int cProfile::EndBatch()
{
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return errNone;
    m_validatedInBatch.clear();
    int firstError = m_batchError;
    const QStringList paths = m_files.keys();
    for (const QString &path : paths) {
        auto it = m_files.find(path);
        if (it == m_files.end() || it->pending.empty())
            continue;
        const int error = flush(path, *it);
        if (firstError == errNone)
            firstError = error;
    }
    return firstError;
}

cProfile::Checkpoint cProfile::MakeCheckpoint() const
{
    Checkpoint checkpoint;
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
        checkpoint.insert(it.key(), it->pending.size());
    return checkpoint;
}

void cProfile::Rollback(const Checkpoint &checkpoint)
{
    for (auto it = m_files.begin(); it != m_files.end(); ++it) {
        const size_t keep = checkpoint.value(it.key(), 0);
        if (it->pending.size() <= keep)
            continue;
        it->pending.resize(keep);
        reload(*it, it.key());
    }
}

void cProfile::fillList(const QStringList &entries, int bufferSize, QStringList &list, int &count)
{
    list.clear();
    count = -1;
    // The platform ends each entry with a NUL and the list with one more; what does
    // not fit is cut, and entries beyond the cut are not seen.
    qsizetype room = bufferSize > 0 ? qsizetype(bufferSize) - 2 : std::numeric_limits<qsizetype>::max();
    for (const QString &entry : entries) {
        if (room <= 0)
            break;
        if (entry.size() + 1 <= room) {
            list.append(entry);
            room -= entry.size() + 1;
        } else {
            list.append(entry.left(room));
            room = 0;
        }
    }
    if (!list.isEmpty())
        list.append(QString());   // the split at the final NUL
    for (const QString &entry : std::as_const(list)) {
        if (!entry.isEmpty())
            ++count;
    }
}

int cProfile::ReadFileSectionsName(const QString &strFileName, int lngMaxBufferSize)
{
    const CachedFile *file = cached(m_paths.nativePath(strFileName));
    fillList(file ? file->document.sectionNames() : QStringList(), lngMaxBufferSize,
             m_fileSectionsNameList, FileSectionsNameCount);
    return errNone;
}

int cProfile::ReadSectionKeysNameAndValue(const QString &strSectionName, const QString &strFileName,
                                          int lngMaxBufferSize)
{
    const QString section = trimSpaces(strSectionName);
    const CachedFile *file = cached(m_paths.nativePath(ResolveTargetFile(section, QString(), strFileName)));
    QStringList lines;
    if (file) {
        for (const IniEntry &entry : file->document.entries(section))
            lines.append(entry.hasEquals ? entry.key + u'=' + entry.stored : entry.key);
    }
    fillList(lines, lngMaxBufferSize, m_sectionKeysNameAndValueList, SectionKeysNameAndValueCount);
    return errNone;
}

int cProfile::ReadSectionKeysNameOnly(const QString &strSectionName, const QString &strFileName,
                                      int lngMaxBufferSize)
{
    const QString section = trimSpaces(strSectionName);
    const CachedFile *file = cached(m_paths.nativePath(ResolveTargetFile(section, QString(), strFileName)));
    QStringList keys;
    if (file) {
        for (const IniEntry &entry : file->document.entries(section))
            keys.append(entry.key);
    }
    fillList(keys, lngMaxBufferSize, m_sectionKeysNameOnlyList, SectionKeysNameOnlyCount);
    return errNone;
}

std::vector<cProfile::SectionEntry> cProfile::ReadSectionEntries(const QString &strSectionName,
                                                                 const QString &strFileName)
{
    const QString section = trimSpaces(strSectionName);
    const CachedFile *file = cached(m_paths.nativePath(ResolveTargetFile(section, QString(), strFileName)));
    std::vector<SectionEntry> result;
    if (!file)
        return result;
    const std::vector<IniEntry> entries = file->document.entries(section);
    result.reserve(entries.size());
    for (const IniEntry &entry : entries) {
        result.push_back({entry.key, entry.hasEquals ? file->document.valueFromStored(entry.stored) : QString(),
                          entry.hasEquals});
    }
    return result;
}

void cProfile::SortKeysNameOnlyList()
{
    const qsizetype end = qMin<qsizetype>(SectionKeysNameOnlyCount + 1, m_sectionKeysNameOnlyList.size());
    if (end <= 1)
        return;
    std::stable_sort(m_sectionKeysNameOnlyList.begin(), m_sectionKeysNameOnlyList.begin() + end,
                     [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
}

namespace {
QString listEntry(const QStringList &list, int index, int *errorNumber)
{
    if (index < 0 || index >= list.size()) {
        if (errorNumber)
            *errorNumber = errSubscriptOutOfRange;
        return QString();
    }
    if (errorNumber)
        *errorNumber = errNone;
    return list.at(index);
}
} // namespace

QString cProfile::FileSectionsNameList(int lngIndex, int *errorNumber) const
{
    return listEntry(m_fileSectionsNameList, lngIndex, errorNumber);
}

QString cProfile::SectionKeysNameAndValueList(int lngIndex, int *errorNumber) const
{
    return listEntry(m_sectionKeysNameAndValueList, lngIndex, errorNumber);
}

QString cProfile::SectionKeysNameOnlyList(int lngIndex, int *errorNumber) const
{
    return listEntry(m_sectionKeysNameOnlyList, lngIndex, errorNumber);
}

} // namespace calvenor
