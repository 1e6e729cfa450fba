#include "SoundShape.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace mvx {

SoundShape::SoundShape(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SoundShape::SetSamples(const std::vector<qint16> &samples)
{
    m_samples = samples;
    MakePeaks();
    update();
}

void SoundShape::resizeEvent(QResizeEvent *)
{
    MakePeaks();
}

void SoundShape::MakePeaks()
{
    const int columns = std::max(1, width());
    m_peaks.assign(size_t(columns), 0.0f);
    if (m_samples.empty())
        return;
    int loudest = 1;
    for (qint16 s : m_samples)
        loudest = std::max(loudest, std::abs(int(s)));
    const size_t n = m_samples.size();
    for (int x = 0; x < columns; ++x) {
        const size_t from = n * size_t(x) / size_t(columns);
        const size_t to = std::max(from + 1, n * size_t(x + 1) / size_t(columns));
        int peak = 0;
        for (size_t i = from; i < to && i < n; ++i)
            peak = std::max(peak, std::abs(int(m_samples[i])));
        m_peaks[size_t(x)] = float(peak) / float(loudest);
    }
}

void SoundShape::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(0xC0, 0xC0, 0xC0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const int mid = height() / 2;
    p.drawLine(0, mid, width(), mid);
    p.setPen(m_colour);
    for (int x = 0; x < int(m_peaks.size()); ++x) {
        const int h = int(m_peaks[size_t(x)] * float(mid - 2));
        if (h > 0)
            p.drawLine(x, mid - h, x, mid + h);
    }
}

} // namespace mvx
