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

// The profile functions ignore blanks around the section and key names they are given.
QString trimSpaces(const QString &name)
{
    return IniSyntax::trimmed(name).toString();
}

// Line breaks and NULs inside a value or name would split the line and corrupt the
// file; they are stored as blanks.
QString singleLine(const QString &text)
{
    const auto breaksLine = [](QChar c) { return c == u'\r' || c == u'\n' || c == u'\0'; };
    if (std::none_of(text.cbegin(), text.cend(), breaksLine))
        return text;   // shares the text, no copy
    QString line = text;
    std::replace_if(line.begin(), line.end(), breaksLine, QChar(u' '));
    return line;
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


bool isName(const QString &text, QStringView name)
{
    return FoldedKey::equalIgnoringCase(text, name);
}

bool isAbsolute(const QString &path)
{
    return WinePrefix::hasDriveLetter(path) || path.startsWith(u'\\') || path.startsWith(u'/');
}

} // namespace

cProfile::cProfile(const PathMacros &paths, const QString &settingsFile)
    : m_paths(paths)
{
    ReadNotRedirectedSections(settingsFile);
}

void cProfile::ReadNotRedirectedSections(const QString &settingsFile)
{
    m_notRedirected.clear();
    QString list = ReadRawValue(QStringLiteral("Common"), QStringLiteral("TCSectionsNotRedirectedByDefault"), settingsFile);
    if (list == m_paths.MissingValueMarker())
        list = kDefaultNotRedirected;
    for (const QString &name : list.split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = name.trimmed();
        if (!trimmed.isEmpty())
            m_notRedirected.append(trimmed);
    }
}

void cProfile::keepFormerPlaces(const QString &nativePath, const CachedFile &file)
{
    if (!file.placesRestored)
        return;   // a document that never held this file's places knows none of them
    std::vector<IniDocument::FormerPlace> places = file.document.formerPlaces();
    if (places.empty())
        m_formerPlaces.remove(nativePath);
    else
        m_formerPlaces.insert(nativePath, std::move(places));
}

bool cProfile::reload(CachedFile &file, const QString &nativePath)
{
    keepFormerPlaces(nativePath, file);
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
    // Sections this run emptied go back to their places when written again, also after
    // another program rewrote the file; a file that is missing or unreadable for a while
    // neither takes nor forgets them.
    file.placesRestored = error == errNone;
    const auto places = m_formerPlaces.constFind(nativePath);
    if (file.placesRestored && places != m_formerPlaces.cend())
        file.document.restoreFormerPlaces(*places);
    forgetResolutions();   // the redirection keys may have changed with the file
    // Edits not yet on disk are applied again on top of what another program wrote.
    for (const Edit &edit : file.pending)
        apply(file.document, edit);
    return file.readError == errNone;
}

cProfile::CachedFile *cProfile::cached(const QString &nativePath)
{
    if (nativePath.isEmpty())
        return nullptr;
    // Runs of reads and writes mostly go to one file: remember the last one.
    if (m_batchDepth > 0 && m_lastFile && nativePath == m_lastPath)
        return m_lastFile;
    auto it = m_files.find(nativePath);
    if (it != m_files.end() && m_batchDepth > 0 && m_validatedInBatch.contains(nativePath)) {
        m_lastPath = nativePath;
        m_lastFile = &it->second;
        return m_lastFile;
    }
    if (it == m_files.end()) {
        it = m_files.emplace(nativePath, CachedFile()).first;
        reload(it->second, nativePath);
    } else if (FileStamp::of(nativePath) != it->second.stamp) {
        reload(it->second, nativePath);
    }
    if (m_batchDepth > 0) {
        m_validatedInBatch.insert(nativePath);
        m_lastPath = nativePath;
        m_lastFile = &it->second;
    }
    return &it->second;
}

QString cProfile::nativePath(const QString &fileName)
{
    if (m_batchDepth == 0)
        return m_paths.nativePath(fileName);
    auto it = m_nativeCache.constFind(fileName);
    if (it == m_nativeCache.cend())
        it = m_nativeCache.insert(fileName, m_paths.nativePath(fileName));
    return *it;
}

int cProfile::FileReadError(const QString &strFileName)
{
    const QString path = nativePath(strFileName);
    if (!FileExists(path))
        return errFileNotFound;
    const CachedFile *file = cached(path);
    return file ? file->readError : errFileNotFound;
}

void cProfile::forgetResolutions()
{
    m_targetCache.clear();
    m_nativeCache.clear();
}

void cProfile::forgetLastFile()
{
    m_lastPath.clear();
    m_lastFile = nullptr;
}

