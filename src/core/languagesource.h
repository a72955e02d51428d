#pragma once

#include <QString>

namespace calvenor {

// Where logic gets the text of a language id: the language file's text or the
// built-in default.
class LanguageSource
{
public:
    virtual ~LanguageSource() = default;
    virtual QString GetLanguageString(int lngId) const = 0;
};

} // namespace calvenor
