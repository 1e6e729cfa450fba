#pragma once
// The media back end of the lesson player and the quiz: opens one sound file at a time
// (WAV, MP3 and whatever else libsndfile reads), plays it through the shared sound output
// with the rate applied and the pitch kept, and reports the position the learner hears.
//
// Contract (positions and durations in seconds):
// - setURL() returns at once with openState() == MediaOpening; the file is decoded off the
//   window thread and MediaOpen (or MediaFailed with errorText()) is reached through the
//   event loop. With autoStart the file starts playing once open. An empty URL closes
//   (MediaClosed) and keeps errorText() of the last open.
// - stop() puts the position at 0, pause() keeps it; at the natural end the position stays at
//   the duration and endOfStream() is emitted.
// - Opening another file stops the current one first; every open reads the file afresh.
// - Without a sound device the player still works, silently (see AudioOutput::notice()).
#include "libs/media/MediaPlayerInterface.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace mvx {

class AudioOutput;
class DecodedSound;
class Voice;

class MediaPlayer final : public QObject, public MediaPlayerInterface
{
    Q_OBJECT
public:
    // Play states under the old control's numbers (read by callers for information only).
    enum PlayState { Undefined = 0, Stopped = 1, Paused = 2, Playing = 3, MediaEnded = 8 };

    // Plays through the process-wide AudioOutput::shared() unless an output is given.
    explicit MediaPlayer(QObject *parent = nullptr);
    MediaPlayer(AudioOutput &output, QObject *parent = nullptr);
    ~MediaPlayer() override;

    void setURL(const QString &url) override;
    [[nodiscard]] QString URL() const override;
    [[nodiscard]] int openState() const override;
    void play() override;
    void stop() override;
    void pause() override;
    [[nodiscard]] double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    [[nodiscard]] double duration() const override;
    void setRate(double rate) override;
    void setAutoStart(bool autoStart) override;
    [[nodiscard]] QString errorText() const override;

    [[nodiscard]] double rate() const { return m_rate; }
    [[nodiscard]] bool autoStart() const { return m_autoStart; }
    [[nodiscard]] PlayState playState() const;
    // Kept for the old control's "invisible" mode; this back end never shows anything.
    void setUiMode(const QString &mode) { m_uiMode = mode; }
    [[nodiscard]] QString uiMode() const { return m_uiMode; }
    // Local file path of the open file ("" when none).
    [[nodiscard]] QString filePath() const { return m_path; }

signals:
    void openStateChanged(int state);
    void endOfStream();
    void errorOccurred(const QString &message);

private:
    void finishOpen(quint64 generation, std::shared_ptr<const DecodedSound> sound, const QString &error);
    void setOpenState(int state);
    void pollEnd();

    AudioOutput &m_output;
    std::shared_ptr<Voice> m_voice;
    QTimer m_endTimer;
    QString m_url;
    QString m_path;
    QString m_uiMode;
    QString m_error;
    int m_openState = MediaClosed;
    quint64 m_generation = 0;
    double m_rate = 1.0;
    bool m_autoStart = false;
    bool m_playRequested = false; // play() came while the file was still opening
    bool m_endReported = false;
};

} // namespace mvx
