#pragma once
// Calling a window's method by its name, as the click dispatch, the page-event sink
// and the choice dialogs' call-backs do. The method must be a Q_INVOKABLE method or a
// slot without arguments (or with one QString, second overload); the name is matched
// without regard to case, an exact match winning over others. Returns false when the target has no such method.
#include <QString>

class QObject;

namespace mvx {

bool CallMethodByName(QObject *target, const QString &methodName);
// The same for a method taking one QString (a dialog's call-back with the text it asked for).
bool CallMethodByName(QObject *target, const QString &methodName, const QString &argument);
[[nodiscard]] bool HasMethodByName(const QObject *target, const QString &methodName);

} // namespace mvx
