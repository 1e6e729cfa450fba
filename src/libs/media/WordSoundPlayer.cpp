#include "libs/media/WordSoundPlayer.h"

#include "libs/media/AudioOutput.h"
#include "libs/media/DecodedSound.h"
#include "libs/media/Voice.h"

#include <QCoreApplication>
#include <QPointer>

namespace mvx {

WordSoundPlayer::WordSoundPlayer(QObject *parent)
    : WordSoundPlayer(AudioOutput::shared(), parent)
{
}

WordSoundPlayer::WordSoundPlayer(AudioOutput &output, QObject *parent)
    : QObject(parent), m_output(output), m_voice(std::make_shared<Voice>(AudioOutput::kSampleRate))
{
    m_output.addVoice(m_voice);
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &WordSoundPlayer::poll);
}

WordSoundPlayer::~WordSoundPlayer()
{
    m_output.removeVoice(m_voice);
}

WordSoundPlayer &WordSoundPlayer::shared()
{
    static QPointer<WordSoundPlayer> instance;
    if (!instance)
        instance = new WordSoundPlayer(QCoreApplication::instance());
    return *instance;
}

bool WordSoundPlayer::play(const QString &path)
{
    stop();
    m_error.clear();
    // Word sounds last a second or two: reading them here is quicker than a round trip.
    auto sound = DecodedSound::load(path, &m_error);
    if (!sound)
        return false;
    {
        std::lock_guard lock(m_output.mutex());
        m_voice->setSound(std::move(sound));
        m_voice->play(AudioOutput::now());
    }
    m_timer.start();
    return true;
}

void WordSoundPlayer::stop()
{
    const bool wasPlaying = m_timer.isActive();
    m_timer.stop();
    {
        std::lock_guard lock(m_output.mutex());
        m_voice->setSound(nullptr);
    }
    if (wasPlaying)
        emit finished();
}

bool WordSoundPlayer::isPlaying() const
{
    std::lock_guard lock(m_output.mutex());
    return m_voice->state(AudioOutput::now()) == Voice::State::Playing;
}

void WordSoundPlayer::poll()
{
    m_output.checkDevice();
    if (isPlaying())
        return;
    m_timer.stop();
    {
        std::lock_guard lock(m_output.mutex());
        m_voice->setSound(nullptr);
    }
    emit finished();
}

} // namespace mvx
