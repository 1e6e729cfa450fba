#pragma once
// The waveform view of the player (piWaveGraph with its ruler): draws the current
// sentence's digest for the window the playback logic computed, the ruler labels and
// ticks above it, the tape head and the segment lines, and turns clicks into the
// logic's waveform operations. The waveform itself is cached and redrawn only when the
// window scrolls, zooms or the sentence changes; a tape-head move repaints two columns.
#include <QPixmap>
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

public slots:
    void OnWaveChanged();
    void OnTapeHeadMoved();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void RebuildCache();
    void DrawRuler(QPainter &painter);
    [[nodiscard]] QRect ColumnRect(int x) const;

    PlaybackController &m_controller;
    QPixmap m_cache;
    bool m_cacheValid = false;
    int m_drawnHeadX = -1;
    int m_drawnSegStartX = -1;
    int m_drawnSegEndX = -1;
    int m_redraws = 0;
};

} // namespace mvx
