#pragma once
// The player's side of the listening history: records what the learner hears and looks up
// (StudyRecorder over the per-user history file), ticks the study time while a sentence
// sounds, switches "只听难句" (navigation and automatic repeat through the lesson's hardest
// sentences, marked in the page margin) and opens the "学习记录" window.
#include "player/history/StudyRecorder.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

class QWidget;

namespace mvx {

class PageSide;
class PlaybackController;
class StudyRecordForm;

class PlayerStudyLog final : public QObject
{
    Q_OBJECT
public:
    static constexpr int TickMs = 250;

    PlayerStudyLog(PlaybackController &controller, PageSide &pages, QObject *parent = nullptr);
    ~PlayerStudyLog() override;

    // The window was loaded / is unloading: opens / writes and closes the history file.
    void Start();
    void Stop();
    // A lesson was opened (or closed): the record follows it, "只听难句" is applied again.
    void LessonOpened();
    void CountLookup(int noInAll);

    // Switches "只听难句". Returns whether it is on afterwards (off when the lesson has no
    // hard sentence yet: the learner is told so).
    bool SetHardOnly(bool on);
    [[nodiscard]] bool HardOnly() const { return m_hardOnly; }
    // The "学习记录" window over this history, showing the open lesson.
    StudyRecordForm *ShowRecord(QWidget *parent);
    [[nodiscard]] ListeningHistory *History() const { return m_history.get(); }

signals:
    void message(const QString &text);
    // The record window asked for a sentence of another lesson (or of this one).
    void openSentence(const QString &bookFile, int lessonNo, int noInLesson);

private:
    void Tick();
    [[nodiscard]] QList<int> HardSentences();

    PlaybackController &m_controller;
    PageSide &m_pages;
    std::unique_ptr<ListeningHistory> m_history;
    std::unique_ptr<StudyRecorder> m_recorder;
    QTimer m_tick;
    QElapsedTimer m_clock;
    bool m_hardOnly = false;
    QPointer<StudyRecordForm> m_record;
};

} // namespace mvx
