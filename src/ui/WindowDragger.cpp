#include "ui/WindowDragger.h"

#include <QMouseEvent>
#include <QWidget>

namespace mvx {

namespace {
const char *const kDraggerName = "mvxWindowDragger";
} // namespace

WindowDragger::WindowDragger(QWidget *window) : QObject(window), m_window(window)
{
    setObjectName(QString::fromLatin1(kDraggerName));
    window->installEventFilter(this);
}

void WindowDragger::Enable(QWidget *window, bool on)
{
    if (!window)
        return;
    auto *existing = window->findChild<WindowDragger *>(QString::fromLatin1(kDraggerName), Qt::FindDirectChildrenOnly);
    if (on && !existing)
        new WindowDragger(window);
    else if (!on && existing)
        delete existing;
}

bool WindowDragger::IsEnabled(const QWidget *window)
{
    return window && window->findChild<WindowDragger *>(QString::fromLatin1(kDraggerName), Qt::FindDirectChildrenOnly);
}

bool WindowDragger::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && !m_window->isMaximized() && !m_window->isFullScreen()) {
            m_dragging = true;
            m_grabOffset = mouse->globalPosition().toPoint() - m_window->pos();
        }
        break;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (m_dragging && (mouse->buttons() & Qt::LeftButton)) {
            m_window->move(mouse->globalPosition().toPoint() - m_grabOffset);
            return true;
        }
        if (m_dragging && !(mouse->buttons() & Qt::LeftButton))
            m_dragging = false; // the release went elsewhere
        break;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_dragging = false;
        break;
    default:
        break;
    }
    return false;
}

} // namespace mvx
