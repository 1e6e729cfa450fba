#pragma once
// What the lesson pages need of the HTML view, so their logic holds no widget: load a local
// page and wait for it, run agent calls in order, and the bridge the agent posts events to.
// The real host is HtmlView (a QWebEngineView); all calls run on the UI thread.
#include <QString>
#include <QVariant>
#include <functional>

namespace mvx::pages {

class PageBridge;

class PageHost
{
public:
    virtual ~PageHost() = default;

    // Loads the local file into the view and waits (pumping events) until the page with all
    // its frames has loaded and the agent's channel is open, or timeoutMs passed. Returns false
    // with *error set on failure or time-out. While it waits, isWaiting() is true.
    virtual bool loadAndWait(const QString &localFile, int timeoutMs, QString *error) = 0;
    [[nodiscard]] virtual bool isWaiting() const = 0;
    // Runs JavaScript in the top frame; calls run in the order given. The callback (may be
    // empty) receives the result later, through the event loop.
    virtual void run(const QString &script, const std::function<void(const QVariant &)> &callback = {}) = 0;
    // Runs JavaScript and waits for its result (pumping events, isWaiting() true meanwhile).
    // Returns an invalid QVariant on time-out.
    virtual QVariant runAndWait(const QString &script, int timeoutMs) = 0;
    [[nodiscard]] virtual PageBridge *bridge() const = 0;
};

} // namespace mvx::pages
