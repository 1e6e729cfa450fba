#pragma once
// The small "学习记录" window: the lessons with a record (days studied), and for the chosen
// lesson its minutes per day over the last 30 days as a bar chart and its hardest sentences
// with their counts. Activating a sentence asks for the player to open there.
#include "player/history/HistoryReport.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QTreeWidget;

namespace mvx {

class MinutesChart;

class StudyRecordForm final : public QDialog
{
    Q_OBJECT
public:
    StudyRecordForm(ListeningHistory &history, QWidget *parent = nullptr);

    // Shows the lesson (book as the player names it); lists it even before it has a record.
    void SelectLesson(const QString &bookFile, int lessonNo);
    [[nodiscard]] const LessonReport &Report() const { return m_report; }
    [[nodiscard]] MinutesChart *Chart() const { return m_chart; }
    [[nodiscard]] QTreeWidget *HardList() const { return m_hard; }
    [[nodiscard]] QListWidget *LessonList() const { return m_lessons; }
    // The day the chart ends with (today unless a test says otherwise).
    void SetToday(const QDateTime &now) { m_now = now; }

signals:
    // The learner chose sentence noInLesson of a lesson to listen to.
    void openSentence(const QString &bookFile, int lessonNo, int noInLesson);

private:
    void FillLessons();
    void ShowLesson(int row);

    ListeningHistory &m_history;
    QDateTime m_now = QDateTime::currentDateTime();
    QList<ListeningHistory::LessonKey> m_keys;
    LessonReport m_report;
    QListWidget *m_lessons = nullptr;
    QLabel *m_summary = nullptr;
    MinutesChart *m_chart = nullptr;
    QTreeWidget *m_hard = nullptr;
};

} // namespace mvx
