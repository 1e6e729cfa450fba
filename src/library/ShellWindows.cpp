#include "ShellWindows.h"

#include "ArticleForm.h"
#include "CopyWordSndForm.h"
#include "ProgramShell.h"
#include "core/AppState.h"
#include "dialogs/IeVersionForm.h"
#include "dialogs/Notices.h"
#include "libs/notedict/NoteDictLib.h"
#include "libs/notedict/ui/NoteDictWindows.h"
#include "quiz/FirstTestForm.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <cstdio>

namespace mvx {

namespace {

// With MVX_REPORT_LIBRARY_SHOWN set, the program prints "library-shown" once the library
// window has painted itself and quits: start-up timing for the benchmark.
class ShownReporter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_reported) {
            m_reported = true;
            std::fputs("library-shown\n", stdout);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_reported = false;
};

} // namespace

ShellWindows::ShellWindows() = default;

ShellWindows::~ShellWindows()
{
    SetMessageBoxHome(nullptr);
}

bool ShellWindows::askYesNo(const QString &text)
{
    return QMessageBox::question(nullptr, App().productTitle, text) == QMessageBox::Yes;
}

void ShellWindows::showMessage(const QString &text)
{
    ShowMessageBox(text, 1);
}

void ShellWindows::showBrowserNotice()
{
    IeVersionForm form;
    form.exec();
}

void ShellWindows::checkNewMessages()
{
    CheckNewMessages();
}

void ShellWindows::showCopyWordSndForm()
{
    CopyWordSndForm form;
    form.Load();
    form.exec();
}

void ShellWindows::showArticleForm()
{
    // Learning in full opens the lesson player; closing it (or the quiz) shows the library again.
    ArticleForm::Destinations destinations;
    destinations.player = [](QWidget *library, const QString &bookFile, int lessonNo) {
        return OpenLessonPlayer(library, bookFile, lessonNo, -1);
    };
    destinations.playerAt = &OpenLessonPlayer;
    // The first listening opens the quiz; it is shown before the lesson and the quiz are
    // loaded, so their messages always have a window behind them.
    destinations.quiz = [](QWidget *library, const QString &bookFile, int lessonNo, const QString &quizFile,
                           const QString &title) {
        QPointer<FirstTestForm> quiz = new FirstTestForm();
        quiz->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(quiz, &FirstTestForm::closed, library, [library] { library->show(); });
        quiz->Load();
        quiz->show();
        if (quiz)
            quiz->OpenLesson(bookFile, lessonNo);
        if (quiz)
            quiz->LoadQuiz(quizFile, title);
        return true;
    };
    // The closing test: the spelling window at level 8 with its score; a range it cannot
    // test has been explained by then.
    destinations.spellTest = [](QWidget *library, const QString &bookFile, int first, int count) {
        if (bcSpell_InitEx(library, bookFile, first, count, 8, QStringLiteral("brxspecial_note")))
            bcSpell_LoadAndShowForTest(0);
        return true;
    };
    ArticleForm::SetDestinations(destinations);
    m_library = std::make_unique<ArticleForm>();
    // The library is the program's last window: when it closes (its leave actions) the
    // program ends, and it owns the messages shown while every window is hidden.
    QObject::connect(m_library.get(), &QDialog::finished, qApp, &QCoreApplication::quit);
    SetMessageBoxHome(m_library.get());
    m_library->Load();
    if (qEnvironmentVariableIsSet("MVX_REPORT_LIBRARY_SHOWN"))
        m_library->installEventFilter(new ShownReporter(m_library.get()));
    m_soundNotice.OpenOutputAfterFirstPaint(m_library.get());
    m_library->show();
}

} // namespace mvx
