#pragma once
// The launcher's helper library, kept as a class behind its four calls. Nothing on this
// desktop needs its message filter or its thread, so it records its state: a filter
// flag, its message target and whether its (never started) thread was told to end.
#include <QString>

namespace mvx::spirit {

class EngineHelper final
{
public:
    void vcInstallFilter(int on) { m_filter = on != 0; }
    void InitZqvOrlendDll(const QString &messageSink, int reserved, int messageId, int code);
    void vcToEndThread() { m_endRequested = true; }
    // a: the filter is installed, b: busy (the thread still runs), c: initialised.
    void vcGetPara(int &a, int &b, int &c) const;

private:
    bool m_filter = false;
    bool m_endRequested = false;
    bool m_initialised = false;
    QString m_sink;
    int m_messageId = 0;
};

} // namespace mvx::spirit