QString cProfile::ReadRawValue(const QString &section, const QString &key, const QString &file)
{
    const CachedFile *cachedFile = cached(nativePath(file));
    if (!cachedFile)
        return m_paths.MissingValueMarker();
    return cachedFile->document.value(section, key).value_or(m_paths.MissingValueMarker());
}

QString cProfile::ResolveTargetFile(const QString &strSectionName, const QString &strKeyName,
                                    const QString &strFileName)
{
    if (isName(strKeyName, u"AlternateUserIni") || isName(strKeyName, u"RedirectSection"))
        return strFileName;
    if (m_batchDepth == 0)
        return resolveUncached(strSectionName, strFileName);
    const auto known = m_targetCache.constFind(strFileName);
    if (known != m_targetCache.cend()) {
        const auto it = known->constFind(FoldedKey::view(strSectionName));
        if (it != known->cend())
            return *it;
    }
    // Resolving reads the file, which may reload it and forget every resolution.
    const QString target = resolveUncached(strSectionName, strFileName);
    m_targetCache[strFileName].insert(FoldedKey {strSectionName}, target);
    return target;
}

QString cProfile::resolveUncached(const QString &strSectionName, const QString &strFileName)
{
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
            if (FoldedKey::equalIgnoringCase(name, strSectionName))
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
    const CachedFile *file = cached(nativePath(target));
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
        const CachedFile *file = cached(nativePath(target));
        std::optional<QString> commented;
        if (file)
            commented = file->document.value(trimSpaces(strSectionName), QString(strCommentString + trimSpaces(strKeyName)));
        value = cutToBuffer(commented.value_or(strDefaultValue), lngMaxBufferSize);
        if (value != m_paths.MissingValueMarker())
            LastReadedKeyIsCommented = true;
    }
    return value;
}

namespace {

// The text WriteValue stores for a value: its stored form, quoted where the profile
// read would otherwise change it.
QString storedText(const IniDocument &document, const QString &value)
{
    return IniSyntax::quoted(document.storedFormOf(value));
}

const QString kRedirectSection = QStringLiteral("RedirectSection");

} // namespace

void cProfile::apply(IniDocument &document, const Edit &edit)
{
    const QStringView kept = edit.keepRedirection ? QStringView(kRedirectSection) : QStringView();
    switch (edit.kind) {
    case EditKind::Write:
        document.setStoredValue(edit.section, edit.key, storedText(document, edit.value));
        break;
    case EditKind::ReplaceSection: {
        std::vector<IniDocument::StoredEntry> stored;
        stored.reserve(edit.entries->size());
        for (const KeyValue &entry : *edit.entries)
            stored.push_back({entry.key, storedText(document, entry.value)});
        document.replaceSection(edit.section, stored, kept);
        break;
    }
    case EditKind::DeleteKey:
        document.deleteKey(edit.section, edit.key);
        break;
    case EditKind::DeleteSection:
        document.deleteSection(edit.section, kept);
        break;
    }
}

bool cProfile::fileCanHold(const IniDocument &document, const Edit &edit)
{
    // Values the code page lacks are written in the marked UTF-8 form; names have no
    // such form, and would come back as '?'.
    const IniTextCodec &codec = document.codec();
    if (!IniDocument::holdsSection(edit.section) || !codec.canEncode(edit.section))
        return false;
    auto holds = [&](const QString &key, const QString &value) {
        // Only a name that starts with '[' depends on the text stored beside it.
        const QString stored = key.startsWith(u'[') ? storedText(document, value) : QString();
        return codec.canEncode(key) && IniDocument::holdsKey(key, stored);
    };
    switch (edit.kind) {
    case EditKind::Write:
        return holds(edit.key, edit.value);
    case EditKind::ReplaceSection:
        return std::all_of(edit.entries->cbegin(), edit.entries->cend(),
                           [&](const KeyValue &entry) { return holds(entry.key, entry.value); });
    case EditKind::DeleteKey:
    case EditKind::DeleteSection:
        break;
    }
    return true;
}

