#include "WindowDragFilter.h"

#include <QMouseEvent>
#include <QWindow>

namespace mvx {

void WindowDragFilter::Apply(QObject *window, bool on)
{
    auto *w = qobject_cast<QWindow *>(window);
    if (!w)
        return;
    auto *existing = w->findChild<WindowDragFilter *>(QString(), Qt::FindDirectChildrenOnly);
    if (on && !existing)
        w->installEventFilter(new WindowDragFilter(w));
    else if (!on && existing)
        delete existing; // removes itself from the window's filters
}

bool WindowDragFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            if (auto *w = qobject_cast<QWindow *>(watched))
                return w->startSystemMove();
    }
    return false;
}

} // namespace mvx
