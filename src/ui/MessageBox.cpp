#include "ui/MessageBox.h"

#include "ui/lgMsgBoxForm.h"

#include <QApplication>
#include <QPointer>

namespace mvx {

namespace {
MessageBoxHandler &Handler()
{
    static MessageBoxHandler handler;
    return handler;
}

QPointer<QWidget> &HomeWindow()
{
    static QPointer<QWidget> home;
    return home;
}

bool IsOwnerCandidate(const QWidget *w)
{
    return w && w->isWindow() && w->isVisible() && !w->isMinimized()
        && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog);
}
} // namespace

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    Handler() = std::move(handler);
}

void SetMessageBoxHome(QWidget *window)
{
    HomeWindow() = window;
}

QWidget *MessageBoxOwner()
{
    if (QWidget *modal = QApplication::activeModalWidget(); IsOwnerCandidate(modal))
        return modal;
    if (QWidget *active = QApplication::activeWindow(); IsOwnerCandidate(active))
        return active;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (IsOwnerCandidate(w))
            return w;
    return HomeWindow(); // every window hidden: the home window, shown or not
}

int ShowMessageBox(const QString &text, int kind)
{
    if (Handler())
        return Handler()(text, kind) ? -1 : 0;
    // The owner may go away while the box is up (it then takes the box with it).
    QPointer<lgMsgBoxForm> box = new lgMsgBoxForm(MessageBoxOwner());
    box->Load();
    box->init(text, kind);
    box->exec();
    const bool ok = box && box->Answer();
    delete box.data();
    return ok ? -1 : 0;
}

} // namespace mvx
