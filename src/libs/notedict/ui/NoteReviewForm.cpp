#include "NoteReviewForm.h"

#include "ui/MessageBox.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mvx {

namespace {
NoteReviewForm::Clock g_clock;

using Grade = ReviewSchedule::Grade;
const Grade kGrades[] = {Grade::Again, Grade::Hard, Grade::Good, Grade::Easy};
const char *const kGradeButtons[] = {"btAgain", "btHard", "btGood", "btEasy"};

QLabel *MakeLabel(QWidget *parent, const char *name, int pointSize, bool bold)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont f = label->font();
    if (pointSize > 0)
        f.setPointSize(pointSize);
    f.setBold(bold);
    label->setFont(f);
    return label;
}
} // namespace

void NoteReviewForm::SetClock(Clock clock)
{
    g_clock = std::move(clock);
}

QDateTime NoteReviewForm::now()
{
    return g_clock ? g_clock() : QDateTime::currentDateTime();
}

NoteReviewForm::NoteReviewForm(QWidget *owner) : SkinnedWindow(QStringLiteral("NoteReviewForm"), true, owner)
{
    SetTitleBandHeight(450);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("复习单词"), 150, 60, 6000, 330);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 40, 16, 12);
    m_remaining = MakeLabel(this, "lbRemaining", 0, false);
    m_remaining->setAlignment(Qt::AlignRight);
    layout->addWidget(m_remaining);
    m_word = MakeLabel(this, "lbWord", 26, true);
    layout->addWidget(m_word);
    m_phonetic = MakeLabel(this, "lbPhonetic", 13, false);
    layout->addWidget(m_phonetic);
    m_meaning = MakeLabel(this, "lbMeaning", 13, false);
    layout->addWidget(m_meaning, 1);
    m_example = MakeLabel(this, "lbExample", 0, false);
    layout->addWidget(m_example);
    auto *row = new QHBoxLayout;
    auto *play = new QPushButton(QStringLiteral("发音 (R)"), this);
    play->setObjectName(QStringLiteral("btPlay"));
    play->setAutoDefault(false);
    connect(play, &QPushButton::clicked, this, [this] { DispatchClick(QStringLiteral("btPlay")); });
    row->addWidget(play);
    m_show = new QPushButton(QStringLiteral("显示答案"), this);
    m_show->setObjectName(QStringLiteral("btShowAnswer"));
    m_show->setAutoDefault(false);
    connect(m_show, &QPushButton::clicked, this, [this] { DispatchClick(QStringLiteral("btShowAnswer")); });
    row->addWidget(m_show, 1);
    for (const char *name : kGradeButtons) {
        auto *b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        const QString method = QLatin1String(name);
        connect(b, &QPushButton::clicked, this, [this, method] { DispatchClick(method); });
        row->addWidget(b);
        m_grades << b;
    }
    layout->addLayout(row);
    resize(560, 380);
}

int NoteReviewForm::loadNotebook(const QString &noteFile, const QString &libFile, const QString &rangeText)
{
    const int n = m_model.load(noteFile, libFile, rangeText, now());
    showWord(false);
    return n;
}

void NoteReviewForm::showWord(bool speak)
{
    const bool has = m_model.hasWord();
    const bool revealed = has && m_model.revealed();
    m_remaining->setText(has ? m_model.remainingText() : QString());
    m_word->setText(has ? m_model.current().word : NoteReviewModel::NoneDueMessage());
    m_phonetic->setText(revealed ? m_model.phonetic() : QString());
    m_meaning->setText(revealed ? m_model.current().meaning : QString());
    m_example->setText(revealed ? m_model.current().example : QString());
    m_show->setVisible(has && !revealed);
    for (int i = 0; i < m_grades.size(); ++i) {
        m_grades[i]->setText(QStringLiteral("%1 %2").arg(i + 1).arg(m_model.gradeCaption(kGrades[i])));
        m_grades[i]->setVisible(revealed);
    }
    if (speak && has)
        btPlay_click();
}

void NoteReviewForm::btShowAnswer_click()
{
    m_model.reveal();
    showWord(false);
}

void NoteReviewForm::btPlay_click()
{
    if (!m_model.hasWord())
        return;
    m_spoken.prepend(m_model.current().word);
    m_speaker.speak(m_model.current().word);
}

void NoteReviewForm::grade(ReviewSchedule::Grade g)
{
    if (!m_model.revealed())
        return;
    if (!m_model.answer(g, now())) {
        ShowMessageBox(m_model.errorText(), 1);
        return;
    }
    showWord(true);
}

void NoteReviewForm::btAgain_click() { grade(Grade::Again); }
void NoteReviewForm::btHard_click() { grade(Grade::Hard); }
void NoteReviewForm::btGood_click() { grade(Grade::Good); }
void NoteReviewForm::btEasy_click() { grade(Grade::Easy); }

void NoteReviewForm::btWinClose_click()
{
    accept();
}

bool NoteReviewForm::Form_KeyDown(QKeyEvent *event)
{
    Grade g{};
    if (event->key() == Qt::Key_Escape) {
        btWinClose_click();
    } else if (event->key() == Qt::Key_Space) {
        btShowAnswer_click();
    } else if (event->key() == Qt::Key_R) {
        btPlay_click();
    } else if (event->key() >= Qt::Key_1 && event->key() <= Qt::Key_4
               && ReviewSchedule::gradeOfKey(event->key() - Qt::Key_0, g)) {
        grade(g);
    } else {
        return false;
    }
    return true;
}

} // namespace mvx
