#include "quiz/QuizListening.h"

#include "core/WorkingFiles.h"
#include "libs/media/MediaPlayerInterface.h"
#include "libs/sentra/SentraFacade.h"
#include "player/playback/SentenceSoundSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cmath>

namespace mvx {

QuizListening::QuizListening(MediaPlayerInterface &media, SentenceSoundSource &sounds, PlayerClock &clock,
                             QString home)
    : m_media(media), m_sounds(sounds), m_clock(clock), m_home(std::move(home))
{
    m_clock.SetTimerHandler([this](PlayerTimer t) { OnTimer(t); });
}

QuizListening::~QuizListening()
{
    m_clock.SetTimerHandler({});
    m_clock.SetTimer(PlayerTimer::Position, false);
    m_clock.SetTimer(PlayerTimer::MediaReady, false);
    if (m_book >= 0)
        bcSentraBook_Close(m_book);
}

// ---- Lesson -------------------------------------------------------------------------------

bool QuizListening::OpenLesson(const QString &bookFile, int lessonNo)
{
    {
        BusyGuard busy(*this);
        if (m_book >= 0)
            bcSentraBook_Close(m_book);
        m_book = bcSentraBook_Open(bookFile, QStringLiteral("rb"));
        int first = 0;
        int count = 0;
        int hasTitle = 0;
        if (m_book < 0 || bcSentraBook_GetLessonInfo(m_book, lessonNo, &first, &count, 0, &hasTitle) != 0) {
            if (m_book >= 0)
                bcSentraBook_Close(m_book);
            m_book = -1;
            m_sentenceCount = 0;
            SetButtons(false, false);
            Message(QStringLiteral("无法打开课文：%1（第 %2 课）。\n可以直接做题。").arg(bookFile).arg(lessonNo));
            return false;
        }
        m_firstSentenceOffset = first;
        m_sentenceCount = count;
        m_firstPlayable = hasTitle != 0 ? 1 : 0;
        if (m_firstPlayable >= m_sentenceCount) {
            SetButtons(false, false);
            Message(QStringLiteral("这篇文章没有可以播放的句子。\n可以直接做题。"));
            return false;
        }
        SetCurSentence(m_firstPlayable);
        SetButtons(m_soundOpen, false);
    }
    RunDeferred();
    return m_soundOpen;
}

void QuizListening::Close()
{
    m_deferred.clear();
    m_clock.SetTimer(PlayerTimer::Position, false);
    m_clock.SetTimer(PlayerTimer::MediaReady, false);
    m_media.stop();
    if (m_book >= 0)
        bcSentraBook_Close(m_book);
    m_book = -1;
    SetButtons(false, false);
}

// ---- Sentences and their sounds -----------------------------------------------------------

void QuizListening::SetCurSentence(int n)
{
    m_curSentence = n;
    PrepareSentenceSnd(GetSentenceNoInAll(n));
}

bool QuizListening::PrepareSentenceSnd(int noInAll)
{
    BusyGuard busy(*this);
    // The back end lets go of the previous sentence's file before it is deleted.
    SetFileName(m_home + QLatin1Char('/') + WorkingFiles::BlankWav, false);
    if (!m_soundBase.isEmpty()) {
        QFile::remove(m_soundBase + QStringLiteral(".mp3"));
        QFile::remove(m_soundBase + QStringLiteral(".wav"));
    }
    QDir().mkpath(m_home + QLatin1Char('/') + WorkingFiles::AllTmpFile);
    m_soundBase = WorkingFiles::NewRandomSoundBase(m_home);
    m_sounds.MakeSentenceSound(m_book, noInAll, m_soundBase);
    m_soundOpen = SetFileName(m_soundBase + QStringLiteral(".wav"), true);
    m_sndLength = m_soundOpen ? std::max(0, int(std::lround(m_media.duration() * 1000)) - LengthTrimMs) : 0;
    m_curPos = 0;
    return m_soundOpen;
}

bool QuizListening::SetFileName(const QString &path, bool reportFailure)
{
    m_media.stop();
    if (!QFileInfo::exists(path)) {
        m_media.setURL(QString());
        if (reportFailure)
            Message(QStringLiteral("找不到这一句的声音文件：%1").arg(path));
        return false;
    }
    m_media.setURL(QUrl::fromLocalFile(path).toString());
    if (WaitForReady())
        return true;
    const QString why = m_media.errorText();
    m_media.setURL(QString());
    if (reportFailure)
        Message(QStringLiteral("声音文件打不开：%1%2").arg(path, why.isEmpty() ? QString() : QStringLiteral("\n") + why));
    return false;
}

bool QuizListening::WaitForReady()
{
    BusyGuard busy(*this);
    m_ready = false;
    m_clock.SetTimer(PlayerTimer::MediaReady, true);
    const qint64 start = m_clock.NowMs();
    while (!m_ready) {
        if (m_media.openState() == MediaPlayerInterface::MediaFailed || m_clock.NowMs() - start >= MediaTimeoutMs) {
            m_clock.SetTimer(PlayerTimer::MediaReady, false);
            return false;
        }
        m_clock.ProcessEvents();
        if (!m_ready && m_media.openState() == MediaPlayerInterface::MediaOpen)
            timerMediaReady_Timer();
    }
    return true;
}

int QuizListening::GetPosition() const
{
    return int(std::lround(m_media.currentPosition() * 1000));
}

// ---- Timers -------------------------------------------------------------------------------

void QuizListening::OnTimer(PlayerTimer timer)
{
    if (timer == PlayerTimer::MediaReady) {
        timerMediaReady_Timer();
        return;
    }
    if (timer == PlayerTimer::Position && !Waiting())
        timerPosition_Timer(); // a tick during a wait is dropped; the next one comes 20 ms later
}

void QuizListening::timerMediaReady_Timer()
{
    if (m_media.openState() != MediaPlayerInterface::MediaOpen)
        return;
    m_media.stop(); // it started by itself
    m_ready = true;
    m_clock.SetTimer(PlayerTimer::MediaReady, false);
}

void QuizListening::timerPosition_Timer()
{
    m_curPos = GetPosition();
    if (m_curPos < m_sndLength - EndMarginMs)
        return;
    if (m_curSentence < m_sentenceCount - 1) {
        SetCurSentence(m_curSentence + 1);
        if (m_stopEnabled)
            m_media.play();
    } else {
        FinishArticle();
    }
    RunDeferred();
}

// The tick is the only end step: the position stays at the duration at the natural end.
void QuizListening::FinishArticle()
{
    m_clock.SetTimer(PlayerTimer::Position, false);
    m_media.stop();
    SetButtons(true, false);
    SetCurSentence(m_firstPlayable);
    Message(QStringLiteral("文章播放完毕，请做题"));
}

// ---- Play and stop ------------------------------------------------------------------------

void QuizListening::btPlay_Click()
{
    if (!Defer(&QuizListening::DoPlay))
        DoPlay();
}

void QuizListening::btStop_Click()
{
    if (!Defer(&QuizListening::DoStop))
        DoStop();
}

void QuizListening::DoPlay()
{
    if (!m_playEnabled)
        return;
    SetButtons(false, true);
    m_media.play();
    m_clock.SetTimer(PlayerTimer::Position, true);
}

void QuizListening::DoStop()
{
    if (!m_stopEnabled)
        return;
    SetButtons(true, false);
    m_media.stop();
    m_clock.SetTimer(PlayerTimer::Position, false);
}

bool QuizListening::Waiting() const
{
    return m_busy > 0 || (m_ownerBusy && m_ownerBusy());
}

bool QuizListening::Defer(void (QuizListening::*click)())
{
    if (!Waiting())
        return false;
    m_deferred.push_back(click);
    return true;
}

void QuizListening::RunDeferred()
{
    while (!m_deferred.empty() && !Waiting()) {
        const auto click = m_deferred.front();
        m_deferred.erase(m_deferred.begin());
        (this->*click)();
    }
}

void QuizListening::SetButtons(bool play, bool stop)
{
    m_playEnabled = play;
    m_stopEnabled = stop;
    if (m_changed)
        m_changed();
}

void QuizListening::Message(const QString &text)
{
    if (m_message)
        m_message(text);
}

} // namespace mvx
