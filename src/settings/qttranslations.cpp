#include "qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace calvenor {

QtTranslations::QtTranslations(const QString &folder)
    : m_folder(folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder)
{
}

QtTranslations::~QtTranslations()
{
    Use(QString());
}

bool QtTranslations::Use(const QString &localeName)
{
    if (localeName == m_localeName)
        return false;
    m_localeName = localeName;
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    if (localeName.isEmpty())
        return true;
    // qtbase holds every text of Core, Gui and Widgets; the locale's fallbacks (de_AT to
    // de) are tried in turn.
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QLocale(localeName), QStringLiteral("qtbase"), QStringLiteral("_"), m_folder)) {
        QCoreApplication::installTranslator(translator.get());
        m_translator = std::move(translator);
    }
    return true;
}

QString QtTranslations::File() const
{
    return m_translator ? m_translator->filePath() : QString();
}

} // namespace calvenor
