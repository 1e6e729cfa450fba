#include "player/studyrecord/StudyRecordForm.h"

#include "player/studyrecord/MinutesChart.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace mvx {

StudyRecordForm::StudyRecordForm(ListeningHistory &history, QWidget *parent) : QDialog(parent), m_history(history)
{
    setObjectName(QStringLiteral("StudyRecordForm"));
    setWindowTitle(QStringLiteral("学习记录"));
    m_lessons = new QListWidget(this);
    m_lessons->setObjectName(QStringLiteral("lsLessons"));
    m_lessons->setMinimumWidth(220);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lbSummary"));
    m_chart = new MinutesChart(this);
    m_hard = new QTreeWidget(this);
    m_hard->setObjectName(QStringLiteral("tvHardSentences"));
    m_hard->setRootIsDecorated(false);
    m_hard->setHeaderLabels({QStringLiteral("句"), QStringLiteral("重复"), QStringLiteral("查词"),
                             QStringLiteral("播放"), QStringLiteral("难度"), QStringLiteral("英文")});
    m_hard->header()->setStretchLastSection(true);
    m_hard->setToolTip(QStringLiteral("双击一句，在播放窗口里从这一句开始听"));
    auto *right = new QVBoxLayout;
    right->addWidget(m_summary);
    right->addWidget(m_chart, 2);
    right->addWidget(new QLabel(QStringLiteral("最难的句子（双击去听）："), this));
    right->addWidget(m_hard, 3);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_lessons, 1);
    layout->addLayout(right, 3);
    resize(900, 560);
    connect(m_lessons, &QListWidget::currentRowChanged, this, &StudyRecordForm::ShowLesson);
    connect(m_hard, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        const int row = m_hard->indexOfTopLevelItem(item);
        if (row >= 0 && row < m_report.hardest.size())
            emit openSentence(m_report.book, m_report.lessonNo, m_report.hardest[row].noInLesson);
    });
    FillLessons();
    if (m_lessons->count() > 0)
        m_lessons->setCurrentRow(0);
}

void StudyRecordForm::FillLessons()
{
    m_keys = m_history.Lessons();
    m_lessons->clear();
    for (const auto &k : m_keys) {
        const LessonReport r = MakeLessonReport(m_history, k.book, k.lessonNo, 0, m_now);
        const QString name = r.title.isEmpty() ? QFileInfo(k.book).completeBaseName() : r.title;
        m_lessons->addItem(QStringLiteral("%1（第 %2 课）  %3 天").arg(name).arg(k.lessonNo + 1).arg(r.DaysStudied()));
    }
}

void StudyRecordForm::SelectLesson(const QString &bookFile, int lessonNo)
{
    const QString book = ListeningHistory::BookKey(bookFile);
    for (int i = 0; i < m_keys.size(); ++i) {
        if (m_keys[i].book == book && m_keys[i].lessonNo == lessonNo) {
            m_lessons->setCurrentRow(i);
            ShowLesson(i);
            return;
        }
    }
    m_keys.append({book, lessonNo});
    m_lessons->addItem(QStringLiteral("%1（第 %2 课）  0 天").arg(QFileInfo(book).completeBaseName()).arg(lessonNo + 1));
    m_lessons->setCurrentRow(int(m_keys.size()) - 1);
}

void StudyRecordForm::ShowLesson(int row)
{
    if (row < 0 || row >= m_keys.size())
        return;
    m_report = MakeLessonReport(m_history, m_keys[row].book, m_keys[row].lessonNo, HardCountSetting(), m_now);
    m_summary->setText(QStringLiteral("%1：学了 %2 天，共 %3 分钟")
                           .arg(m_report.title.isEmpty() ? QFileInfo(m_report.book).completeBaseName() : m_report.title)
                           .arg(m_report.DaysStudied())
                           .arg(Minutes(m_report.TotalMs())));
    m_chart->SetDays(m_report.perDay, m_now.date());
    m_hard->clear();
    for (const HardSentenceRow &h : m_report.hardest) {
        // The learner counts sentences after the title line from 1.
        const int shown = m_report.hasTitle ? h.noInLesson : h.noInLesson + 1;
        auto *item = new QTreeWidgetItem(
            {QString::number(shown), QString::number(h.counts.repeats), QString::number(h.counts.lookups),
             QString::number(h.counts.plays), QString::number(h.score, 'g', 3), h.english});
        m_hard->addTopLevelItem(item);
    }
    for (int c = 0; c < 5; ++c)
        m_hard->resizeColumnToContents(c);
}

} // namespace mvx
