#include "centerform.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace calvenor {

void CenterForm(QWidget &form)
{
    QScreen *screen = form.screen();
    if (const QWidget *owner = form.parentWidget(); owner && !form.isVisible())
        screen = owner->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // The frame is only known once shown; before that the hint stands in for it.
    const QSize size = form.isVisible() ? form.frameGeometry().size() : form.size().expandedTo(form.sizeHint());
    form.move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
}

} // namespace calvenor
