#pragma once

#include <QString>
#include <QTranslator>

#include <memory>

namespace calvenor {

// Qt's own texts (shortcut names such as "Strg+S", standard buttons, the file, colour
// and font dialogs) in the language the program's texts are in, from the translations
// Qt ships. Without one Qt speaks its built-in English. What it installs it removes
// again when it goes.
class QtTranslations
{
public:
    // folder: where Qt's translations are (empty: where this Qt keeps them).
    explicit QtTranslations(const QString &folder = QString());
    ~QtTranslations();
    QtTranslations(const QtTranslations &) = delete;
    QtTranslations &operator=(const QtTranslations &) = delete;

    // Qt's texts in the language of localeName ("de_DE", "pt_BR"; empty for English),
    // replacing those installed before. A language Qt has no translation for leaves
    // Qt's English. Returns whether anything changed, so that the windows lay out
    // their texts again only then.
    bool Use(const QString &localeName);
    // The translation file in use, empty for none.
    QString File() const;

private:
    QString m_folder;
    QString m_localeName;
    std::unique_ptr<QTranslator> m_translator;
};

} // namespace calvenor
