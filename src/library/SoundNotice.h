#pragma once
// Tells the learner once, in the skinned message box, that the program has no sound: when
// the sound output starts without a device, or loses its device while the program runs.
// OpenOutputAfterFirstPaint opens the output as soon as the given window has painted
// itself, so a machine without sound is told at start rather than at the first lesson.
// Only the first notice is shown; later ones add nothing the learner does not know.
#include <QObject>

class QWidget;

namespace mvx {

class SoundNotice final : public QObject
{
    Q_OBJECT

public:
    explicit SoundNotice(QObject *parent = nullptr);
    ~SoundNotice() override;
    SoundNotice(const SoundNotice &) = delete;
    SoundNotice &operator=(const SoundNotice &) = delete;

    void OpenOutputAfterFirstPaint(QWidget *window);
    [[nodiscard]] bool Shown() const { return m_shown; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Show(const QString &notice);

    bool m_shown = false;
};

} // namespace mvx
