#include "keeprulespage.h"

#include "formlanguage.h"
#include "core/languagesource.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace calvenor {

KeepRulesPage::KeepRulesPage(const LanguageSource &language, QWidget *parent)
    : QWidget(parent)
    , m_patterns(new QPlainTextEdit)
{
    setObjectName(QStringLiteral("picOptions_3"));
    SetLanguageId(this, 3370);
    QLabel *label = AddLanguageLabel("lblKeepRules", 3371, m_patterns);
    label->setWordWrap(true);
    m_patterns->setObjectName(QStringLiteral("txtKeepRules"));
    m_patterns->setAccessibleName(language.GetLanguageString(3374));
    m_patterns->setAccessibleDescription(language.GetLanguageString(3372));
    // Patterns are paths and commands: a fixed-width face shows blanks and backslashes.
    m_patterns->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_patterns->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_patterns->setTabChangesFocus(true);
    QLabel *help = AddLanguageLabel("lblKeepRulesHelp", 3372);
    help->setWordWrap(true);
    connect(m_patterns, &QPlainTextEdit::textChanged, this, &KeepRulesPage::edited);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_patterns, 1);
    layout->addWidget(help);
}

void KeepRulesPage::setPatterns(const QStringList &patterns)
{
    const QSignalBlocker quiet(m_patterns);
    m_patterns->setPlainText(patterns.join(u'\n'));
}

QStringList KeepRulesPage::patterns() const
{
    return m_patterns->toPlainText().split(u'\n');
}

} // namespace calvenor
