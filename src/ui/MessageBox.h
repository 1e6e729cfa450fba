#pragma once
// ShowMessageBox(text, kind): shows the skinned message box modally and returns its answer
// as the old whole number: -1 after OK (or Enter), 0 after Cancel or any other close.
// Kind 1: OK only (information); any other kind: OK and Cancel (question).
// Usage: if (ShowMessageBox(QStringLiteral("确定删除吗？"), 0)) ...
// The box belongs to the window the learner sees (the modal one, the active one, any
// visible one); while every window is hidden (between the library and a lesson) it belongs
// to the home window set with SetMessageBoxHome.
//
// Tests of windows that show messages install a handler instead of the box: it
// receives the text and kind and returns the answer (-1 or 0).
#include <QString>
#include <functional>

class QWidget;

namespace mvx {

int ShowMessageBox(const QString &text, int kind);

// The program's home window (the library): owner of boxes shown while no window is visible.
void SetMessageBoxHome(QWidget *window);
// The window a box shown now belongs to; null when there is none.
[[nodiscard]] QWidget *MessageBoxOwner();

using MessageBoxHandler = std::function<int(const QString &text, int kind)>;
// Installs a handler that answers in place of the box; an empty one restores the box.
void SetMessageBoxHandler(MessageBoxHandler handler);

} // namespace mvx
