#pragma once
// Plays one word's sound file once (the pages' Alt+click, the dictionary's pronunciation
// button, the word-sound windows), like the old "play this wave, don't wait" call: a new
// sound replaces one still playing. It has its own voice on the shared output, so the
// lesson's player keeps its file, position and state.
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace mvx {

class AudioOutput;
class Voice;

class WordSoundPlayer final : public QObject
{
    Q_OBJECT
public:
    explicit WordSoundPlayer(QObject *parent = nullptr);
    WordSoundPlayer(AudioOutput &output, QObject *parent = nullptr);
    ~WordSoundPlayer() override;

    // The process-wide word-sound player (created on first use, owned by the application).
    static WordSoundPlayer &shared();

    // Reads the file and starts it; returns false with errorText() when it cannot be played
    // (missing, empty, not a sound). Returns at once; finished() follows the end.
    bool play(const QString &path);
    void stop();
    [[nodiscard]] bool isPlaying() const;
    [[nodiscard]] QString errorText() const { return m_error; }

signals:
    void finished();

private:
    void poll();

    AudioOutput &m_output;
    std::shared_ptr<Voice> m_voice;
    QTimer m_timer;
    QString m_error;
};

} // namespace mvx
