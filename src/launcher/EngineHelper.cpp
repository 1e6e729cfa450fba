#include "launcher/EngineHelper.h"

namespace mvx::spirit {

void EngineHelper::InitZqvOrlendDll(const QString &messageSink, int, int messageId, int)
{
    m_sink = messageSink;
    m_messageId = messageId;
    m_initialised = true;
}

void EngineHelper::vcGetPara(int &a, int &b, int &c) const
{
    a = m_filter ? 1 : 0;
    b = 0; // no thread runs, so the exit never waits for one
    c = m_initialised ? 1 : 0;
}

} // namespace mvx::spirit
