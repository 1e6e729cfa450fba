#pragma once
// The page-event sink: a page event handed to Invoke() calls the named method of its
// destination window (a Q_INVOKABLE method or slot without arguments, name matched
// without case), once per event. The sink is armed by Set_Destination; an unarmed
// sink, or one whose destination has gone, does nothing. The called method reads the
// event itself from the page.
#include <QObject>
#include <QPointer>
#include <QString>

namespace mvx {

class clsHtmlEventProc final : public QObject
{
    Q_OBJECT

public:
    explicit clsHtmlEventProc(QObject *parent = nullptr);

    void SetCurObject(QObject *object) { m_curObject = object; }
    void Set_Destination(QObject *destination, const QString &methodName);
    [[nodiscard]] bool IsArmed() const { return m_armed; }
    [[nodiscard]] QString MethodName() const { return m_methodName; }

public slots:
    // The default method the page invokes when its event fires. Returns whether the
    // destination's method ran.
    bool Invoke();

private:
    QPointer<QObject> m_destination;
    QPointer<QObject> m_curObject;
    QString m_methodName;
    bool m_armed = false;
};

} // namespace mvx
