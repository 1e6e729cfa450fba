#pragma once
// The sound of the drill windows: a sentence of the book (cut to a working WAV file) or any
// sound file, played through the real media back end at the rate of the window's speed box,
// which offers the player's four speeds preset from its stored choice.
#include "libs/media/MediaPlayer.h"

#include <QObject>
#include <QString>

class QComboBox;
class QWidget;

namespace mvx::sentra {
class SentraBook;
}

namespace mvx {

class DrillSound final : public QObject
{
    Q_OBJECT

public:
    // fileName: the working file under alltmpfile (removed again with this object).
    DrillSound(const QString &fileName, QObject *parent = nullptr);
    ~DrillSound() override;

    // The speed box; its changes set the rate at once.
    QComboBox *MakeSpeedBox(QWidget *parent);
    [[nodiscard]] static double RateOfEntry(int entry);

    bool PlaySentence(sentra::SentraBook &book, int noInAll);
    bool PlayFile(const QString &path);
    void Stop();
    [[nodiscard]] const MediaPlayer &Media() const { return m_media; }
    [[nodiscard]] MediaPlayer &Media() { return m_media; }
    [[nodiscard]] int PlayCount() const { return m_playCount; }
    [[nodiscard]] QString SoundFile() const { return m_file; }
    // The sentence last cut to the working file (-1 for none).
    [[nodiscard]] int CutSentence() const { return m_cut; }

signals:
    void finished(); // the sound played to its end

private:
    MediaPlayer m_media;
    QString m_file;
    QComboBox *m_speed = nullptr;
    int m_playCount = 0;
    int m_cut = -1;
};

} // namespace mvx
