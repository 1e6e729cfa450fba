#pragma once
// The object the page agent reaches through the web channel (registered as "mvxBridge").
// The top frame's agent calls post() for every page event of every frame and agentReady()
// once its channel is open. Both arrive on the UI thread, queued by the engine.
#include "player/pages/PageEvent.h"

#include <QObject>

namespace mvx::pages {

class PageBridge final : public QObject
{
    Q_OBJECT
public:
    explicit PageBridge(QObject *parent = nullptr);

    Q_INVOKABLE void post(const QVariantMap &event);
    Q_INVOKABLE void agentReady(const QString &pageUrl);

signals:
    void eventPosted(const mvx::pages::PageEvent &event);
    void ready(const QString &pageUrl);
};

} // namespace mvx::pages
