#pragma once

#include "inidocument.h"
#include "packedlist.h"
#include "pathmacros.h"
#include "platform/errornumbers.h"
#include "platform/filestamp.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <unordered_map>
#include <vector>

namespace calvenor {

// The one way the program reads and writes INI files: the file manager's wincmd.ini
// and wcx_ftp.ini and the program's own settings file. It reads files as the Windows
// private-profile functions do and follows the file manager's redirection of sections
// (AlternateUserIni, RedirectSection) for every operation that names a section.
//
// Parsed files are cached but revalidated against the disk before use, so a read
// always sees the file as it is now. Writes made between BeginBatch and EndBatch are
// applied in memory and reach each file once, atomically, when the batch ends; a write
// outside a batch reaches its file at once. A failed write is reported, never dropped.
class cProfile
{
public:
    // Buffer sizes the callers use: one value, and a whole section or key list.
    static constexpr int kValueBuffer = 4096;
    static constexpr int kSectionBuffer = 32700;
    // A buffer size of 0 or less reads a value or a list whole.
    static constexpr int kWholeList = 0;

    // Reads TCSectionsNotRedirectedByDefault from [Common] of the settings file.
    cProfile(const PathMacros &paths, const QString &settingsFile);

    QString ReadValue(const QString &strSectionName, const QString &strKeyName, const QString &strDefaultValue,
                      const QString &strFileName, int lngMaxBufferSize = kValueBuffer);
    QString ReadValue2(const QString &strSectionName, const QString &strKeyName, const QString &strDefaultValue,
                       const QString &strFileName, const QString &strCommentString,
                       int lngMaxBufferSize = kValueBuffer);
    int WriteValue(const QString &strSectionName, const QString &strKeyName, const QString &strValue,
                   const QString &strFileName);
    int DeleteValue(const QString &strSectionName, const QString &strKeyName, const QString &strFileName);
    int DeleteSection(const QString &strSectionName, const QString &strFileName);

    // A whole section written anew: the same as DeleteSection followed by WriteValue of
    // every entry in order (values holding the marker write nothing), done in one step.
    struct KeyValue
    {
        QString key;
        QString value;
    };
    int ReplaceSection(const QString &strSectionName, const std::vector<KeyValue> &entries,
                       const QString &strFileName);

    int ReadFileSectionsName(const QString &strFileName, int lngMaxBufferSize = kSectionBuffer);
    int ReadSectionKeysNameAndValue(const QString &strSectionName, const QString &strFileName,
                                    int lngMaxBufferSize = kSectionBuffer);
    int ReadSectionKeysNameOnly(const QString &strSectionName, const QString &strFileName,
                                int lngMaxBufferSize = kSectionBuffer);
    void SortKeysNameOnlyList();

    // The entries of a section with each value as a value read gives it (unquoted,
    // UTF-8 marker decoded), so that a list read key by key and a list read line by
    // line see the same values.
    struct SectionEntry
    {
        QString key;
        QString value;
        bool hasEquals = false;
    };
    std::vector<SectionEntry> ReadSectionEntries(const QString &strSectionName, const QString &strFileName);

    // The section's lines as ReadSectionKeysNameAndValue gives them, read whole, each
    // followed by lineEnd, in one text.
    QString ReadSectionText(const QString &strSectionName, const QString &strFileName, const QString &lineEnd);

    // Indexed reads of the three lists; an index outside a list gives an empty string
    // and sets errorNumber (when given) to errSubscriptOutOfRange.
    QString FileSectionsNameList(int lngIndex, int *errorNumber = nullptr) const;
    QString SectionKeysNameAndValueList(int lngIndex, int *errorNumber = nullptr) const;
    QString SectionKeysNameOnlyList(int lngIndex, int *errorNumber = nullptr) const;

    int FileSectionsNameCount = -1;
    int SectionKeysNameAndValueCount = -1;
    int SectionKeysNameOnlyCount = -1;
    bool LastReadedKeyIsCommented = false;

    // Batches nest; the outermost EndBatch writes every changed file and returns the
    // first error (0 when all files were written).
    void BeginBatch();
    int EndBatch();
    bool inBatch() const { return m_batchDepth > 0; }
    // The files whose writes failed in the last flush: native paths, or the path as
    // written where it names no file here (a %VAR% nobody set, an unmapped drive).
    QSet<QString> FailedFiles() const { return m_failedFiles; }
    // Native paths written to (in memory or on disk) since ClearTouchedFiles.
    QSet<QString> TouchedFiles() const { return m_touchedFiles; }
    void ClearTouchedFiles() { m_touchedFiles.clear(); }

