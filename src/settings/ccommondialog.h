#pragma once

#include "core/languagesource.h"
#include "core/personinterface.h"
#include "platform/cregistry.h"

#include <QList>
#include <QPair>
#include <QString>

#include <array>

namespace calvenor {

// The file-open, file-save, colour and font choices every part of the program shares.
// Each Show... call leaves its outcome in the public fields; the object remembers the
// last folder used, sixteen custom colours and the table of file-type filters. The
// choosers themselves are the person interface's.
class cCommonDialog
{
public:
    static constexpr int kFilterCount = 14;   // indexes 0 .. 13

    cCommonDialog(PersonInterface &person, const LanguageSource &language, const cRegistry *registry = nullptr);

    void Setup(const QString &strInitDir);
    // A filter index outside 0..13 is refused with errInvalidCall and shows nothing.
    int ShowOpenDialog(const QString &strInitDir, const QString &strFileName, int lngFilter, const QString &strTitle,
                       bool blnFileMustExist);
    int ShowSaveDialog(const QString &strInitDir, const QString &strFileName, int lngFilter, const QString &strTitle);
    // A negative (system) initial colour is replaced by that colour's current value from
    // HKEY_CURRENT_USER\Control Panel\Colors, value strRegName ("R G B"), when given.
    void ShowColorDialog(qint32 lngIntialColor, const QString &strRegName);
    void ShowFontDialog();

    // The description and pattern pairs of a filter index.
    static QList<QPair<QString, QString>> Filter(int index);
    const QString &LastFolder() const { return m_lastFolder; }
    const std::array<qint32, 16> &CustomColors() const { return m_customColors; }

    bool Success = false;
    QString FileName;
    QString Color;
    QString FontName;   // at most 31 characters
    int FontScript = 1;
    int FontSize = 10;
    int FontStyle = 0;  // 1 bold, 2 italic, 4 strikethrough, 8 underline

private:
    int showFileDialog(bool save, const QString &strInitDir, const QString &strFileName, int lngFilter,
                       const QString &strTitle, bool blnFileMustExist);

    PersonInterface &m_person;
    const LanguageSource &m_language;
    const cRegistry *m_registry;
    QString m_lastFolder;
    std::array<qint32, 16> m_customColors {};
};

} // namespace calvenor
