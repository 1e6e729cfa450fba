#pragma once
// Lets a frameless QWindow be dragged by its body: a left press anywhere hands the move to
// the window system. Used when no widget toolkit handler is registered.
#include <QObject>

namespace mvx {

class WindowDragFilter final : public QObject
{
    Q_OBJECT
public:
    // Installs (on) or removes (off) the filter on a QWindow; other objects are ignored.
    static void Apply(QObject *window, bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};

} // namespace mvx