int cProfile::applyEdit(const QString &fileName, Edit edit)
{
    if (m_batchDepth == 0)
        m_failedFiles.clear();
    edit.section = trimSpaces(singleLine(edit.section));
    edit.key = trimSpaces(singleLine(edit.key));
    const QString target = ResolveTargetFile(edit.section, edit.key, fileName);
    const QString targetPath = nativePath(target);
    CachedFile *file = cached(targetPath);
    // Never overwrite a file we could not read; a path naming no file here is
    // reported as written, so the person sees what is missing.
    const int refusal = !file ? int(errPathNotFound) : file->readError;
    if (refusal != errNone) {
        m_failedFiles.insert(targetPath.isEmpty() ? target : targetPath);
        if (m_batchDepth > 0 && m_batchError == errNone)
            m_batchError = refusal;
        return refusal;
    }
    // A name the file cannot hold (a key with '=', one that would read as a header)
    // is refused rather than written into a line that reads back as something else.
    if (!fileCanHold(file->document, edit))
        return errInvalidCall;
    const bool removesSection = edit.kind == EditKind::DeleteSection || edit.kind == EditKind::ReplaceSection;
    const bool changesRedirection = removesSection || isName(edit.section, u"Configuration")
        || isName(edit.key, u"AlternateUserIni") || isName(edit.key, u"RedirectSection");
    // A section rewritten in the file that redirects it keeps its RedirectSection key:
    // without it, the section would move to another file at the next write.
    edit.keepRedirection = removesSection && targetPath == nativePath(fileName);
    apply(file->document, edit);
    file->pending.push_back(std::move(edit));
    if (changesRedirection)
        forgetResolutions();
    m_touchedFiles.insert(targetPath);
    if (m_batchDepth > 0)
        return errNone;
    return flush(targetPath, *file);
}

int cProfile::flush(const QString &nativePath, CachedFile &file)
{
    if (file.pending.empty())
        return errNone;
    if (FileStamp::of(nativePath) != file.stamp)
        reload(file, nativePath);
    int error = file.readError;
    // Edits that changed nothing write nothing: the file keeps its bytes and its time,
    // and a file that does not exist is not made for edits that only delete.
    if (error == errNone && file.document.isModified()) {
        const QByteArray bytes = file.document.serialize();
        if (file.stamp.exists || !bytes.isEmpty())
            error = writeFileAtomically(nativePath, bytes);
    }
    if (error != errNone) {
        // Forget the unsaved state: reads see the disk again, and the caller, told of
        // the failure, still holds what it meant to write.
        m_failedFiles.insert(nativePath);
        forgetLastFile();
        keepFormerPlaces(nativePath, file);
        m_files.erase(nativePath);
        return error;
    }
    file.pending.clear();
    file.document.clearModified();
    file.stamp = FileStamp::of(nativePath);
    // Replaced lines stay in the document's edit text; once that outgrows the file,
    // parsing the file anew at the next use is cheaper than keeping it.
    if (file.document.editedTextSize() > file.document.originalTextSize() + (1 << 20)) {
        forgetLastFile();
        keepFormerPlaces(nativePath, file);
        m_files.erase(nativePath);
    }
    return errNone;
}

bool cProfile::isMarker(const QString &value) const
{
    const QString &marker = m_paths.MissingValueMarker();
    return value.size() == marker.size() && value.compare(marker, Qt::CaseInsensitive) == 0;
}

int cProfile::WriteValue(const QString &strSectionName, const QString &strKeyName, const QString &strValue,
                         const QString &strFileName)
{
    if (isMarker(strValue))
        return errNone;
    return applyEdit(strFileName, {EditKind::Write, strSectionName, strKeyName, singleLine(strValue), nullptr});
}

int cProfile::DeleteValue(const QString &strSectionName, const QString &strKeyName, const QString &strFileName)
{
    return applyEdit(strFileName, {EditKind::DeleteKey, strSectionName, strKeyName, QString(), nullptr});
}

int cProfile::DeleteSection(const QString &strSectionName, const QString &strFileName)
{
    return applyEdit(strFileName, {EditKind::DeleteSection, strSectionName, QString(), QString(), nullptr});
}

int cProfile::ReplaceSection(const QString &strSectionName, const std::vector<KeyValue> &entries,
                             const QString &strFileName)
{
    auto kept = std::make_shared<std::vector<KeyValue>>();
    kept->reserve(entries.size());
    for (const KeyValue &entry : entries) {
        if (!isMarker(entry.value))
            kept->push_back({trimSpaces(singleLine(entry.key)), singleLine(entry.value)});
    }
    return applyEdit(strFileName, {EditKind::ReplaceSection, strSectionName, QString(), QString(), std::move(kept)});
}

void cProfile::BeginBatch()
{
    if (m_batchDepth++ == 0) {
        m_validatedInBatch.clear();
        forgetResolutions();
        forgetLastFile();
        m_failedFiles.clear();
        m_batchError = errNone;
    }
}

