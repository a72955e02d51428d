#include "qtperson.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace calvenor {

QString BreakableAtSeparators(const QString &text)
{
    QString result;
    result.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        result.append(text[i]);
        const bool separator = text[i] == u'\\' || text[i] == u'/';
        if (separator && i + 1 < text.size() && !text[i + 1].isSpace())
            result.append(QChar(0x200B));   // zero width space: a place to break
    }
    return result;
}

MessageAnswer QtPerson::ShowMessage(const QString &text, MessageIcon icon, MessageButtons buttons,
                                    MessageAnswer defaultAnswer)
{
    return ask(text, icon, buttons, defaultAnswer, nullptr);
}

MessageAnswer QtPerson::ShowChoice(const QString &text, MessageIcon icon, const ButtonTexts &buttons,
                                   MessageAnswer defaultAnswer)
{
    return ask(text, icon, MessageButtons::YesNoCancel, defaultAnswer, &buttons);
}

MessageAnswer QtPerson::ask(const QString &text, MessageIcon icon, MessageButtons buttons, MessageAnswer defaultAnswer,
                            const ButtonTexts *texts)
{
    QMessageBox box(m_owner);
    box.setWindowTitle(QApplication::applicationName());
    // The box is as wide as its longest line (a path) needs, up to most of the screen;
    // a path longer than that wraps at its separators rather than after its drive letter.
    box.setText(BreakableAtSeparators(text));
    int widest = 0;
    for (const QString &line : text.split(u'\n'))
        widest = qMax(widest, box.fontMetrics().horizontalAdvance(line));
    const QScreen *screen = m_owner ? m_owner->screen() : QGuiApplication::primaryScreen();
    // Qt's box grows to at most 1000 pixels, or the screen less 480: room for the icon
    // and margins is left within that.
    if (screen)
        widest = qMin(widest, qMin(screen->availableGeometry().width() - 480, 1000) - 120);
    box.setStyleSheet(QStringLiteral("QLabel#qt_msgbox_label { min-width: %1px; }").arg(widest + 8));
    switch (icon) {
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    if (texts) {
        box.button(QMessageBox::Yes)->setText(texts->yes);
        box.button(QMessageBox::No)->setText(texts->no);
        box.button(QMessageBox::Cancel)->setText(texts->cancel);
    }
    switch (defaultAnswer) {
    case MessageAnswer::Ok: box.setDefaultButton(QMessageBox::Ok); break;
    case MessageAnswer::Yes: box.setDefaultButton(QMessageBox::Yes); break;
    case MessageAnswer::No: box.setDefaultButton(QMessageBox::No); break;
    case MessageAnswer::Cancel: box.setDefaultButton(QMessageBox::Cancel); break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
}

void QtPerson::Beep()
{
    QApplication::beep();
}

std::optional<QString> QtPerson::ChooseFile(const FileDialogRequest &request)
{
    QStringList filters;
    for (const auto &[description, patterns] : request.filters) {
        // Qt lists a filter's patterns in parentheses, separated by blanks.
        const qsizetype open = description.indexOf(u'(');
        const QString name = (open < 0 ? description : description.left(open)).trimmed();
        filters << name + QStringLiteral(" (") + QString(patterns).replace(u';', u' ') + u')';
    }
    QFileDialog dialog(m_owner, request.title, request.folder, filters.join(QStringLiteral(";;")));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setFilter(dialog.filter() | QDir::Hidden);
    dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<qint32> QtPerson::ChooseColor(qint32 initialColor)
{
    const QColor initial(initialColor & 0xFF, (initialColor >> 8) & 0xFF, (initialColor >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(initial, m_owner);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen.red() + 256 * chosen.green() + 65536 * chosen.blue();
}

std::optional<FontChoice> QtPerson::ChooseFont(const FontChoice &preset)
{
    QFont font(preset.name);
    font.setPointSizeF(preset.sizeTenths / 10.0);
    font.setBold(preset.weight >= 700);
    font.setItalic(preset.italic);
    font.setStrikeOut(preset.strikeOut);
    font.setUnderline(preset.underline);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, m_owner);
    if (!ok)
        return std::nullopt;
    FontChoice result = preset;
    result.name = chosen.family();
    result.sizeTenths = int(chosen.pointSizeF() * 10);
    result.weight = chosen.weight() == QFont::Bold ? 700 : (chosen.weight() >= QFont::DemiBold ? 600 : 400);
    result.italic = chosen.italic();
    result.strikeOut = chosen.strikeOut();
    result.underline = chosen.underline();
    return result;
}

} // namespace calvenor
