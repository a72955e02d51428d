#pragma once

#include "cdefaultstrings.h"
#include "core/cprofile.h"
#include "core/languagesource.h"
#include "core/personinterface.h"

#include <QString>

#include <optional>

namespace calvenor {

class cSettings;

// The text of every language id: the language file's ([UserLanguage], key = the id)
// when the settings ask for it and it has one, else the built-in text. The file is read
// on every call, so a changed file shows at once. Also the rules by which a window
// gives its controls their texts, font script, colours and reading direction; the
// window only walks its widgets and applies what these rules say.
class cLanguage : public LanguageSource
{
public:
    cLanguage(cProfile &profile, cSettings &settings);

    QString GetLanguageString(int lngId) const override;
    QString GetDefaultString(int lngId) const { return m_defaults.GetDefaultString(lngId); }

    // The first step of applying the language to a window: when a language file is to
    // be used but is missing, says so (once per call), switches to the built-in texts
    // and stores that choice. Returns whether the window reads right to left.
    bool PrepareForm(PersonInterface &person);

    // The language the texts are in, as a locale name ("de_DE", "pt_BR"), so that Qt's
    // own texts can follow: the file's LanguageCode key, else its name ("Deutsch.lng",
    // "German.lng", "de.lng"). Empty while the built-in (English) texts are in use, the
    // file is missing, or neither names a language.
    QString LanguageCode() const;

    enum class ControlKind { Label, CheckBox, OptionButton, CommandButton, Frame, PictureBox, TextBox,
                             MenuItem, ToolbarButton, Tab, Other };
    // What one control gets; an empty optional leaves that property as it is.
    struct ControlLanguage
    {
        int fontScript = 1;
        std::optional<qint32> backgroundColor;
        std::optional<bool> rightToLeft;   // also: text aligned right when true, left when false
        std::optional<QString> caption;
        std::optional<QString> toolTip;
    };
    ControlLanguage ForControl(ControlKind kind, int tag, const QString &currentCaption, bool rightToLeft) const;

private:
    cProfile &m_profile;
    cSettings &m_settings;
    cDefaultStrings m_defaults;
};

} // namespace calvenor
