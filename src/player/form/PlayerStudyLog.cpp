#include "player/form/PlayerStudyLog.h"

#include "player/playback/PageSide.h"
#include "player/playback/PlaybackController.h"
#include "player/studyrecord/StudyRecordForm.h"

namespace mvx {

PlayerStudyLog::PlayerStudyLog(PlaybackController &controller, PageSide &pages, QObject *parent)
    : QObject(parent), m_controller(controller), m_pages(pages)
{
    m_tick.setInterval(TickMs);
    connect(&m_tick, &QTimer::timeout, this, &PlayerStudyLog::Tick);
    connect(&m_controller, &PlaybackController::sentenceHeard, this, [this](int noInAll, bool repeated) {
        if (m_recorder)
            m_recorder->Heard(noInAll, repeated ? ListeningHistory::Heard::Repeated : ListeningHistory::Heard::Played,
                              QDateTime::currentDateTime());
    });
}

PlayerStudyLog::~PlayerStudyLog()
{
    Stop();
}

void PlayerStudyLog::Start()
{
    if (m_history)
        return;
    m_history = std::make_unique<ListeningHistory>(ListeningHistory::DefaultPath());
    m_recorder = std::make_unique<StudyRecorder>(*m_history);
    m_clock.start();
    m_tick.start();
    if (!m_history->Notice().isEmpty()) {
        const QString notice = m_history->Notice();
        QTimer::singleShot(0, this, [this, notice] { emit message(notice); });
    }
}

void PlayerStudyLog::Stop()
{
    m_tick.stop();
    if (m_record)
        m_record->close();
    if (m_recorder)
        m_recorder->Close();
    m_recorder.reset();
    m_history.reset();
    m_hardOnly = false;
}

void PlayerStudyLog::LessonOpened()
{
    if (!m_recorder)
        return;
    const bool open = m_controller.PlayStatus() != NoLesson;
    if (!open || ListeningHistory::BookKey(m_controller.BookFile()) != m_recorder->Book()
        || m_controller.LessonNo() != m_recorder->LessonNo())
        m_recorder->SetLesson(open ? m_controller.BookFile() : QString(), open ? m_controller.LessonNo() : -1);
    if (m_hardOnly && open)
        SetHardOnly(true);
}

void PlayerStudyLog::CountLookup(int noInAll)
{
    if (m_recorder)
        m_recorder->Heard(noInAll, ListeningHistory::Heard::LookedUp, QDateTime::currentDateTime());
}

void PlayerStudyLog::Tick()
{
    if (!m_recorder)
        return;
    const int s = m_controller.PlayStatus();
    const bool listening = (s == Playing || s == Repeating || s == AutoRepeating) && !m_controller.Paused();
    m_recorder->Tick(m_clock.elapsed(), listening, QDate::currentDate());
}

QList<int> PlayerStudyLog::HardSentences()
{
    if (!m_history || m_controller.PlayStatus() == NoLesson)
        return {};
    const LessonReport r = MakeLessonReport(*m_history, ListeningHistory::BookKey(m_controller.BookFile()),
                                            m_controller.LessonNo(), HardCountSetting(), QDateTime::currentDateTime());
    QList<int> out;
    for (const HardSentenceRow &h : r.hardest)
        out << h.noInLesson;
    return out;
}

bool PlayerStudyLog::SetHardOnly(bool on)
{
    const QList<int> hard = on ? HardSentences() : QList<int>();
    if (on && hard.isEmpty()) {
        emit message(QStringLiteral("这一课还没有难句：多听、多复读、多查词之后，这里会列出你最常重复的句子。"));
        on = false;
    }
    m_hardOnly = on;
    m_controller.SetSentenceFilter(hard);
    m_pages.MarkHardSentences(hard);
    return on;
}

StudyRecordForm *PlayerStudyLog::ShowRecord(QWidget *parent)
{
    if (!m_history)
        return nullptr;
    m_history->Flush();
    if (!m_record) {
        m_record = new StudyRecordForm(*m_history, parent);
        m_record->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_record, &StudyRecordForm::openSentence, this, &PlayerStudyLog::openSentence);
    }
    if (m_controller.PlayStatus() != NoLesson)
        m_record->SelectLesson(m_controller.BookFile(), m_controller.LessonNo());
    m_record->show();
    m_record->raise();
    return m_record;
}

} // namespace mvx
