// The quiz window with the real media back end (SDL's dummy driver), the real HTML view and a
// real book: listening to the end, options clicked and submitted in the page, the score and
// the last score, a missing or refused quiz, a view that loads nothing but its page, and
// closing.
#include "SentraFixtures.h"

#include "core/AppState.h"
#include "core/UserSettings.h"
#include "player/pages/HtmlView.h"
#include "player/pages/LessonWebPage.h"
#include "quiz/FirstTestForm.h"
#include "quiz/QuizListening.h"
#include "quiz/QuizPage.h"
#include "ui/MessageBox.h"
#include "ui/SkinImage.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

using namespace mvx;

namespace {

const QByteArray Quiz = "title: Rain\n"
                        "[question]\ntype: truefalse\ntext: The rain came early.\nzh: 雨来得早。\nanswer: T\n"
                        "[question]\ntype: choice\ntext: What is it a sign of?\nA: A bad year.\nB: A good year.\nanswer: B\n"
                        "[question]\ntype: truefalse\ntext: Rice prices went up.\nanswer: F\n";

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestQuizWindow : public QObject
{
    Q_OBJECT

    QString m_home;
    QString m_book;
    QStringList m_messages;

    QVariant js(FirstTestForm &form, const QString &script) { return form.QuizView()->runAndWait(script, 10000); }
    // Clicks the element (by name and index in the page) with the real mouse.
    void click(FirstTestForm &form, const QString &name, int index = 0)
    {
        const QVariantMap r = js(form, QStringLiteral("(function(){var e=document.getElementsByName('%1')[%2];"
                                                      "e.scrollIntoView({block:'center'});var b=e.getBoundingClientRect();"
                                                      "return {x:b.left+b.width/2,y:b.top+b.height/2};})()")
                                           .arg(name)
                                           .arg(index))
                                  .toMap();
        QVERIFY(!r.isEmpty());
        QTest::mouseClick(form.QuizView()->focusProxy(), Qt::LeftButton, {},
                          QPoint(int(r["x"].toDouble()), int(r["y"].toDouble())));
        QTest::qWait(200); // the page handles the click before the next question to it
    }
    std::unique_ptr<FirstTestForm> open(int lesson, const QString &quizFile)
    {
        auto form = std::make_unique<FirstTestForm>();
        form->Load();
        form->show();
        form->OpenLesson(m_book, lesson);
        form->LoadQuiz(quizFile, QStringLiteral("春雨 <Rain>"));
        return form;
    }
    static bool enabled(FirstTestForm &form, const QString &tag)
    {
        return form.Skin() && form.Skin()->GetButton(tag) && form.Skin()->GetButton(tag)->isEnabled();
    }

private slots:
    void initTestCase()
    {
        m_home = fixtures::tmpDir() + QStringLiteral("/quiz home");
        QDir(m_home).removeRecursively();
        QVERIFY(QDir().mkpath(m_home + QStringLiteral("/alltmpfile")));
        QVERIFY(QFile::copy(QStringLiteral(MVX_HOME "/blank.wav"), m_home + QStringLiteral("/blank.wav")));
        App().appPath = m_home;
        App().skinRoot = QStringLiteral(MVX_HOME "/ecminterface");
        QDir::setCurrent(m_home);
        m_book = fixtures::makeBook(QStringLiteral("quiz window.dat"), {fixtures::sampleLesson()});
        writeFile(m_home + QStringLiteral("/quiz/rain.txt"), Quiz);
        SaveAppSetting(App().appName, QStringLiteral("QuizScores"), m_book + QStringLiteral("|0"), {}); // an earlier run's
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return -1;
        });
    }
    void init() { m_messages.clear(); }

    void listensThenAnswersAndScores()
    {
        auto form = open(0, QStringLiteral("quiz/rain.txt"));
        QCOMPARE(m_messages, QStringList());
        QCOMPARE(form->LastScoreText(), QStringLiteral("还没有做过这个测验"));
        QCOMPARE(form->Page().AnswerKey(), QStringLiteral("TBF"));
        QCOMPARE(form->Page().SubmitInputsHooked(), 1);
        QCOMPARE(form->Listening().CurSentence(), 1); // after the title line
        QVERIFY(enabled(*form, "btPlay") && !enabled(*form, "btStop"));

        // The article through the real back end, to its end message; one sentence sound left.
        QVERIFY(form->DispatchClick(QStringLiteral("btPlay")));
        QVERIFY(!enabled(*form, "btPlay") && enabled(*form, "btStop"));
        QVERIFY(QTest::qWaitFor([this] { return !m_messages.isEmpty(); }, 30000));
        QCOMPARE(m_messages, QStringList{"文章播放完毕，请做题"});
        QVERIFY(enabled(*form, "btPlay") && !enabled(*form, "btStop"));
        QCOMPARE(form->Listening().CurSentence(), 1);
        QCOMPARE(QDir(m_home + QStringLiteral("/alltmpfile")).entryList({"rndsnd*"}).size(), 1);
        m_messages.clear();

        // Right, wrong, right: clicked in the page, then submitted.
        click(*form, QStringLiteral("radio0"), 0);
        click(*form, QStringLiteral("radio1"), 0);
        click(*form, QStringLiteral("radio2"), 1);
        QCOMPARE(form->Page().Answers(3), (QStringList{"T", "A", "F"}));
        click(*form, QStringLiteral("Submit1"));
        QVERIFY(QTest::qWaitFor([this] { return !m_messages.isEmpty(); }, 10000));
        QCOMPARE(m_messages.first(), QStringLiteral("您的得分： 66.6666666666667\n\n正确答案见题目下方，做错的题目，题号左边有“*”标识"));
        QCOMPARE(form->AnswerText(), QStringLiteral("答案：  1. True     *2. B     3. false     "));
        // The label keeps what it showed on opening.
        QCOMPARE(form->LastScoreText(), QStringLiteral("还没有做过这个测验"));

        // Submitting again marks the page as it stands now.
        m_messages.clear();
        click(*form, QStringLiteral("radio1"), 1);
        click(*form, QStringLiteral("Submit1"));
        QVERIFY(QTest::qWaitFor([this] { return !m_messages.isEmpty(); }, 10000));
        QVERIFY(m_messages.first().startsWith(QStringLiteral("您的得分： 100\n")));
        QCOMPARE(form->AnswerText(), QStringLiteral("答案：  1. True     2. B     3. false     "));
        form->close();

        // The next opening of this article shows the last score; another lesson has none.
        auto again = open(0, QStringLiteral("quiz/rain.txt"));
        QVERIFY2(again->LastScoreText().startsWith(QStringLiteral("上次得分：100（")), qPrintable(again->LastScoreText()));
        again->close();
    }

    void missingOrRefusedQuiz_data()
    {
        QTest::addColumn<QString>("quizFile");
        QTest::addColumn<QString>("message");
        QTest::addRow("missing") << "quiz/none.txt" << "这篇文章没有测验题。";
        QTest::addRow("refused") << "quiz/bad.txt"
                                 << QStringLiteral("测验文件有错误：%1/quiz/bad.txt:3: 判断题的答案必须是 T 或 F");
    }

    void missingOrRefusedQuiz()
    {
        QFETCH(QString, quizFile);
        QFETCH(QString, message);
        writeFile(m_home + QStringLiteral("/quiz/bad.txt"), "title: x\n\n[question]\ntype: truefalse\ntext: y\nanswer: B\n");
        // An earlier quiz page must not come back with its key.
        writeFile(m_home + QStringLiteral("/alltmpfile/tmpquiz.htm"), "<input type=radio name=radio0 value=T checked>");
        auto form = open(0, quizFile);
        QCOMPARE(m_messages, QStringList{message.contains(QLatin1String("%1")) ? message.arg(m_home) : message});
        QVERIFY(!QFile::exists(m_home + QStringLiteral("/alltmpfile/tmpquiz.htm")));
        QCOMPARE(form->Page().AnswerKey(), QString());
        QVERIFY(!form->Page().Loaded());
        // Submitting says there is no quiz and keeps no score; listening still works.
        m_messages.clear();
        form->ShowAnswer();
        QCOMPARE(m_messages, QStringList{"这篇文章没有测验题。"});
        QCOMPARE(form->AnswerText(), QString());
        QVERIFY(enabled(*form, "btPlay"));
        form->close();
    }

    void onlyItsPageLoads()
    {
        auto form = open(0, QStringLiteral("quiz/rain.txt"));
        QVERIFY(form->Page().Loaded());
        pages::LessonWebPage *page = form->QuizView()->lessonPage();
        QSignalSpy refused(page, &pages::LessonWebPage::navigationRefused);
        QSignalSpy external(page, &pages::LessonWebPage::openedExternally);
        const QUrl shown = page->url();
        writeFile(m_home + QStringLiteral("/alltmpfile/vantrel.htm"), "<p>not the quiz</p>");
        const QString vantrel = QUrl::fromLocalFile(m_home + QStringLiteral("/alltmpfile/vantrel.htm")).toString();
        js(*form, QStringLiteral("(function(){var a=document.createElement('a');a.id='lk';a.href='https://example.org/';"
                                 "a.textContent='web';document.body.appendChild(a);return 1;})()"));
        js(*form, QStringLiteral("document.getElementById('lk').click()"));
        QTRY_VERIFY_WITH_TIMEOUT(refused.size() >= 1, 10000);
        js(*form, QStringLiteral("(function(){var f=document.createElement('form');f.action='%1';f.method='get';"
                                 "document.body.appendChild(f);f.submit();return 1;})()")
                      .arg(vantrel));
        QTRY_VERIFY_WITH_TIMEOUT(refused.size() >= 2, 10000);
        js(*form, QStringLiteral("location.href='%1'").arg(vantrel));
        QTRY_VERIFY_WITH_TIMEOUT(refused.size() >= 3, 10000);
        QTest::qWait(300);
        QCOMPARE(external.size(), 0);
        QCOMPARE(page->url(), shown);
        // Still the quiz, still answerable.
        QCOMPARE(form->Page().Answers(3), (QStringList{"NoAnswer", "NoAnswer", "NoAnswer"}));
        form->close();
    }

    void closingUnloadsAndDeletes()
    {
        QPointer<FirstTestForm> form = new FirstTestForm();
        form->setAttribute(Qt::WA_DeleteOnClose);
        QSignalSpy closed(form.data(), &FirstTestForm::closed);
        form->Load();
        form->show();
        form->OpenLesson(m_book, 0);
        form->LoadQuiz(QStringLiteral("quiz/rain.txt"), QStringLiteral("春雨"));
        QVERIFY(form->DispatchClick(QStringLiteral("btPlay")));
        QTest::qWait(300);
        QVERIFY(form->Listening().StopEnabled());
        form->close(); // what the window system's close (Alt+F4) does
        QCOMPARE(closed.size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(form.isNull(), 5000);
        QCOMPARE(m_messages, QStringList());
    }

    // The learner closes the window while it opens the article's first sentence (the wait
    // for the blank sound, then for the sentence's sound): the close waits for the open and
    // the window goes afterwards, once.
    void closingWhileTheFirstSentenceOpens_data()
    {
        QTest::addColumn<int>("opening");
        QTest::addRow("while the blank sound opens") << 1;
        QTest::addRow("while the sentence's sound opens") << 2;
    }
    void closingWhileTheFirstSentenceOpens()
    {
        QFETCH(int, opening);
        QPointer<FirstTestForm> form = new FirstTestForm();
        form->setAttribute(Qt::WA_DeleteOnClose);
        QSignalSpy closed(form.data(), &FirstTestForm::closed);
        form->Load();
        form->show();
        int openings = 0;
        bool asked = false;
        bool heldDuringTheWait = false;
        connect(&form->Media(), &MediaPlayer::openStateChanged, this, [&](int state) {
            if (state != MediaPlayerInterface::MediaOpening || ++openings != opening)
                return;
            QTimer::singleShot(0, form.data(), [&] {
                asked = true;
                form->close(); // what the window system's close does
                heldDuringTheWait = form && form->isVisible() && form->Listening().IsBusy();
            });
        });
        form->OpenLesson(m_book, 0);
        QVERIFY(asked);
        QVERIFY(heldDuringTheWait);
        QVERIFY(!form.isNull());
        QCOMPARE(closed.size(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(form.isNull(), 5000);
        QCOMPARE(closed.size(), 1);
        QCOMPARE(m_messages, QStringList());
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestQuizWindow t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_quiz_window.moc"