    // Marks the edits made so far in the current batch; Rollback undoes every later
    // edit, so an operation that fails half-way leaves nothing of itself behind.
    using Checkpoint = QHash<QString, size_t>;
    Checkpoint MakeCheckpoint() const;
    void Rollback(const Checkpoint &checkpoint);

    // Whether a file can be read before anything relies on it: errNone, errFileNotFound
    // when it does not exist (or names no file here), else the error reading it gave.
    int FileReadError(const QString &strFileName);

    // The file a section really lives in; strKeyName may be empty.
    QString ResolveTargetFile(const QString &strSectionName, const QString &strKeyName,
                              const QString &strFileName);
    const QStringList &NotRedirectedSections() const { return m_notRedirected; }
    // Reads the list again from another settings file: the program makes its cProfile
    // before it knows where its settings file is.
    void ReadNotRedirectedSections(const QString &settingsFile);
    const PathMacros &paths() const { return m_paths; }

private:
    enum class EditKind { Write, DeleteKey, DeleteSection, ReplaceSection };
    struct Edit
    {
        EditKind kind;
        QString section;
        QString key;
        QString value;
        std::shared_ptr<const std::vector<KeyValue>> entries;   // ReplaceSection only
        bool keepRedirection = false;   // a section removal keeps its RedirectSection line
    };
    struct CachedFile
    {
        FileStamp stamp;
        IniDocument document;
        int readError = errNone;   // the file exists but cannot be used as an INI file
        std::vector<Edit> pending;
        bool placesRestored = false;   // the document holds the file's former section places
    };

    bool isMarker(const QString &value) const;   // ignoring case, as WriteValue compares
    CachedFile *cached(const QString &nativePath);
    QString nativePath(const QString &fileName);
    QString resolveUncached(const QString &section, const QString &fileName);
    void forgetResolutions();
    void forgetLastFile();
    bool reload(CachedFile &file, const QString &nativePath);
    void keepFormerPlaces(const QString &nativePath, const CachedFile &file);
    QString ReadRawValue(const QString &section, const QString &key, const QString &file);
    int applyEdit(const QString &fileName, Edit edit);
    static void apply(IniDocument &document, const Edit &edit);
    static bool fileCanHold(const IniDocument &document, const Edit &edit);
    int flush(const QString &nativePath, CachedFile &file);

    const PathMacros &m_paths;
    QStringList m_notRedirected;
    std::unordered_map<QString, CachedFile> m_files;   // node-based: entries stay put
    QSet<QString> m_validatedInBatch;
    // Within a batch: where each section of each named file resolves to, and the native
    // path of each file name, so a long run of writes does not resolve them again.
    QHash<QString, QHash<FoldedKey, QString>> m_targetCache;
    QHash<QString, QString> m_nativeCache;
    QString m_lastPath;
    CachedFile *m_lastFile = nullptr;
    // Per native path, where the sections this run emptied stood; they outlive the
    // parsed documents, which go when a file changes on disk.
    QHash<QString, std::vector<IniDocument::FormerPlace>> m_formerPlaces;
    QSet<QString> m_failedFiles;
    QSet<QString> m_touchedFiles;
    int m_batchDepth = 0;
    int m_batchError = errNone;

    PackedList m_fileSectionsNameList;
    PackedList m_sectionKeysNameAndValueList;
    PackedList m_sectionKeysNameOnlyList;
};

// Holds a cProfile batch open for one operation and ends it on every way out.
class ProfileBatch
{
public:
    explicit ProfileBatch(cProfile &profile) : m_profile(profile) { m_profile.BeginBatch(); }
    ~ProfileBatch()
    {
        if (!m_finished)
            m_profile.EndBatch();
    }
    ProfileBatch(const ProfileBatch &) = delete;
    ProfileBatch &operator=(const ProfileBatch &) = delete;

    // Ends the batch now and returns its error number.
    int finish()
    {
        m_finished = true;
        return m_profile.EndBatch();
    }

private:
    cProfile &m_profile;
    bool m_finished = false;
};

} // namespace calvenor
