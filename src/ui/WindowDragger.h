#pragma once
// Dragging a frameless window by its body: a left press on the window itself, or on
// a child that lets the press through (plain labels and pictures; buttons, option
// pictures, link labels and input controls take their presses), then moving the
// pointer moves the window; the release ends it. A maximised window does not move.
#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

namespace mvx {

class WindowDragger final : public QObject
{
    Q_OBJECT

public:
    // Switches dragging of `window` on (true) or off (false). Idempotent.
    static void Enable(QWidget *window, bool on);
    [[nodiscard]] static bool IsEnabled(const QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit WindowDragger(QWidget *window);

    QPointer<QWidget> m_window;
    QPoint m_grabOffset; // pointer position (global) minus window position at the press
    bool m_dragging = false;
};

} // namespace mvx
