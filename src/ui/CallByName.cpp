#include "ui/CallByName.h"

#include <QMetaMethod>
#include <QObject>

namespace mvx {

namespace {

// With wantString, only methods taking exactly one QString; otherwise only those taking none.
QMetaMethod FindMethod(const QObject *target, const QString &methodName, bool wantString = false)
{
    if (!target || methodName.isEmpty())
        return {};
    const QByteArray wanted = methodName.toUtf8();
    const QMetaObject *meta = target->metaObject();
    QMetaMethod loose;
    // From the most derived class down, so a window's own method wins over its bases'.
    for (int i = meta->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod method = meta->method(i);
        if (method.parameterCount() != (wantString ? 1 : 0))
            continue;
        if (wantString && method.parameterType(0) != QMetaType::QString)
            continue;
        if (method.methodType() != QMetaMethod::Method && method.methodType() != QMetaMethod::Slot)
            continue;
        if (method.name() == wanted)
            return method;
        if (!loose.isValid() && QString::fromUtf8(method.name()).compare(methodName, Qt::CaseInsensitive) == 0)
            loose = method;
    }
    return loose;
}

} // namespace

bool CallMethodByName(QObject *target, const QString &methodName)
{
    const QMetaMethod method = FindMethod(target, methodName);
    if (!method.isValid()) {
        qWarning("No method %s on %s", qPrintable(methodName),
                 target ? target->metaObject()->className() : "(none)");
        return false;
    }
    return method.invoke(target, Qt::DirectConnection);
}

bool CallMethodByName(QObject *target, const QString &methodName, const QString &argument)
{
    const QMetaMethod method = FindMethod(target, methodName, true);
    if (!method.isValid()) {
        qWarning("No method %s(QString) on %s", qPrintable(methodName),
                 target ? target->metaObject()->className() : "(none)");
        return false;
    }
    return method.invoke(target, Qt::DirectConnection, Q_ARG(QString, argument));
}

bool HasMethodByName(const QObject *target, const QString &methodName)
{
    return FindMethod(target, methodName).isValid();
}

} // namespace mvx
