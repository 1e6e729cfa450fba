#pragma once
// The visible window of the waveform view and its ruler: which stretch of the current
// sentence's sound the picture shows, where the tape head, the segment lines, the ruler
// labels and ticks go, and the scroll bar's range. Plain maths and state; the wave view
// widget paints from it. Times in ms inside the sentence's sound, x in pixels from the
// picture's left edge. One pixel shows Ratio() * 20 ms.
#include <QString>

namespace mvx {

class WaveWindow final
{
public:
    static constexpr int MaxRulerLabel = 40; // labels and ticks 0..40
    static constexpr int DigestStepMs = 40;

    // Picture width in pixels (at least 1); call CountWindowWidth afterwards.
    void SetPictureWidth(int px);
    [[nodiscard]] int PictureWidth() const { return m_pictureWidthPx; }
    void SetRatio(int ratio); // values below 1 become 1
    [[nodiscard]] int Ratio() const { return m_ratio; }
    void SetSndLength(int ms) { m_sndLength = ms < 0 ? 0 : ms; }
    [[nodiscard]] int SndLength() const { return m_sndLength; }

    // WindowWidth from the picture width and ratio, the scroll bar range, and with
    // repaintRuler the ruler step (at least one second, so a window under 10 s still has
    // labels) and the index of the last label shown.
    void CountWindowWidth(bool repaintRuler);
    // Halves the ratio while the sound is shorter than half the window and the ratio is
    // at least 2, so short sentences fill the picture.
    void FitZoom();
    // Scrolls the window to start at ms and relabels the ruler.
    void SetWindowStartPos(int ms);
    // Moves the tape head to ms, scrolling in jumps when it leaves the window. Returns true
    // when the head changed pixel or the window scrolled (a repaint is due).
    bool MoveTapeHead(int ms);
    // Puts the head at x 0 without scrolling (no lesson).
    void ResetTapeHead();
    // Clears the ruler captions (no lesson); SetWindowStartPos labels it again.
    void ClearRule() { m_rulerCleared = true; }

    [[nodiscard]] int WindowStart() const { return m_windowStart; }
    [[nodiscard]] int WindowWidth() const { return m_windowWidth; }
    [[nodiscard]] int RulerStep() const { return m_rulerStep; }
    [[nodiscard]] int RulerOrigin() const { return m_rulerOrigin; }
    [[nodiscard]] int RulerMarkCount() const { return m_rulerMarkCount; }
    [[nodiscard]] bool RulerCleared() const { return m_rulerCleared; }
    // Time shown by ruler label i, its caption ("mm:ss") and the x of its centre and tick.
    [[nodiscard]] int RulerLabelTime(int i) const { return m_rulerOrigin + i * m_rulerStep * 1000; }
    [[nodiscard]] QString RulerLabelText(int i) const { return FormatRulerTime(RulerLabelTime(i)); }
    [[nodiscard]] int RulerTickX(int i) const;
    [[nodiscard]] static QString FormatRulerTime(int ms); // 83450 -> "01:23"

    // Mapping between time and picture (rounded, halves to even).
    [[nodiscard]] int XOf(int ms) const;
    [[nodiscard]] int TimeAt(int x) const;

    [[nodiscard]] int TapeHeadMs() const { return m_headMs; }
    [[nodiscard]] int TapeHeadX() const { return m_headX; }

    // Segment lines (repeat start and end).
    void MoveSegLines(int startMs, int endMs);
    void MoveSegStart(int ms) { m_segStartMs = ms; }
    void ShowSegLines(bool startShown, bool endShown);
    [[nodiscard]] int SegStartMs() const { return m_segStartMs; }
    [[nodiscard]] int SegEndMs() const { return m_segEndMs; }
    [[nodiscard]] bool SegStartShown() const { return m_segStartShown; }
    [[nodiscard]] bool SegEndShown() const { return m_segEndShown; }

    // Scroll bar: whole seconds. Visible when its maximum > 0 and the status allows it.
    [[nodiscard]] int ScrollMaximum() const { return m_scrollMax; }
    [[nodiscard]] int ScrollValue() const { return m_scrollValue; }
    void SetScrollAllowed(bool allowed) { m_scrollAllowed = allowed; }
    [[nodiscard]] bool ScrollVisible() const { return m_scrollAllowed && m_scrollMax > 0; }
    void SetScrollMaximumZero() { m_scrollMax = 0; m_scrollValue = 0; }

    // White and accepting clicks, or grey. Returns true when the colour changed.
    bool SetEnabled(bool enabled);
    [[nodiscard]] bool Enabled() const { return m_enabled; }
    // Clicks accepted (off during a preview) independent of the colour.
    void SetPictureEnabled(bool enabled) { m_pictureEnabled = enabled; }
    [[nodiscard]] bool PictureEnabled() const { return m_pictureEnabled && m_enabled; }
    void SetScrollEnabled(bool enabled) { m_scrollEnabled = enabled; }
    [[nodiscard]] bool ScrollEnabled() const { return m_scrollEnabled; }

private:
    int m_pictureWidthPx = 500;
    int m_ratio = 2;
    int m_sndLength = 0;
    int m_windowStart = 0;
    int m_windowWidth = 20000;
    int m_rulerStep = 2;
    int m_rulerOrigin = 0;
    int m_rulerMarkCount = 10;
    bool m_rulerCleared = true;
    int m_scrollMax = 0;
    int m_scrollValue = 0;
    bool m_scrollAllowed = false;
    bool m_scrollEnabled = true;
    int m_headMs = 0;
    int m_headX = 0;
    int m_segStartMs = 0;
    int m_segEndMs = 0;
    bool m_segStartShown = false;
    bool m_segEndShown = false;
    bool m_enabled = false;
    bool m_pictureEnabled = true;
};

} // namespace mvx