int cProfile::EndBatch()
{
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return errNone;
    m_validatedInBatch.clear();
    forgetResolutions();
    forgetLastFile();
    int firstError = m_batchError;
    QStringList paths;
    for (const auto &[path, file] : m_files) {
        if (!file.pending.empty())
            paths.append(path);
    }
    for (const QString &path : std::as_const(paths)) {
        const int error = flush(path, m_files.at(path));
        if (firstError == errNone)
            firstError = error;
    }
    return firstError;
}

cProfile::Checkpoint cProfile::MakeCheckpoint() const
{
    Checkpoint checkpoint;
    for (const auto &[path, file] : m_files)
        checkpoint.insert(path, file.pending.size());
    return checkpoint;
}

void cProfile::Rollback(const Checkpoint &checkpoint)
{
    for (auto &[path, file] : m_files) {
        const size_t keep = checkpoint.value(path, 0);
        if (file.pending.size() <= keep)
            continue;
        file.pending.resize(keep);
        reload(file, path);
    }
}

int cProfile::ReadFileSectionsName(const QString &strFileName, int lngMaxBufferSize)
{
    const CachedFile *file = cached(nativePath(strFileName));
    m_fileSectionsNameList.clear();
    if (file) {
        for (const QString &name : file->document.sectionNames())
            m_fileSectionsNameList.append(name);
    }
    FileSectionsNameCount = m_fileSectionsNameList.finish(lngMaxBufferSize);
    return errNone;
}

int cProfile::ReadSectionKeysNameAndValue(const QString &strSectionName, const QString &strFileName,
                                          int lngMaxBufferSize)
{
    const QString section = trimSpaces(strSectionName);
    const CachedFile *file = cached(nativePath(ResolveTargetFile(section, QString(), strFileName)));
    PackedList &list = m_sectionKeysNameAndValueList;
    list.clear();
    if (file) {
        file->document.forEachEntry(section, [&list](QStringView key, QStringView stored, bool hasEquals) {
            if (hasEquals)
                list.append(key, u"=", stored);
            else
                list.append(key);
        });
    }
    SectionKeysNameAndValueCount = list.finish(lngMaxBufferSize);
    return errNone;
}

int cProfile::ReadSectionKeysNameOnly(const QString &strSectionName, const QString &strFileName,
                                      int lngMaxBufferSize)
{
    const QString section = trimSpaces(strSectionName);
    const CachedFile *file = cached(nativePath(ResolveTargetFile(section, QString(), strFileName)));
    PackedList &list = m_sectionKeysNameOnlyList;
    list.clear();
    if (file) {
        // Lines without '=' are no keys to the profile functions (the section text lists them).
        file->document.forEachEntry(section, [&list](QStringView key, QStringView, bool hasEquals) {
            if (hasEquals)
                list.append(key);
        });
    }
    SectionKeysNameOnlyCount = list.finish(lngMaxBufferSize);
    return errNone;
}

QString cProfile::ReadSectionText(const QString &strSectionName, const QString &strFileName, const QString &lineEnd)
{
    const QString section = trimSpaces(strSectionName);
    const CachedFile *file = cached(nativePath(ResolveTargetFile(section, QString(), strFileName)));
    QString text;
    if (file) {
        file->document.forEachEntry(section, [&](QStringView key, QStringView stored, bool hasEquals) {
            text.append(key);
            if (hasEquals) {
                text.append(u'=');
                text.append(stored);
            }
            text.append(lineEnd);
        });
    }
    return text;
}

std::vector<cProfile::SectionEntry> cProfile::ReadSectionEntries(const QString &strSectionName,
                                                                 const QString &strFileName)
{
    const QString section = trimSpaces(strSectionName);
    const CachedFile *file = cached(nativePath(ResolveTargetFile(section, QString(), strFileName)));
    std::vector<SectionEntry> result;
    if (!file)
        return result;
    const IniDocument &document = file->document;
    document.forEachEntry(section, [&](QStringView key, QStringView stored, bool hasEquals) {
        result.push_back({key.toString(), hasEquals ? document.valueFromStored(stored) : QString(), hasEquals});
    });
    return result;
}

void cProfile::SortKeysNameOnlyList()
{
    const qsizetype end = qMin<qsizetype>(SectionKeysNameOnlyCount + 1, m_sectionKeysNameOnlyList.size());
    if (end <= 1)
        return;
    m_sectionKeysNameOnlyList.stableSortPrefix(end, [](QStringView a, QStringView b) {
        return FoldedKey::compareIgnoringCase(a, b) < 0;
    });
}

namespace {
QString listEntry(const PackedList &list, int index, int *errorNumber)
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
