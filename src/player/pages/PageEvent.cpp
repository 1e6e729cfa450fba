#include "player/pages/PageEvent.h"

namespace mvx::pages {

PageEvent PageEvent::fromVariant(const QVariantMap &map)
{
    PageEvent e;
    e.sink = map.value(QStringLiteral("sink")).toString();
    e.type = map.value(QStringLiteral("type")).toString();
    e.frame = map.value(QStringLiteral("frame")).toString();
    e.srcId = map.value(QStringLiteral("srcId")).toString();
    e.srcTag = map.value(QStringLiteral("srcTag")).toString().toUpper();
    e.srcName = map.value(QStringLiteral("srcName")).toString();
    e.parentId = map.value(QStringLiteral("parentId")).toString();
    e.text = map.value(QStringLiteral("text")).toString();
    e.button = map.value(QStringLiteral("button")).toInt();
    e.ctrl = map.value(QStringLiteral("ctrl")).toBool();
    e.alt = map.value(QStringLiteral("alt")).toBool();
    e.shift = map.value(QStringLiteral("shift")).toBool();
    e.keyCode = map.value(QStringLiteral("keyCode")).toInt();
    e.rect = QRectF(map.value(QStringLiteral("x")).toDouble(), map.value(QStringLiteral("y")).toDouble(),
                    map.value(QStringLiteral("w")).toDouble(), map.value(QStringLiteral("h")).toDouble());
    return e;
}

int PageEvent::NumberOfId(const QString &id)
{
    if (id.size() <= 3) {
        return -1;
    }
    bool ok = false;
    const int n = id.mid(3).toInt(&ok);
    return ok ? n : -1;
}

int PageEvent::sentenceNo() const
{
    if (isWord()) {
        return NumberOfId(parentId);
    }
    return NumberOfId(srcId);
}

int PageEvent::wordNo() const
{
    if (!isWord()) {
        return 0;
    }
    const int k = NumberOfId(srcId);
    return k < 0 ? 0 : k;
}

} // namespace mvx::pages
