#include "player/form/ButtonFaces.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace mvx::ButtonFaces {

QString CaptionOf(const QString &tag)
{
    static const QHash<QString, QString> captions = {
        {QStringLiteral("btPlay"), QStringLiteral("▶")},         {QStringLiteral("btRepeatSentence"), QStringLiteral("复")},
        {QStringLiteral("btAutoRepeat"), QStringLiteral("逐")},  {QStringLiteral("btPlaySentence"), QStringLiteral("句")},
        {QStringLiteral("btABRepeatA"), QStringLiteral("A")},    {QStringLiteral("btABRepeatB"), QStringLiteral("B")},
        {QStringLiteral("btPause"), QStringLiteral("❚❚")},       {QStringLiteral("btStop"), QStringLiteral("■")},
        {QStringLiteral("btPrev"), QStringLiteral("◀")},         {QStringLiteral("btNext"), QStringLiteral("▶▶")},
        {QStringLiteral("btMarkSentence"), QStringLiteral("标")}, {QStringLiteral("btDigest"), QStringLiteral("摘")},
        {QStringLiteral("btPrint"), QStringLiteral("印")},       {QStringLiteral("btSearch"), QStringLiteral("查")},
        {QStringLiteral("btMp3"), QStringLiteral("MP3")},        {QStringLiteral("btSpell"), QStringLiteral("拼")},
        {QStringLiteral("btSpeak"), QStringLiteral("说")},       {QStringLiteral("btThink"), QStringLiteral("想")},
        {QStringLiteral("btStopThinking"), QStringLiteral("止")}, {QStringLiteral("btWordSummary"), QStringLiteral("汇")},
        {QStringLiteral("btNotebook"), QStringLiteral("本")},    {QStringLiteral("btSetting"), QStringLiteral("设")},
        {QStringLiteral("btBrowse"), QStringLiteral("览")},      {QStringLiteral("btWinHelp"), QStringLiteral("?")},
        {QStringLiteral("btWinMin"), QStringLiteral("–")},       {QStringLiteral("btWinMax"), QStringLiteral("□")},
        {QStringLiteral("btWinNormal"), QStringLiteral("❐")},    {QStringLiteral("btWinClose"), QStringLiteral("×")}};
    return captions.value(tag, tag);
}

QPixmap Face(const QString &tag, QSize size, bool enabled, qreal dpr)
{
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    QPainterPath path;
    path.addRoundedRect(r, 4, 4);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, enabled ? QColor(0xF4, 0xF8, 0xFC) : QColor(0xEE, 0xEE, 0xEE));
    g.setColorAt(1, enabled ? QColor(0xC8, 0xDA, 0xEC) : QColor(0xDD, 0xDD, 0xDD));
    p.fillPath(path, g);
    p.setPen(enabled ? QColor(0x6A, 0x8C, 0xB0) : QColor(0xBB, 0xBB, 0xBB));
    p.drawPath(path);
    QFont f;
    const QString caption = CaptionOf(tag);
    f.setPixelSize(caption.size() > 2 ? size.height() / 3 : size.height() / 2);
    p.setFont(f);
    p.setPen(enabled ? QColor(0x1F, 0x3A, 0x5C) : QColor(0xAA, 0xAA, 0xAA));
    p.drawText(r, Qt::AlignCenter, caption);
    return pm;
}

} // namespace mvx::ButtonFaces
