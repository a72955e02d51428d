#include "formlanguage.h"

#include "historylistwidget.h"
#include "settings/clanguage.h"
#include "settings/qttranslations.h"

#include <QAction>
#include <QActionEvent>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QWidget>

namespace calvenor {
namespace {

using Kind = cLanguage::ControlKind;

Kind KindOf(const QWidget *widget)
{
    if (qobject_cast<const QLabel *>(widget))
        return Kind::Label;
    if (qobject_cast<const QCheckBox *>(widget))
        return Kind::CheckBox;
    if (qobject_cast<const QRadioButton *>(widget))
        return Kind::OptionButton;
    if (qobject_cast<const QPushButton *>(widget))
        return Kind::CommandButton;
    if (qobject_cast<const QGroupBox *>(widget))
        return Kind::Frame;
    if (qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget))
        return Kind::TextBox;
    // Plain panels are named like the picture boxes they stand for.
    if (widget->objectName().startsWith(u"pic"))
        return Kind::PictureBox;
    return Kind::Other;
}

int LanguageIdOf(const QObject *object)
{
    return object->property(kLanguageIdProperty).toInt();
}

void SetCaption(QWidget *widget, const QString &caption)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(caption);
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setText(caption);
    else if (auto *frame = qobject_cast<QGroupBox *>(widget))
        frame->setTitle(caption);
}

void ApplyToWidget(QWidget *widget, const cLanguage &language, bool rightToLeft)
{
    const Kind kind = KindOf(widget);
    const int lngId = LanguageIdOf(widget);
    const cLanguage::ControlLanguage look = language.ForControl(kind, lngId, QString(), rightToLeft);
    if (look.backgroundColor) {
        QPalette palette = widget->palette();
        const QColor colour = ColorFromNumber(*look.backgroundColor, palette);
        palette.setColor(kind == Kind::TextBox ? QPalette::Base : QPalette::Window, colour);
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    }
    // Text boxes keep their alignment in a mirrored window; everything else follows
    // the window's direction. A label's text goes to the reading side even when the
    // text itself reads left to right (a file name, an untranslated text).
    if (kind == Kind::TextBox)
        widget->setLayoutDirection(Qt::LeftToRight);
    auto *label = qobject_cast<QLabel *>(widget);
    if (label && look.rightToLeft && !(label->alignment() & Qt::AlignHCenter)) {
        const Qt::Alignment side = *look.rightToLeft ? Qt::AlignRight | Qt::AlignAbsolute : Qt::AlignLeft;
        label->setAlignment(side | (label->alignment() & Qt::AlignVertical_Mask));
    }
    if (look.caption && lngId > 0)
        SetCaption(widget, *look.caption);
}

} // namespace

void SetLanguageId(QObject *object, int lngId)
{
    object->setProperty(kLanguageIdProperty, lngId);
}

bool ApplyFormLanguage(QWidget &form, cLanguage &language, PersonInterface &person)
{
    const bool rightToLeft = language.PrepareForm(person);
    form.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    if (const int lngId = LanguageIdOf(&form); lngId > 0)
        form.setWindowTitle(language.GetLanguageString(lngId));
    for (QWidget *widget : form.findChildren<QWidget *>())
        ApplyToWidget(widget, language, rightToLeft);
    for (QTabWidget *tabs : form.findChildren<QTabWidget *>()) {
        for (int index = 0; index < tabs->count(); ++index) {
            if (const int lngId = LanguageIdOf(tabs->widget(index)); lngId > 0)
                tabs->setTabText(index, language.GetLanguageString(lngId));
        }
    }
    // Actions serve menus and toolbars alike: the caption, and a tooltip without the
    // accelerator mark. Separators carry no id and stay as they are.
    for (QAction *action : form.findChildren<QAction *>()) {
        if (const int lngId = LanguageIdOf(action); lngId > 0) {
            const QString caption = language.GetLanguageString(lngId);
            action->setText(caption);
            action->setToolTip(QString(caption).remove(u'&'));
        }
    }
    return rightToLeft;
}

void ApplyQtLanguage(QWidget &form, const cLanguage &language, QtTranslations &translations)
{
    if (!translations.Use(language.LanguageCode()))
        return;
    for (QMenu *menu : form.findChildren<QMenu *>()) {
        for (QAction *item : menu->actions()) {
            QActionEvent changed(QEvent::ActionChanged, item);
            QCoreApplication::sendEvent(menu, &changed);
        }
    }
}

QPushButton *AddDialogButton(QDialogButtonBox &buttons, QDialogButtonBox::ButtonRole role, const char *name,
                             int lngId)
{
    QPushButton *button = buttons.addButton(QString(), role);
    button->setObjectName(QString::fromLatin1(name));
    SetLanguageId(button, lngId);
    return button;
}

QLabel *AddLanguageLabel(const char *name, int lngId, QWidget *buddy)
{
    auto *label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    SetLanguageId(label, lngId);
    label->setBuddy(buddy);
    return label;
}

QString IsolatedDirection(const QString &text)
{
    // First-strong isolate: the entry's first letter decides its own direction.
    return QChar(0x2068) + text + QChar(0x2069);
}

} // namespace calvenor
