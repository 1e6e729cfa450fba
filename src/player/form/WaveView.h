#pragma once
// The waveform view of the player (piWaveGraph with its ruler): draws the current
// sentence's digest for the window the playback logic computed, the ruler labels and
// ticks above it, the tape head and the segment lines, and turns clicks into the
// logic's waveform operations. The waveform itself is cached and redrawn only when the
// window scrolls, zooms or the sentence changes; a tape-head move repaints two columns,
// at most once per frame of the screen. Shift + left drag moves the sentence's start (a
// press in the first half of the sound) or end (the second half) by the dragged time; plain
// and Ctrl clicks keep their repeat meanings.
#include "player/playback/RepaintPacer.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace mvx {

class PlaybackController;

class WaveView final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int RulerHeight = 20; // pixels above the picture for the labels and ticks

    explicit WaveView(PlaybackController &controller, QWidget *parent = nullptr);

    [[nodiscard]] QRect PictureRect() const;
    // Count of full waveform redraws (the cache was rebuilt), for the benchmark.
    [[nodiscard]] int WaveRedraws() const { return m_redraws; }
    // Draws the picture (without ruler) into the painter as the view shows it.
    void RenderPicture(QPainter &painter);
    // The sentence edge being dragged (Shift + left button) and where it would go, in ms of
    // the current cut; nothing while no drag runs.
    [[nodiscard]] bool Dragging() const { return m_dragging; }
    [[nodiscard]] bool DraggingEnd() const { return m_dragEnd; }
    [[nodiscard]] int DragDeltaMs() const { return m_dragDeltaMs; }
    // Milliseconds between two tape-head repaints (the screen's frame).
    [[nodiscard]] double HeadFrameMs() const { return m_pacer.FrameMs(); }

public slots:
    void OnWaveChanged();
    void OnTapeHeadMoved();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void RebuildCache();
    void DrawRuler(QPainter &painter);
    [[nodiscard]] QRect ColumnRect(int x) const;
    void RepaintMovedLines();

    PlaybackController &m_controller;
    QPixmap m_cache;
    bool m_cacheValid = false;
    int m_drawnHeadX = -1;
    int m_drawnSegStartX = -1;
    int m_drawnSegEndX = -1;
    int m_redraws = 0;
    RepaintPacer m_pacer;
    QElapsedTimer m_frameClock;
    QTimer m_nextFrame; // a tape-head repaint waiting for the next frame
    bool m_dragging = false;
    bool m_dragEnd = false;
    int m_dragFromMs = 0;
    int m_dragDeltaMs = 0;
};

} // namespace mvx
