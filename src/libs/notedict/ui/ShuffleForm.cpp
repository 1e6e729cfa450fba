#include "ShuffleForm.h"

#include "libs/sentra/SentraBook.h"
#include "ui/MessageBox.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

namespace mvx {

ShuffleForm::ShuffleForm(QWidget *owner)
    : DrillWindow(QStringLiteral("ShuffleForm"), owner, QStringLiteral("shufflesentence.wav"))
{
    SetDesignSize(9600, 6600);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("单句组合"), 240, 90, 5000, 330);
    AddButton(QStringLiteral("btWinClose"), 9150, 75, 330, 330);
    m_progress = AddLabel(QStringLiteral("lbProgress"), QString(), 360, 600, 4200, 330);
    QWidget *speed = Sound().MakeSpeedBox(this);
    speed->setGeometry(TwipsRect(7500, 570, 1740, 360));
    m_chinese = AddLabel(QStringLiteral("lbChinese"), QString(), 360, 1050, 8880, 660);
    m_chinese->setWordWrap(true);
    m_chinese->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_answer = AddLabel(QStringLiteral("lbAnswer"), QString(), 360, 1800, 8880, 1050);
    m_answer->setWordWrap(true);
    m_answer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_answer->setStyleSheet(QStringLiteral("background:#FFFFFF; border:1px solid #C0C0C0; padding:4px;"));
    AddLabel(QStringLiteral("lbPool"), QStringLiteral("按句子的顺序点击下面的单词："), 360, 2970, 8880, 300);
    m_pool = new QListWidget(this);
    m_pool->setObjectName(QStringLiteral("lstPool"));
    m_pool->setFlow(QListView::LeftToRight);
    m_pool->setWrapping(true);
    m_pool->setSpacing(4);
    m_pool->setResizeMode(QListView::Adjust);
    // Each word a card to click.
    m_pool->setStyleSheet(QStringLiteral("QListWidget#lstPool::item { border:1px solid #9DB0C6; border-radius:3px;"
                                         " padding:4px 10px; margin:3px; background:#FFFFFF; color:#2F4F6F; }"
                                         "QListWidget#lstPool::item:hover { background:#EAF1F8; border-color:#3B6EA8; }"));
    m_pool->setGeometry(TwipsRect(360, 3300, 8880, 1800));
    connect(m_pool, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { PickWord(m_pool->row(item)); });
    m_feedback = AddLabel(QStringLiteral("lbFeedback"), QString(), 360, 5190, 8880, 330);
    const int top = 5820;
    AddPlainButton(QStringLiteral("btHint"), QStringLiteral("提示"), 360, top, 1320, 450);
    AddPlainButton(QStringLiteral("btReplay"), QStringLiteral("听原句"), 1770, top, 1320, 450);
    AddPlainButton(QStringLiteral("btEdit"), QStringLiteral("修改句子"), 3180, top, 1320, 450);
    AddPlainButton(QStringLiteral("btNext"), QStringLiteral("下一句"), 7920, top, 1320, 450);
}

bool ShuffleForm::Start(const QString &bookFile, int first, int count, QString *error, quint32 seed)
{
    return m_session.Open(bookFile, first, count, error, seed) && OpenBook(bookFile, error);
}

void ShuffleForm::Form_Load()
{
    if (m_session.Count() > 0)
        ShowSentence();
}

void ShuffleForm::ShowSentence()
{
    Sound().Stop();
    m_progress->setText(QStringLiteral("第 %1/%2 句").arg(m_session.Index() + 1).arg(m_session.Count()));
    m_chinese->setText(m_session.Current().chinese);
    m_feedback->clear();
    ShowWords();
}

void ShuffleForm::ShowWords()
{
    m_answer->setText(m_session.Placed().join(u' '));
    m_pool->clear();
    for (const QString &w : m_session.Pool()) {
        auto *item = new QListWidgetItem(w, m_pool);
        item->setTextAlignment(Qt::AlignCenter);
    }
}

void ShuffleForm::PickWord(int poolIndex)
{
    if (m_session.Complete())
        return;
    if (!m_session.Pick(poolIndex)) {
        m_feedback->setText(QStringLiteral("<span style=\"color:#C00000\">顺序不对，再想想。</span>"));
        return;
    }
    m_feedback->clear();
    ShowWords();
    if (m_session.Complete())
        Completed();
}

void ShuffleForm::btHint_click()
{
    if (m_session.Complete())
        return;
    m_session.Hint();
    ShowWords();
    if (m_session.Complete())
        Completed();
}

void ShuffleForm::Completed()
{
    m_answer->setText(m_session.Current().english);
    m_feedback->setText(QStringLiteral("完成！按回车或“下一句”继续。"));
    btReplay_click();
}

void ShuffleForm::btReplay_click()
{
    if (Book())
        Sound().PlaySentence(*Book(), m_session.Current().noInAll);
}

void ShuffleForm::btNext_click()
{
    if (!m_session.Complete())
        return;
    if (m_session.Next()) {
        ShowSentence();
        return;
    }
    Sound().Stop();
    ShowMessageBox(QStringLiteral("全部完成：共 %1 句，出错 %2 次。").arg(m_session.Count()).arg(m_session.Mistakes()), 1);
    accept();
}

void ShuffleForm::btEdit_click()
{
    EditSentence(m_session.Current().noInAll);
}

void ShuffleForm::SentenceCorrected(int noInAll, const QString &english, const QString &chinese)
{
    if (noInAll != m_session.Current().noInAll)
        return;
    m_session.SetTexts(english, chinese);
    ShowSentence();
}

void ShuffleForm::btWinClose_click()
{
    reject();
}

QString ShuffleForm::AnswerText() const { return m_answer->text(); }
QString ShuffleForm::FeedbackText() const { return m_feedback->text(); }
QString ShuffleForm::ChineseText() const { return m_chinese->text(); }

bool ShuffleForm::Form_KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        btNext_click();
        return true;
    }
    return false;
}

} // namespace mvx
