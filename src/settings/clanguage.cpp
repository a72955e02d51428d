#include "clanguage.h"

#include "csettings.h"

#include "core/pathmacros.h"

#include <QLocale>

namespace calvenor {
namespace {

const QString kSection = QStringLiteral("UserLanguage");

// Case and accents do not count: a file may well be called Francais.lng.
QString foldedName(const QString &name)
{
    QString result;
    for (const QChar c : name.normalized(QString::NormalizationForm_KD)) {
        if (c.category() != QChar::Mark_NonSpacing)
            result.append(c);
    }
    return result.toCaseFolded();
}

// A language's name in English or in itself ("German", "Deutsch"), else a locale code
// ("de", "pt_BR", "de-AT"); empty when it is neither.
QString localeNamed(const QString &text)
{
    const QString wanted = foldedName(text.trimmed());
    if (wanted.isEmpty())
        return QString();
    for (int value = QLocale::C + 1; value <= QLocale::LastLanguage; ++value) {
        const auto language = QLocale::Language(value);
        const QLocale locale(language);
        if (locale.language() != language)   // Qt holds no data for it
            continue;
        if (foldedName(QLocale::languageToString(language)) == wanted || foldedName(locale.nativeLanguageName()) == wanted)
            return locale.name();
    }
    const QLocale code(text.trimmed());
    return code.language() == QLocale::C ? QString() : code.name();
}

} // namespace

cLanguage::cLanguage(cProfile &profile, cSettings &settings)
    : m_profile(profile)
    , m_settings(settings)
{
}

QString cLanguage::GetLanguageString(int lngId) const
{
    if (m_settings.UseDefaultLanguage)
        return GetDefaultString(lngId);
    const QString value = m_profile.ReadValue(kSection, QString::number(lngId), QString(), m_settings.LanguageFile);
    // "/e" marks a text the translator left to the built-in one.
    if (!value.isEmpty() && value.trimmed().compare(u"/e", Qt::CaseInsensitive) != 0)
        return value;
    return GetDefaultString(lngId);
}

bool cLanguage::PrepareForm(PersonInterface &person)
{
    if (m_settings.UseDefaultLanguage)
        return false;
    if (m_profile.paths().FileExists(m_settings.LanguageFile)) {
        return m_profile.ReadValue(kSection, QStringLiteral("RightToLeftLanguage"), QStringLiteral("0"),
                                   m_settings.LanguageFile).trimmed() == u'1';
    }
    // The file is gone: its own texts cannot say so.
    person.ShowMessage(GetDefaultString(3048), MessageIcon::Error);
    m_settings.UseDefaultLanguage = true;
    m_settings.Write(QStringLiteral("Calvenor"), QStringLiteral("UseDefaultLanguage"), QStringLiteral("1"));
    return false;
}

QString cLanguage::LanguageCode() const
{
    if (m_settings.UseDefaultLanguage || !m_profile.paths().FileExists(m_settings.LanguageFile))
        return QString();
    const QString stated = m_profile.ReadValue(kSection, QStringLiteral("LanguageCode"), QString(), m_settings.LanguageFile);
    if (!stated.trimmed().isEmpty())
        return localeNamed(stated);
    const QString name = fileNameOf(m_settings.LanguageFile);
    return localeNamed(name.left(name.lastIndexOf(u'.')));
}

cLanguage::ControlLanguage cLanguage::ForControl(ControlKind kind, int tag, const QString &currentCaption,
                                                 bool rightToLeft) const
{
    ControlLanguage result;
    result.fontScript = m_settings.FontScript;
    switch (kind) {
    case ControlKind::PictureBox:
    case ControlKind::Label:
    case ControlKind::CheckBox:
    case ControlKind::TextBox:
    case ControlKind::OptionButton:
        if (m_settings.ShowBkColor)
            result.backgroundColor = m_settings.BackgroundColor;
        break;
    default:
        break;
    }
    switch (kind) {
    case ControlKind::Label:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::CommandButton:
    case ControlKind::Frame:
        result.rightToLeft = rightToLeft;
        break;
    default:
        break;
    }
    switch (kind) {
    case ControlKind::MenuItem:
        if (currentCaption != u"-")   // separators stay separators
            result.caption = GetLanguageString(tag);
        break;
    case ControlKind::ToolbarButton:
        result.toolTip = GetLanguageString(tag);
        break;
    case ControlKind::Tab:
        result.caption = GetLanguageString(tag);
        break;
    default:
        if (tag > 0)
            result.caption = GetLanguageString(tag);
    }
    return result;
}

} // namespace calvenor
