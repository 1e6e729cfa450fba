#include "quiz/FirstTestForm.h"

#include "core/AppState.h"
#include "player/pages/HtmlView.h"
#include "player/pages/LessonWebPage.h"
#include "player/pages/PageBridge.h"
#include "quiz/QuizListening.h"
#include "quiz/QuizPage.h"
#include "quiz/QuizScores.h"
#include "quiz/QuizScoring.h"
#include "ui/MessageBox.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QTimer>

namespace mvx {

namespace {

constexpr int kDesignWidth = 10500;
constexpr int kDesignHeight = 8700;
constexpr int kRetryMs = 20; // a submit that came during a wait runs after it

QString HomeFolder()
{
    return App().appPath.isEmpty() ? QDir::currentPath() : App().appPath;
}

} // namespace

FirstTestForm::FirstTestForm(QWidget *parent) : SkinnedWindow(QStringLiteral("FirstTestForm"), false, parent)
{
    setWindowFlag(Qt::Window);
    SetDesignSize(kDesignWidth, kDesignHeight);
    const QString home = HomeFolder();
    m_lbTitle = AddLabel(QStringLiteral("lbTitle"), QStringLiteral("初听练习"), 300, 90, 8500, 330);
    AddButton(QStringLiteral("btWinMin"), kDesignWidth - 900, 75, 330, 330);
    AddButton(QStringLiteral("btWinClose"), kDesignWidth - 480, 75, 330, 330);
    auto *label1 = AddLabel(QStringLiteral("Label1"), QStringLiteral("请先点击播放按钮听一遍文章，然后做题。最好只听一遍文章。"),
                            300, 630, 6600, 330);
    label1->setWordWrap(true);
    AddButton(QStringLiteral("btPlay"), 7200, 570, 1350, 480);
    AddButton(QStringLiteral("btStop"), 8700, 570, 1350, 480);
    m_lbLastScore = AddLabel(QStringLiteral("lbLastScore"), QString(), 300, 1020, 6600, 300);

    m_wbQuiz = new pages::HtmlView(this);
    m_wbQuiz->setObjectName(QStringLiteral("wbQuiz"));
    m_wbQuiz->setGeometry(TwipsRect(300, 1440, kDesignWidth - 600, 6150));
    m_page = std::make_unique<QuizPage>(*m_wbQuiz, home);
    // The view shows its own page and nothing else: links, submits and "vantrel" addresses
    // are cancelled and nothing is opened outside.
    m_wbQuiz->lessonPage()->policy().setOnlyFile(m_page->PageFile());
    m_wbQuiz->lessonPage()->setExternalOpener({});

    m_lbAnswer = AddLabel(QStringLiteral("lbAnswer"), QString(), 300, 7710, kDesignWidth - 600, 750);
    m_lbAnswer->setWordWrap(true);
    m_lbAnswer->setTextFormat(Qt::PlainText);
    m_lbAnswer->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_listening = std::make_unique<QuizListening>(m_media, m_sounds, m_clock, home);
    m_listening->SetMessageHandler([](const QString &text) { ShowMessageBox(text, 1); });
    m_listening->SetChangedHandler([this] { RefreshButtons(); });
    m_listening->SetOwnerBusy([this] { return m_wbQuiz->isWaiting(); });

    // The sink runs after the web channel's own delivery has returned: reading the page back
    // from inside that delivery would wait for an answer that cannot come until it returns.
    connect(m_wbQuiz->bridge(), &pages::PageBridge::eventPosted, this, [this](const pages::PageEvent &event) {
        if (event.sink != QLatin1String(QuizPage::SinkName))
            return;
        QTimer::singleShot(0, this, [this, event] {
            m_event = event;
            m_sink.Invoke();
        });
    });
}

FirstTestForm::~FirstTestForm()
{
    m_listening.reset(); // before the media and the clock it uses
}

void FirstTestForm::Form_Load()
{
    m_media.setAutoStart(true);
    m_media.setUiMode(QStringLiteral("invisible"));
    setWindowTitle(App().mainCaption);
    m_sink.Set_Destination(this, QStringLiteral("EHtmlEventHandler"));
    RefreshButtons();
}

void FirstTestForm::Form_Unload()
{
    m_sink.Set_Destination(nullptr, QString());
    m_listening->Close(); // timers, player, book
    emit closed();
}

void FirstTestForm::OpenLesson(const QString &szBookFileName, int nLessonNo)
{
    m_bookFile = szBookFileName;
    m_lessonNo = nLessonNo;
    m_lbLastScore->setText(QuizScores::LastScoreText(szBookFileName, nLessonNo));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_listening->OpenLesson(szBookFileName, nLessonNo);
    QApplication::restoreOverrideCursor();
}

void FirstTestForm::LoadQuiz(const QString &szQuizFile, const QString &szTitle)
{
    m_lbTitle->setText(QStringLiteral("初听练习 - ") + szTitle);
    const QString message = m_page->LoadQuiz(szQuizFile, szTitle);
    m_listening->RunDeferred();
    if (!message.isEmpty())
        ShowMessageBox(message, 1);
}

void FirstTestForm::btPlay_Click()
{
    m_listening->btPlay_Click();
}

void FirstTestForm::btStop_Click()
{
    m_listening->btStop_Click();
}

void FirstTestForm::btWinClose_click()
{
    // A close that comes while a sentence's sound or the page is being waited for (or while a
    // message of that wait is up) is held: the wait still works on this window. It is carried
    // out as soon as the wait is over.
    if (m_listening->IsBusy() || m_wbQuiz->isWaiting() || QApplication::activeModalWidget()) {
        if (!m_closeHeld) {
            m_closeHeld = true;
            QTimer::singleShot(kRetryMs, this, [this] {
                m_closeHeld = false;
                if (IsLoaded())
                    btWinClose_click();
            });
        }
        return;
    }
    reject(); // unloads (see SkinnedWindow)
}

void FirstTestForm::EHtmlEventHandler()
{
    if (m_event.type != QLatin1String("mousedown") || m_event.srcTag != QLatin1String("INPUT")
        || (m_event.srcName != QLatin1String("Submit1") && m_event.srcName != QLatin1String("Submit2")))
        return;
    ShowAnswer();
}

void FirstTestForm::ShowAnswer()
{
    if (m_marking)
        return; // a second submit while the score is shown
    if (m_listening->IsBusy() || m_wbQuiz->isWaiting()) {
        // A sentence is being prepared: mark once that wait is over.
        QTimer::singleShot(kRetryMs, this, [this] {
            if (IsLoaded())
                ShowAnswer();
        });
        return;
    }
    m_marking = true;
    const QString key = m_page->AnswerKey();
    const QuizMarks marks = MarkQuiz(key, m_page->Answers(int(key.size())));
    m_listening->RunDeferred();
    m_lbAnswer->setText(marks.answerLine);
    if (marks.hasScore)
        QuizScores::Save(m_bookFile, m_lessonNo, marks.scoreText, QDateTime::currentDateTime());
    ShowMessageBox(marks.message, 1);
    m_marking = false;
}

QString FirstTestForm::AnswerText() const
{
    return m_lbAnswer->text();
}

QString FirstTestForm::LastScoreText() const
{
    return m_lbLastScore->text();
}

void FirstTestForm::RefreshButtons()
{
    if (CInterface *skin = Skin()) {
        skin->EnableButton(QStringLiteral("btPlay"), m_listening->PlayEnabled());
        skin->EnableButton(QStringLiteral("btStop"), m_listening->StopEnabled());
    }
}

} // namespace mvx
