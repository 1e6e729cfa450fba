#pragma once
// A small waveform picture of a sound's samples (the loudest part fills the height), for the
// speaking drill's original sentence and the learner's recording.
#include <QWidget>

#include <vector>

namespace mvx {

class SoundShape final : public QWidget
{
    Q_OBJECT

public:
    explicit SoundShape(QWidget *parent = nullptr);
    void SetSamples(const std::vector<qint16> &samples);
    void SetColour(const QColor &colour) { m_colour = colour; update(); }
    // Peak of each pixel column, 0..1 (what is drawn).
    [[nodiscard]] const std::vector<float> &Peaks() const { return m_peaks; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void MakePeaks();

    std::vector<qint16> m_samples;
    std::vector<float> m_peaks;
    QColor m_colour = QColor(0x20, 0x60, 0xA0);
};

} // namespace mvx
