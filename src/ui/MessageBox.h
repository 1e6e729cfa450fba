#pragma once
// ShowMessageBox(text, kind): shows the skinned message box modally, without an owner
// window, and returns its answer as the old whole number: -1 after OK (or Enter), 0
// after Cancel or any other close. Kind 1: OK only (information); any other kind:
// OK and Cancel (question). Usage: if (ShowMessageBox(QStringLiteral("确定删除吗？"), 0)) ...
//
// Tests of windows that show messages install a handler instead of the box: it
// receives the text and kind and returns the answer (-1 or 0).
#include <QString>
#include <functional>

namespace mvx {

int ShowMessageBox(const QString &text, int kind);

using MessageBoxHandler = std::function<int(const QString &text, int kind)>;
// Installs a handler that answers in place of the box; an empty one restores the box.
void SetMessageBoxHandler(MessageBoxHandler handler);

} // namespace mvx
