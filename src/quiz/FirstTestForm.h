#pragma once
// The comprehension quiz window: the learner listens to the article once (Play / Stop) and
// answers the quiz page shown in wbQuiz; submitting marks the answers, shows the right ones
// in lbAnswer, reports the score and keeps it as the article's last score (lbLastScore).
// The listening lives in QuizListening, the page in QuizPage, the marking in MarkQuiz; this
// widget shows them.
//
// Usage by the library window: create, Load() and show(), then OpenLesson(book, lesson) and
// LoadQuiz(quiz file, article title). Closing (btWinClose or the window system) stops and
// unloads everything and emits closed(); a close during a wait runs once the wait is over.
#include "ui/SkinnedWindow.h"

#include "libs/media/MediaPlayer.h"
#include "player/form/BookSoundSource.h"
#include "player/pages/PageEvent.h"
#include "player/playback/QtPlayerClock.h"
#include "ui/clsHtmlEventProc.h"

#include <memory>

class QLabel;

namespace mvx {

namespace pages {
class HtmlView;
}
class QuizListening;
class QuizPage;

class FirstTestForm final : public SkinnedWindow
{
    Q_OBJECT
public:
    explicit FirstTestForm(QWidget *parent = nullptr);
    ~FirstTestForm() override;

    void OpenLesson(const QString &szBookFileName, int nLessonNo);
    void LoadQuiz(const QString &szQuizFile, const QString &szTitle);
    // Marks the page as it stands now; may run any number of times.
    void ShowAnswer();

    Q_INVOKABLE void btPlay_Click();
    Q_INVOKABLE void btStop_Click();
    Q_INVOKABLE void btWinClose_click();
    // The submit inputs' sink: a mouse-down on "Submit1" / "Submit2" runs ShowAnswer.
    Q_INVOKABLE void EHtmlEventHandler();

    [[nodiscard]] QuizListening &Listening() const { return *m_listening; }
    [[nodiscard]] QuizPage &Page() const { return *m_page; }
    [[nodiscard]] pages::HtmlView *QuizView() const { return m_wbQuiz; }
    [[nodiscard]] MediaPlayer &Media() { return m_media; }
    [[nodiscard]] QString AnswerText() const;
    [[nodiscard]] QString LastScoreText() const;

signals:
    void closed();

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void RefreshButtons();

    MediaPlayer m_media; // mePlayer
    QtPlayerClock m_clock{QtPlayerClock::QuizPositionMs};
    BookSoundSource m_sounds;
    pages::HtmlView *m_wbQuiz = nullptr;
    std::unique_ptr<QuizPage> m_page;
    std::unique_ptr<QuizListening> m_listening;
    clsHtmlEventProc m_sink;
    pages::PageEvent m_event; // the page event the sink is running for
    QLabel *m_lbTitle = nullptr;
    QLabel *m_lbAnswer = nullptr;
    QLabel *m_lbLastScore = nullptr;
    QString m_bookFile;
    int m_lessonNo = -1;
    bool m_marking = false;
    bool m_closeHeld = false; // a close waits for the wait that runs
};

} // namespace mvx
