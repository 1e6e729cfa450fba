#include "ui/clsHtmlEventProc.h"

#include "ui/CallByName.h"

namespace mvx {

clsHtmlEventProc::clsHtmlEventProc(QObject *parent) : QObject(parent) {}

void clsHtmlEventProc::Set_Destination(QObject *destination, const QString &methodName)
{
    m_destination = destination;
    m_methodName = methodName;
    m_armed = true;
}

bool clsHtmlEventProc::Invoke()
{
    if (!m_armed || !m_destination)
        return false;
    return CallMethodByName(m_destination, m_methodName);
}

} // namespace mvx
