#include "ccommondialog.h"

#include "core/pathmacros.h"
#include "platform/errornumbers.h"

#include <cmath>

namespace calvenor {

cCommonDialog::cCommonDialog(PersonInterface &person, const LanguageSource &language, const cRegistry *registry)
    : m_person(person)
    , m_language(language)
    , m_registry(registry)
{
    m_customColors.fill(0xFFFFFF);
}

void cCommonDialog::Setup(const QString &strInitDir)
{
    m_lastFolder = strInitDir;
    m_customColors.fill(0xFFFFFF);   // white
}

QList<QPair<QString, QString>> cCommonDialog::Filter(int index)
{
    const QPair<QString, QString> all {QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")};
    static const std::array<std::pair<const char16_t *, const char16_t *>, kFilterCount> first = {{
        {u"All Files (*.*)", u"*.*"},
        {u"Wincmd.ini (*.ini)", u"*.ini"},
        {u"Wcx_ftp.ini (*.ini)", u"*.ini"},
        {u"TC Intenal Command File (*.inc)", u"*.inc"},
        {u"TC Main Menu File (*.mnu)", u"*.mnu"},
        {u"Language File (*.lng)", u"*.lng"},
        {u"Configuration Data File(*.cedf)", u"*.cedf"},
        {u"Default Hotkeys Data File(*.hky)", u"*.hky"},
        {u"Picture File (*.ico;*.bmp)", u"*.ico;*.bmp"},
        {u"Programs (*.EXE;*.COM;*.BAT;*.PIF)", u"*.EXE;*.COM;*.BAT;*.PIF"},
        {u"Icon Files (*.exe;*.dll;*.ico;*.icl)", u"*.exe;*.dll;*.ico;*.icl"},
        {u"Text File (*.txt)", u"*.txt"},
        {u"HTML File (*.htm;*.html)", u"*.htm;*.html"},
        {u"Icon Library (*.icl;*.dll;*.exe)", u"*.icl;*.dll;*.exe"},
    }};
    if (index < 0 || index >= kFilterCount)
        return {};
    QList<QPair<QString, QString>> pairs {{QString::fromUtf16(first[size_t(index)].first),
                                           QString::fromUtf16(first[size_t(index)].second)}};
    // Indexes 1 to 10 also offer every file.
    if (index >= 1 && index <= 10)
        pairs.append(all);
    return pairs;
}

int cCommonDialog::showFileDialog(bool save, const QString &strInitDir, const QString &strFileName, int lngFilter,
                                  const QString &strTitle, bool blnFileMustExist)
{
    Success = false;
    if (lngFilter < 0 || lngFilter >= kFilterCount)
        return errInvalidCall;
    FileDialogRequest request;
    request.save = save;
    request.title = strTitle.isEmpty() ? m_language.GetLanguageString(save ? 1606 : 1605) : strTitle;
    request.folder = strInitDir.isEmpty() ? m_lastFolder : strInitDir;
    request.proposedName = strFileName;
    request.filters = Filter(lngFilter);
    request.fileMustExist = blnFileMustExist;
    request.confirmOverwrite = save;
    const std::optional<QString> chosen = m_person.ChooseFile(request);
    if (!chosen)
        return errNone;
    const QString name = chosen->left(chosen->indexOf(QChar(u'\0')) < 0 ? chosen->size() : chosen->indexOf(QChar(u'\0')));
    if (name.isEmpty())
        return errNone;
    FileName = name;
    Success = true;
    m_lastFolder = folderOf(FileName);
    return errNone;
}

int cCommonDialog::ShowOpenDialog(const QString &strInitDir, const QString &strFileName, int lngFilter,
                                  const QString &strTitle, bool blnFileMustExist)
{
    return showFileDialog(false, strInitDir, strFileName, lngFilter, strTitle, blnFileMustExist);
}

int cCommonDialog::ShowSaveDialog(const QString &strInitDir, const QString &strFileName, int lngFilter,
                                  const QString &strTitle)
{
    return showFileDialog(true, strInitDir, strFileName, lngFilter, strTitle, false);
}

void cCommonDialog::ShowColorDialog(qint32 lngIntialColor, const QString &strRegName)
{
    Success = false;
    qint32 initial = lngIntialColor;
    if (initial < 0 && !strRegName.isEmpty() && m_registry) {
        const QString rgb = m_registry->ReadValue(QStringLiteral("HKEY_CURRENT_USER\\Control Panel\\Colors"), strRegName);
        const QStringList parts = rgb.split(u' ', Qt::SkipEmptyParts);
        bool ok[3] = {false, false, false};
        if (parts.size() >= 3) {
            const int red = parts[0].toInt(&ok[0]);
            const int green = parts[1].toInt(&ok[1]);
            const int blue = parts[2].toInt(&ok[2]);
            if (ok[0] && ok[1] && ok[2])
                initial = (red & 0xFF) + 256 * (green & 0xFF) + 65536 * (blue & 0xFF);
        }
    }
    const std::optional<qint32> chosen = m_person.ChooseColor(initial);
    if (!chosen)
        return;
    Color = QString::number(*chosen & 0x7FFFFFFF);
    Success = true;
}

void cCommonDialog::ShowFontDialog()
{
    Success = false;
    FontChoice preset;
    preset.name = FontName;
    preset.script = FontScript;
    preset.sizeTenths = FontSize * 10;
    preset.weight = (FontStyle & 1) ? 700 : 400;
    preset.italic = FontStyle & 2;
    preset.strikeOut = FontStyle & 4;
    preset.underline = FontStyle & 8;
    const std::optional<FontChoice> chosen = m_person.ChooseFont(preset);
    if (!chosen)
        return;
    FontName = chosen->name.left(31);
    FontSize = int(std::lround(chosen->sizeTenths / 10.0));
    FontScript = chosen->script;
    FontStyle = (chosen->weight == 700 ? 1 : 0) | (chosen->italic ? 2 : 0) | (chosen->strikeOut ? 4 : 0)
        | (chosen->underline ? 8 : 0);
    Success = true;
}

} // namespace calvenor
