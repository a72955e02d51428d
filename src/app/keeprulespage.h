#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace calvenor {

class LanguageSource;

// The options page of the keep rules: one wildcard pattern a line, under a line that
// says what they keep. It only edits the list; the dialog takes it into the settings.
class KeepRulesPage : public QWidget
{
    Q_OBJECT
public:
    explicit KeepRulesPage(const LanguageSource &language, QWidget *parent = nullptr);

    void setPatterns(const QStringList &patterns);
    // The lines as typed; blank ones are left to the rules to drop.
    QStringList patterns() const;

signals:
    void edited();

private:
    QPlainTextEdit *m_patterns;
};

} // namespace calvenor
