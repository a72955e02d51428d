#include "sectiontransfer.h"

#include "filefailure.h"
#include "historylist.h"
#include "core/cprofile.h"
#include "core/csectionsdata.h"
#include "core/foldedkey.h"
#include "core/historysections.h"
#include "platform/errornumbers.h"

#include <QSet>

namespace calvenor {
namespace {

// How a file the person left empty is named in a message.
QString shownName(const QString &file, const QString &section)
{
    if (!file.isEmpty())
        return file;
    return cSectionsData::fileOf(section) == SectionFile::Wcxftp ? QStringLiteral("wcx_ftp.ini")
                                                                  : QStringLiteral("wincmd.ini");
}

} // namespace

SectionTransfer::SectionTransfer(HistoryList &list, cProfile &profile, PersonInterface &person,
                                 const LanguageSource &language)
    : m_list(list)
    , m_profile(profile)
    , m_person(person)
    , m_language(language)
{
}

void SectionTransfer::tellCannotRead(const QString &file, int error)
{
    if (error == errFileNotFound) {
        m_person.ShowMessage(m_language.GetLanguageString(3021) + u' ' + file + QStringLiteral("\n\n")
                                 + m_language.GetLanguageString(3022),
                             MessageIcon::Warning);
        return;
    }
    m_person.ShowMessage(FileFailureText(false, error, file, m_language), MessageIcon::Error);
}

void SectionTransfer::tellCannotWrite(const QString &file, int error)
{
    m_person.ShowMessage(FileFailureText(true, error, file, m_language), MessageIcon::Error);
}

void SectionTransfer::tellNoFileNamed(const QString &section)
{
    m_person.ShowMessage(m_language.GetLanguageString(3335)
                             .replace(QStringLiteral("%1"), shownName(QString(), section))
                             .replace(QStringLiteral("%2"), cSectionsData::Title(section, m_language)),
                         MessageIcon::Error);
}

bool SectionTransfer::Export(const QStringList &sections, const QString &wincmd, const QString &wcxftp)
{
    // A file left empty would otherwise be skipped as if exported.
    for (const QString &section : sections) {
        if (HistorySections::FileOf(section, wincmd, wcxftp).trimmed().isEmpty()) {
            tellNoFileNamed(section);
            return false;
        }
    }
    for (const QString &section : sections) {
        if (const int error = m_list.SaveHistorySection(section, wincmd, wcxftp)) {
            const QStringList failed = m_profile.FailedFiles().values();
            tellCannotWrite(failed.isEmpty() ? HistorySections::FileOf(section, wincmd, wcxftp) : failed.join(QStringLiteral(", ")),
                            error);
            return false;
        }
    }
    return true;
}

bool SectionTransfer::Import(const QStringList &sections, const QString &wincmd, const QString &wcxftp)
{
    // Replacing starts by emptying the section: check every file it needs first.
    QSet<QString> checked;
    for (const QString &section : sections) {
        const QString file = HistorySections::FileOf(section, wincmd, wcxftp);
        if (checked.contains(file))
            continue;
        checked.insert(file);
        const int error = file.trimmed().isEmpty() ? int(errFileNotFound) : m_profile.FileReadError(file);
        if (error != errNone) {
            tellCannotRead(shownName(file, section), error);
            return false;
        }
    }
    for (const QString &section : sections) {
        m_list.DeleteSelectedSection(section, 1);
        m_list.ReadHistorySection(section, wincmd, wcxftp);
        m_list.SetSaveFlag(section);
    }
    return !sections.isEmpty();
}

void SectionTransfer::Clear(const QStringList &sections, bool deleteLockedTabs, const KeepRules &keep)
{
    for (const QString &section : sections) {
        const bool tabs = FoldedKey::equalIgnoringCase(section, cSectionsData::LeftTabs())
                          || FoldedKey::equalIgnoringCase(section, cSectionsData::RightTabs());
        m_list.DeleteSelectedSection(section, tabs && !deleteLockedTabs ? 0 : 1, keep);
        m_list.SetSaveFlag(section);
    }
}

} // namespace calvenor
