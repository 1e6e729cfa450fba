#include "libs/media/MediaPlayer.h"

#include "libs/media/AudioOutput.h"
#include "libs/media/DecodedSound.h"
#include "libs/media/Voice.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QThreadPool>
#include <QUrl>

#include <cmath>

namespace mvx {

namespace {

// The player hands over "file:///" followed by a path as it is, which may hold spaces, '#'
// or '%' that a URL parser would take apart; a properly encoded file URL works as well.
QString localPathOf(const QString &url)
{
    if (!url.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return url;
    QString raw = url.mid(5);
    while (raw.startsWith(QLatin1String("//")))
        raw.remove(0, 1);
    raw.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString parsed = QUrl(url).toLocalFile();
    if (!parsed.isEmpty() && QFileInfo::exists(parsed))
        return parsed;
    return raw;
}

} // namespace

MediaPlayer::MediaPlayer(QObject *parent)
    : MediaPlayer(AudioOutput::shared(), parent)
{
}

MediaPlayer::MediaPlayer(AudioOutput &output, QObject *parent)
    : QObject(parent), m_output(output), m_voice(std::make_shared<Voice>(AudioOutput::kSampleRate))
{
    m_output.addVoice(m_voice);
    m_endTimer.setInterval(10);
    connect(&m_endTimer, &QTimer::timeout, this, &MediaPlayer::pollEnd);
}

MediaPlayer::~MediaPlayer()
{
    m_output.removeVoice(m_voice);
}

void MediaPlayer::setURL(const QString &url)
{
    {
        std::lock_guard lock(m_output.mutex());
        m_voice->setSound(nullptr);
    }
    m_endTimer.stop();
    m_playRequested = false;
    ++m_generation;
    m_url = url;
    if (url.trimmed().isEmpty()) {
        // Closing keeps the last open's error, so a caller can close first and then report.
        m_path.clear();
        setOpenState(MediaClosed);
        return;
    }
    m_error.clear();
    m_path = localPathOf(url);
    setOpenState(MediaOpening);

    // Decoding runs off the window thread; the result comes back through the event loop and
    // is dropped if another file was opened meanwhile or this player is gone.
    const quint64 generation = m_generation;
    const QString path = m_path;
    QPointer<MediaPlayer> self(this);
    QThreadPool::globalInstance()->start([self, generation, path] {
        QString error;
        std::shared_ptr<const DecodedSound> sound = DecodedSound::load(path, &error);
        QObject *app = QCoreApplication::instance();
        if (!app)
            return; // the program is closing
        QMetaObject::invokeMethod(
            app,
            [self, generation, sound = std::move(sound), error] {
                if (self)
                    self->finishOpen(generation, sound, error);
            },
            Qt::QueuedConnection);
    });
}

void MediaPlayer::finishOpen(quint64 generation, std::shared_ptr<const DecodedSound> sound,
                             const QString &error)
{
    if (generation != m_generation)
        return;
    if (!sound) {
        m_error = error;
        setOpenState(MediaFailed);
        emit errorOccurred(m_error);
        return;
    }
    {
        std::lock_guard lock(m_output.mutex());
        m_voice->setSound(std::move(sound));
        m_voice->setRate(m_rate, AudioOutput::now());
    }
    setOpenState(MediaOpen);
    // A slot connected to openStateChanged may already have opened another file.
    if (generation == m_generation && m_openState == MediaOpen && (m_autoStart || m_playRequested))
        play();
}

void MediaPlayer::setOpenState(int state)
{
    if (state == m_openState)
        return;
    m_openState = state;
    emit openStateChanged(state);
}

QString MediaPlayer::URL() const
{
    return m_url;
}

int MediaPlayer::openState() const
{
    return m_openState;
}

void MediaPlayer::play()
{
    if (m_openState == MediaOpening) {
        m_playRequested = true;
        return;
    }
    if (m_openState != MediaOpen)
        return;
    {
        std::lock_guard lock(m_output.mutex());
        m_voice->play(AudioOutput::now());
    }
    m_endReported = false;
    m_endTimer.start();
}

void MediaPlayer::stop()
{
    m_playRequested = false;
    m_endTimer.stop();
    std::lock_guard lock(m_output.mutex());
    m_voice->stop();
}

void MediaPlayer::pause()
{
    m_playRequested = false;
    m_endTimer.stop();
    std::lock_guard lock(m_output.mutex());
    m_voice->pause(AudioOutput::now());
}

double MediaPlayer::currentPosition() const
{
    std::lock_guard lock(m_output.mutex());
    return m_voice->position(AudioOutput::now());
}

void MediaPlayer::setCurrentPosition(double seconds)
{
    std::lock_guard lock(m_output.mutex());
    m_voice->seek(seconds, AudioOutput::now());
}

double MediaPlayer::duration() const
{
    std::lock_guard lock(m_output.mutex());
    return m_voice->duration();
}

void MediaPlayer::setRate(double rate)
{
    if (!std::isfinite(rate) || rate <= 0)
        return;
    m_rate = rate;
    std::lock_guard lock(m_output.mutex());
    m_voice->setRate(rate, AudioOutput::now());
}

void MediaPlayer::setAutoStart(bool autoStart)
{
    m_autoStart = autoStart;
}

QString MediaPlayer::errorText() const
{
    return m_error;
}

MediaPlayer::PlayState MediaPlayer::playState() const
{
    if (m_openState == MediaOpening && m_playRequested)
        return Playing;
    if (m_openState != MediaOpen)
        return Undefined;
    std::lock_guard lock(m_output.mutex());
    switch (m_voice->state(AudioOutput::now())) {
    case Voice::State::Playing:
        return Playing;
    case Voice::State::Paused:
        return Paused;
    case Voice::State::Ended:
        return MediaEnded;
    case Voice::State::Stopped:
        return Stopped;
    case Voice::State::Empty:
        break;
    }
    return Undefined;
}

void MediaPlayer::pollEnd()
{
    m_output.checkDevice();
    if (playState() != MediaEnded) {
        if (playState() != Playing)
            m_endTimer.stop();
        return;
    }
    m_endTimer.stop();
    if (!m_endReported) {
        m_endReported = true;
        emit endOfStream();
    }
}

} // namespace mvx
