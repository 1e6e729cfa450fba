#include "player/pages/PageBridge.h"

namespace mvx::pages {

PageBridge::PageBridge(QObject *parent)
    : QObject(parent)
{
}

void PageBridge::post(const QVariantMap &event)
{
    emit eventPosted(PageEvent::fromVariant(event));
}

void PageBridge::agentReady(const QString &pageUrl)
{
    emit ready(pageUrl);
}

} // namespace mvx::pages
