// The player window while it waits for a sound that never opens (its home's blank sound is
// broken, so every sentence change waits out the time-out): a close, a click in the page and
// a key that come meanwhile are carried out once the wait is over, each exactly once.
#include "../pages/PagesFixture.h"

#include "core/AppState.h"
#include "core/UserSettings.h"
#include "player/form/PlayLessonForm.h"
#include "player/pages/HtmlView.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"
#include "ui/SkinImage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

using namespace mvx;

class TestPlayerWaits : public QObject
{
    Q_OBJECT

    QString m_home, m_book;
    QStringList m_messages;

    static pages::HtmlView &View(PlayLessonForm &form) { return *static_cast<pages::HtmlView *>(form.ScriptView()); }
    static QWidget *PageInput(PlayLessonForm &form)
    {
        return View(form).focusProxy() ? View(form).focusProxy() : &View(form);
    }
    // Where sentence n's English label is in the view (asked while nothing waits).
    static QPoint SentenceAt(PlayLessonForm &form, int n)
    {
        const QVariantMap r = View(form)
                                  .runAndWait(QStringLiteral("__mvxAgent.rect('English','ste%1')").arg(n), 10000)
                                  .toMap();
        return {int(r["x"].toDouble() + 4), int(r["y"].toDouble() + r["h"].toDouble() / 2)};
    }
    static bool Settled(PlaybackController &c, int sentence, int ms = 20000)
    {
        return QTest::qWaitFor([&] { return c.CurSentence() == sentence && !c.IsBusy(); }, ms);
    }

private slots:
    void initTestCase()
    {
        m_home = pagesfixture::MakeHome(qEnvironmentVariable("MVX_TEST_TMP", QDir::tempPath())
                                        + QStringLiteral("/waits home"));
        {
            QFile blank(m_home + QStringLiteral("/blank.wav"));
            QVERIFY(blank.open(QIODevice::WriteOnly));
            blank.write("RIFF but no sound");
        }
        m_book = m_home + QStringLiteral("/waits.dat");
        QVERIFY(pagesfixture::MakeBook(m_book, {pagesfixture::MakeLesson("Waiting lesson", 7)}));
        App().appPath = m_home;
        App().skinRoot = QStringLiteral(MVX_HOME "/ecminterface");
        QDir::setCurrent(m_home);
        App().display = DisplaySettings();
        App().playback = PlaybackSettings();
        SaveUserBool(QString::fromLatin1(Key::ShouldShowEnglish), true);
        SaveUserBool(QString::fromLatin1(Key::EnglishChineseMix), false);
        SaveUserBool(QString::fromLatin1(Key::AutoMaximize), false);
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return -1;
        });
    }

    void aCloseDuringTheWaitIsCarriedOutAfterIt()
    {
        auto *form = new PlayLessonForm;
        form->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<PlayLessonForm> alive(form);
        form->resize(900, 650);
        form->Load();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        bool openReturned = false;
        bool closedInsideTheOpen = false;
        int closes = 0;
        connect(form, &PlayLessonForm::closed, this, [&] {
            ++closes;
            closedInsideTheOpen = !openReturned;
        });
        bool clicked = false;
        QTimer::singleShot(1500, this, [&] {
            // The window's own close button, clicked while the sentence's sound opens.
            SkinImage *x = alive && alive->Skin() ? alive->Skin()->GetButton(QStringLiteral("btWinClose")) : nullptr;
            if (x) {
                QTest::mouseClick(x, Qt::LeftButton, {}, x->rect().center());
                clicked = true;
            }
        });
        QElapsedTimer t;
        t.start();
        form->OpenLesson(m_book, 0, true);
        openReturned = true;
        QVERIFY(clicked);
        QVERIFY2(t.elapsed() >= PlaybackController::MediaTimeoutMs - 100, "the open waited for the broken sound");
        QVERIFY(!closedInsideTheOpen);
        QVERIFY(QTest::qWaitFor([&] { return alive.isNull(); }, 20000));
        QCOMPARE(closes, 1);
    }

    void aClickAndAKeyDuringTheWaitActAfterIt()
    {
        PlayLessonForm form;
        form.resize(900, 650);
        form.OpenLesson(m_book, 0, true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        PlaybackController &c = form.Controller();
        QVERIFY(Settled(c, 1));
        const QPoint fourth = SentenceAt(form, 4);

        // J starts a change that waits; a click on sentence 4 meanwhile is held, not lost.
        QTimer::singleShot(1000, this, [&] { QTest::mouseClick(PageInput(form), Qt::LeftButton, {}, fourth); });
        QTest::keyClick(&form, Qt::Key_J);
        QVERIFY(Settled(c, 4, 30000));
        QCOMPARE(View(form).isWaiting(), false);

        // H starts a change to 3; another H meanwhile is acted on once, after it: 2, not 1.
        QTimer::singleShot(1000, this, [&] { QTest::keyClick(&form, Qt::Key_H); });
        QTest::keyClick(&form, Qt::Key_H);
        QVERIFY(Settled(c, 2, 30000));
        QTest::qWait(300);
        QCOMPARE(c.CurSentence(), 2);
        QCOMPARE(c.PlayStatus(), int(Stopped));
        form.close();
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestPlayerWaits t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_player_waits.moc"
