#include "BrowseForm.h"

#include "libs/sentra/SentraBook.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

namespace mvx {

BrowseForm::BrowseForm(QWidget *owner) : DrillWindow(QStringLiteral("BrowseForm"), owner, QStringLiteral("browsesentence.wav"))
{
    SetDesignSize(10800, 7500);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("句子浏览"), 240, 90, 5000, 330);
    AddButton(QStringLiteral("btWinClose"), 10350, 75, 330, 330);
    AddLabel(QStringLiteral("lbSentences"), QStringLiteral("句子（点击播放）"), 360, 600, 6600, 300);
    m_sentences = new QListWidget(this);
    m_sentences->setObjectName(QStringLiteral("lstSentences"));
    m_sentences->setWordWrap(true);
    m_sentences->setAlternatingRowColors(true);
    m_sentences->setSpacing(1);
    m_sentences->setGeometry(TwipsRect(360, 930, 6900, 5820));
    AddLabel(QStringLiteral("lbWords"), QStringLiteral("笔记本中的单词"), 7500, 600, 2940, 300);
    m_words = new QListWidget(this);
    m_words->setObjectName(QStringLiteral("lstWords"));
    m_words->setGeometry(TwipsRect(7500, 930, 2940, 5820));
    QWidget *speed = Sound().MakeSpeedBox(this);
    speed->setGeometry(TwipsRect(360, 6930, 1740, 330));
    AddPlainButton(QStringLiteral("btEdit"), QStringLiteral("修改句子"), 8940, 6900, 1500, 390);
    connect(m_sentences, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { PlaySentenceRow(m_sentences->row(item)); });
    connect(m_words, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { PlayWordRow(m_words->row(item)); });
}

bool BrowseForm::Start(const QString &bookFile, int first, int count, const QString &noteFile, QString *error)
{
    if (!m_model.Load(bookFile, first, count, noteFile, error) || !OpenBook(bookFile, error))
        return false;
    FillSentences();
    m_words->clear();
    for (const BrowseWord &w : m_model.Words()) {
        auto *item = new QListWidgetItem(w.meaning.isEmpty() ? w.word : QStringLiteral("%1　%2").arg(w.word, w.meaning), m_words);
        item->setToolTip(w.meaning);
    }
    if (m_model.Words().isEmpty())
        m_words->addItem(QStringLiteral("（没有单词）"));
    return true;
}

void BrowseForm::FillSentences()
{
    const int row = m_sentences->currentRow();
    m_sentences->clear();
    for (const BrowseSentence &s : m_model.Sentences()) {
        QString text = s.english;
        if (!s.chinese.isEmpty())
            text += u'\n' + s.chinese;
        if (!s.comment.isEmpty())
            text += QStringLiteral("\n注释：") + s.comment;
        auto *item = new QListWidgetItem(text, m_sentences);
        if (s.isTitle) {
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
        }
    }
    if (row >= 0)
        m_sentences->setCurrentRow(row);
}

QString BrowseForm::SentenceText(int row) const
{
    const QListWidgetItem *item = m_sentences->item(row);
    return item ? item->text() : QString();
}

bool BrowseForm::PlaySentenceRow(int row)
{
    if (row < 0 || row >= m_model.Sentences().size() || !Book())
        return false;
    m_sentences->setCurrentRow(row);
    return Sound().PlaySentence(*Book(), m_model.Sentences()[row].noInAll);
}

bool BrowseForm::PlayWordRow(int row)
{
    if (row < 0 || row >= m_model.Words().size())
        return false;
    const int no = m_model.Words()[row].noInAll;
    for (int i = 0; i < m_model.Sentences().size(); ++i)
        if (m_model.Sentences()[i].noInAll == no)
            return PlaySentenceRow(i);
    return false;
}

void BrowseForm::btEdit_click()
{
    const int row = std::max(0, m_sentences->currentRow());
    if (row < m_model.Sentences().size())
        EditSentence(m_model.Sentences()[row].noInAll);
}

void BrowseForm::SentenceCorrected(int noInAll, const QString &english, const QString &chinese)
{
    m_model.SetTexts(noInAll, english, chinese);
    FillSentences();
}

void BrowseForm::btWinClose_click()
{
    reject();
}

bool BrowseForm::Form_KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        PlaySentenceRow(std::max(0, m_sentences->currentRow()));
        return true;
    }
    return false;
}

} // namespace mvx
