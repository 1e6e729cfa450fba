#include "WordSummaryForm.h"

#include "notedict/EcDictionary.h"
#include "libs/sentra/SentenceWords.h"
#include "libs/sentra/SentraBook.h"
#include "ui/Twips.h"

#include <QFileInfo>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

namespace mvx {

namespace {

QString KindText(const SummaryWord &w)
{
    if (w.keyword && w.newword)
        return QStringLiteral("关键词、生词");
    return w.keyword ? QStringLiteral("关键词") : QStringLiteral("生词");
}

// The sentence with every occurrence of word in bold.
QString StressedHtml(const QString &english, const QString &word)
{
    QString html;
    for (const sentra::SentenceWords::Piece &p : sentra::SentenceWords::split(english)) {
        const QString t = p.text.toString().toHtmlEscaped();
        html += p.isWord && p.text.compare(word, Qt::CaseInsensitive) == 0 ? QStringLiteral("<b>%1</b>").arg(t) : t;
    }
    return html;
}

} // namespace

WordSummaryForm::WordSummaryForm(QWidget *owner)
    : DrillWindow(QStringLiteral("WordSummaryForm"), owner, QStringLiteral("summarysentence.wav"))
{
    SetDesignSize(10800, 7200);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("词句联动"), 240, 90, 5000, 330);
    AddButton(QStringLiteral("btWinClose"), 10350, 75, 330, 330);
    AddLabel(QStringLiteral("lbWords"), QStringLiteral("单词（点击查看所在句子）"), 360, 600, 3300, 300);
    m_words = new QListWidget(this);
    m_words->setObjectName(QStringLiteral("lstWords"));
    m_words->setGeometry(TwipsRect(360, 930, 3300, 5850));
    m_meaning = AddLabel(QStringLiteral("lbMeaning"), QString(), 3900, 600, 6540, 900);
    m_meaning->setWordWrap(true);
    m_meaning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_sentences = new QListWidget(this);
    m_sentences->setObjectName(QStringLiteral("lstSentences"));
    m_sentences->setWordWrap(true);
    m_sentences->setGeometry(TwipsRect(3900, 1560, 6540, 5220));
    m_sentences->setToolTip(QStringLiteral("点击句子播放"));
    QWidget *speed = Sound().MakeSpeedBox(this);
    speed->setGeometry(TwipsRect(8700, 6840, 1740, 300));
    connect(m_words, &QListWidget::currentRowChanged, this, &WordSummaryForm::SelectWord);
    connect(m_sentences, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { PlaySentenceRow(m_sentences->row(item)); });
}

bool WordSummaryForm::Start(const QString &summaryFile, const QString &libFile, const QString &dictIdx,
                            const QString &dictLib, QString *error)
{
    if (!m_model.Load(summaryFile, libFile)) {
        if (error)
            *error = QStringLiteral("单词总结的临时文件无法读取。");
        return false;
    }
    if (!OpenBook(m_model.BookFile(), error))
        return false;
    if (QFileInfo::exists(dictIdx) && QFileInfo::exists(dictLib)) {
        EcDictionary dictionary;
        if (dictionary.open(dictIdx, dictLib))
            m_model.FillMeanings(dictionary);
    }
    m_words->clear();
    for (const SummaryWord &w : m_model.Words())
        m_words->addItem(QStringLiteral("%1  〔%2〕").arg(w.word, KindText(w)));
    return true;
}

void WordSummaryForm::Form_Load()
{
    if (m_words->count() > 0)
        m_words->setCurrentRow(0);
    m_words->setFocus();
}

void WordSummaryForm::SelectWord(int row)
{
    m_sentences->clear();
    if (row < 0 || row >= m_model.Words().size()) {
        m_meaning->clear();
        return;
    }
    const SummaryWord &w = m_model.Words()[row];
    m_meaning->setText(QStringLiteral("<b>%1</b>　%2").arg(w.word.toHtmlEscaped(),
                                                          (w.meaning.isEmpty() ? QStringLiteral("（没有查到解释）") : w.meaning).toHtmlEscaped()));
    for (int no : w.sentences) {
        const SummarySentence *s = m_model.Sentence(no);
        if (!s)
            continue;
        auto *item = new QListWidgetItem(m_sentences);
        item->setData(Qt::UserRole, no);
        auto *label = new QLabel(StressedHtml(s->english, w.word) + QStringLiteral("<br><span style=\"color:#606060\">")
                                     + s->chinese.toHtmlEscaped() + QStringLiteral("</span>"));
        label->setWordWrap(true);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setContentsMargins(4, 3, 4, 3);
        // The list's own width: before the window is first shown its viewport is not laid out.
        label->setFixedWidth(m_sentences->width() - 2 * m_sentences->frameWidth() - 22);
        item->setSizeHint(QSize(label->width(), label->heightForWidth(label->width())));
        m_sentences->setItemWidget(item, label);
    }
}

bool WordSummaryForm::PlaySentenceRow(int row)
{
    QListWidgetItem *item = m_sentences->item(row);
    if (!item || !Book())
        return false;
    m_sentences->setCurrentRow(row);
    return Sound().PlaySentence(*Book(), item->data(Qt::UserRole).toInt());
}

QString WordSummaryForm::MeaningText() const
{
    return m_meaning->text();
}

void WordSummaryForm::btWinClose_click()
{
    reject();
}

bool WordSummaryForm::Form_KeyDown(QKeyEvent *event)
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
