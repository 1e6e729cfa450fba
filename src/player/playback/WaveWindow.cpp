#include "player/playback/WaveWindow.h"

#include "player/playback/PlaybackMath.h"

#include <algorithm>

namespace mvx {

void WaveWindow::SetPictureWidth(int px)
{
    m_pictureWidthPx = std::max(1, px);
}

void WaveWindow::SetRatio(int ratio)
{
    m_ratio = std::max(1, ratio);
}

void WaveWindow::CountWindowWidth(bool repaintRuler)
{
    m_windowWidth = RoundHalfEven(double(m_pictureWidthPx) * m_ratio * DigestStepMs / 2.0);
    if (m_windowWidth < m_sndLength) {
        m_scrollMax = RoundHalfEven((m_sndLength - m_windowWidth) / 1000.0);
    } else {
        m_scrollMax = 0;
    }
    m_scrollValue = std::min(m_scrollValue, m_scrollMax);
    if (repaintRuler) {
        // A window under 10 s would give a step of 0 and divide by zero below.
        m_rulerStep = std::max(1, m_windowWidth / 10000);
    }
    // The step stays until the next sentence; the labels fill the width there is now (a
    // wider window shows more of them).
    m_rulerMarkCount = std::min(MaxRulerLabel, m_windowWidth / (std::max(1, m_rulerStep) * 1000));
}

void WaveWindow::FitZoom()
{
    CountWindowWidth(true);
    while (qint64(m_sndLength) * 2 < m_windowWidth && m_ratio >= 2) {
        m_ratio = RoundHalfEven(m_ratio / 2.0);
        CountWindowWidth(true);
    }
}

void WaveWindow::SetWindowStartPos(int ms)
{
    m_windowStart = std::max(0, ms);
    m_rulerOrigin = m_windowStart % 1000 == 0 ? m_windowStart : (m_windowStart / 1000) * 1000 + 1000;
    m_rulerCleared = false;
    m_scrollValue = std::min(m_windowStart / 1000, m_scrollMax);
    m_headX = XOf(m_headMs);
}

bool WaveWindow::MoveTapeHead(int ms)
{
    bool scrolled = false;
    if (ms > m_windowStart + m_windowWidth) {
        if (ms + m_windowWidth / 2 >= m_sndLength)
            SetWindowStartPos(m_sndLength - m_windowWidth);
        else
            SetWindowStartPos(ms - RoundHalfEven(m_windowWidth / 2.0));
        scrolled = true;
    } else if (ms < m_windowStart) {
        const int start = ms - RoundHalfEven(m_windowWidth / 3.0);
        SetWindowStartPos(start > 0 ? start : 0);
        scrolled = true;
    }
    m_scrollValue = std::min(m_windowStart / 1000, m_scrollMax);
    m_headMs = ms;
    const int x = XOf(ms);
    if (x == m_headX && !scrolled)
        return false;
    m_headX = x;
    return true;
}

void WaveWindow::ResetTapeHead()
{
    m_headMs = 0;
    m_headX = 0;
}

int WaveWindow::RulerTickX(int i) const
{
    if (m_windowWidth <= 0)
        return 0;
    const int spacing = RoundHalfEven(m_rulerStep * 1000.0 / m_windowWidth * m_pictureWidthPx);
    return XOf(m_rulerOrigin) + i * spacing;
}

QString WaveWindow::FormatRulerTime(int ms)
{
    const int minutes = ms / 60000;
    const int seconds = (ms % 60000) / 1000;
    return QStringLiteral("%1:%2").arg(minutes, 2, 10, QLatin1Char('0')).arg(seconds, 2, 10, QLatin1Char('0'));
}

int WaveWindow::XOf(int ms) const
{
    if (m_windowWidth <= 0)
        return 0;
    return RoundHalfEven(double(ms - m_windowStart) / m_windowWidth * m_pictureWidthPx);
}

int WaveWindow::TimeAt(int x) const
{
    return RoundHalfEven(double(x) / m_pictureWidthPx * m_windowWidth + m_windowStart);
}

void WaveWindow::MoveSegLines(int startMs, int endMs)
{
    m_segStartMs = startMs;
    m_segEndMs = endMs;
}

void WaveWindow::ShowSegLines(bool startShown, bool endShown)
{
    m_segStartShown = startShown;
    m_segEndShown = endShown;
}

bool WaveWindow::SetEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return false;
    m_enabled = enabled;
    return true;
}

} // namespace mvx
