#include "DigestRenderer.h"

#include <QLine>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace mvx {

QVector<PeakPair> DigestRenderer::Columns(const WaveDigest &digest, int widthPx, qint64 windowStartMs,
                                          int windowRatio)
{
    QVector<PeakPair> columns;
    if (!digest.isValid() || widthPx <= 0 || windowRatio <= 0)
        return columns;
    columns.resize(widthPx);
    const qint64 msPerPixel = qint64(windowRatio) * MsPerPixelUnit;
    const qint64 rate = digest.sampleRate();
    for (int x = 0; x < widthPx; ++x) {
        const qint64 t0 = windowStartMs + x * msPerPixel;
        const qint64 f0 = t0 * rate / 1000;
        const qint64 f1 = (t0 + msPerPixel) * rate / 1000;
        columns[x] = digest.range(f0, f1);
    }
    return columns;
}

QPair<int, int> DigestRenderer::StrokeSpan(const PeakPair &peaks, int peak, int heightPx)
{
    const double half = (heightPx - 1) / 2.0;
    const double scale = half / double(std::max(peak, ScaleFloor));
    const int mid = int(std::lround(half));
    int top = int(std::lround(half - peaks.max * scale));
    int bottom = int(std::lround(half - peaks.min * scale));
    top = std::clamp(std::min(top, mid), 0, heightPx - 1);
    bottom = std::clamp(std::max(bottom, mid), 0, heightPx - 1);
    return {top, bottom};
}

bool DigestRenderer::Draw(QPainter &painter, const WaveDigest &digest, int heightPx, int widthPx,
                          qint64 windowStartMs, int windowRatio, const QColor &colour)
{
    if (heightPx <= 0 || widthPx <= 0 || windowRatio <= 0 || !digest.isValid() || !painter.isActive())
        return false;
    const QVector<PeakPair> columns = Columns(digest, widthPx, windowStartMs, windowRatio);
    QVector<QLine> strokes;
    strokes.reserve(columns.size());
    for (int x = 0; x < columns.size(); ++x) {
        if (!columns[x].valid)
            continue;
        const auto [top, bottom] = StrokeSpan(columns[x], digest.peak(), heightPx);
        strokes.append(QLine(x, top, x, bottom));
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colour, 1));
    painter.drawLines(strokes);
    painter.restore();
    return true;
}

} // namespace mvx
