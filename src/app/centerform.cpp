#include "centerform.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace calvenor {
namespace {

void centre(QWidget &form)
{
    QScreen *screen = form.screen();
    if (const QWidget *owner = form.parentWidget(); owner && !form.isVisible())
        screen = owner->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // The frame is only known once shown; a window smaller than its layout asks for
    // grows to its hint as it is shown.
    const QSize growth = form.size().expandedTo(form.sizeHint()) - form.size();
    const QSize size = (form.isVisible() ? form.frameGeometry().size() : form.size()) + growth;
    form.move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
}

// Centres the window once more when it is first shown: by then its layout has its
// final size (a page or a text set after the constructor may have made it taller).
class CentreWhenShown : public QObject
{
public:
    explicit CentreWhenShown(QWidget &form) : QObject(&form)
    {
        setObjectName(kName);
        form.installEventFilter(this);
    }
    static constexpr const char *kName = "calvenorCentreWhenShown";

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched == parent()) {
            auto *form = static_cast<QWidget *>(parent());
            form->removeEventFilter(this);
            centre(*form);
            deleteLater();
        }
        return false;
    }
};

} // namespace

void CenterForm(QWidget &form)
{
    centre(form);
    if (!form.isVisible()
        && !form.findChild<QObject *>(QLatin1String(CentreWhenShown::kName), Qt::FindDirectChildrenOnly))
        new CentreWhenShown(form);
}

} // namespace calvenor
