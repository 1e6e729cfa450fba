// A click on a sentence in the real pages of the real player window, in each status: the
// pages and the buttons go to another sentence the same way (real media, book and view).
#include "../support/BuiltHome.h"
#include "../sentra/SentraFixtures.h"

#include "core/AppState.h"
#include "core/UserSettings.h"
#include "player/form/PlayLessonForm.h"
#include "player/pages/HtmlView.h"
#include "player/playback/PageSide.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QScrollBar>
#include <QtTest>

using namespace mvx;

namespace {

// A title and five sentences of three seconds each.
sentra::LessonData LongLesson()
{
    sentra::LessonData l;
    l.title = QStringLiteral("Long Days");
    l.sound = fixtures::toneFile(22050, 1, 16.0);
    auto t = fixtures::sentence(0, 1000, l.title, QStringLiteral("长日"));
    t.isTitle = true;
    l.sentences.append(t);
    for (int i = 1; i <= 5; ++i)
        l.sentences.append(fixtures::sentence(1000 + (i - 1) * 3000, 1000 + i * 3000,
                                              QStringLiteral("Sentence number %1 is read slowly today.").arg(i),
                                              QStringLiteral("第%1句读得很慢。").arg(i)));
    return l;
}

} // namespace

class TestPlayerPageClicks : public QObject
{
    Q_OBJECT

    QString m_book;
    QStringList m_messages;

    static pages::HtmlView &View(PlayLessonForm &form) { return *static_cast<pages::HtmlView *>(form.ScriptView()); }

    // A real left click on sentence n's English label.
    static void ClickSentence(PlayLessonForm &form, int n)
    {
        const QVariantMap r = View(form)
                                  .runAndWait(QStringLiteral("__mvxAgent.rect('English','ste%1')").arg(n), 10000)
                                  .toMap();
        QVERIFY2(!r.isEmpty(), "the sentence is in the page");
        const QPoint at(int(r["x"].toDouble() + 4), int(r["y"].toDouble() + r["h"].toDouble() / 2));
        QWidget *target = View(form).focusProxy() ? View(form).focusProxy() : &View(form);
        QTest::mouseClick(target, Qt::LeftButton, {}, at);
    }

private slots:
    void initTestCase()
    {
        testhome::UseBuiltHome();
        m_book = fixtures::makeBook(QStringLiteral("clicks.dat"), {LongLesson()});
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return -1;
        });
    }
    void init()
    {
        m_messages.clear();
        SaveUserBool(QString::fromLatin1(Key::ShouldShowEnglish), true);
        SaveUserBool(QString::fromLatin1(Key::EnglishChineseMix), false);
        SaveUserBool(QString::fromLatin1(Key::AutoMaximize), false);
        App().playback.previewLen = 2;
    }

    void clickOnASentenceByStatus_data()
    {
        QTest::addColumn<QString>("start");   // how the player is set going before the click
        QTest::addColumn<int>("clicked");
        QTest::addColumn<int>("status");      // afterwards
        QTest::addRow("stopped: moves there") << "" << 3 << int(Stopped);
        QTest::addRow("playing on: plays on from there") << "btPlay" << 3 << int(Playing);
        QTest::addRow("one sentence, the same: plays it again") << "btPlaySentence" << 1 << int(Playing);
        QTest::addRow("one sentence, another: only moves") << "btPlaySentence" << 3 << int(Stopped);
        QTest::addRow("repeating: stops there") << "btRepeatSentence" << 3 << int(Stopped);
        QTest::addRow("automatic repeat: goes on from there") << "btAutoRepeat" << 3 << int(AutoRepeating);
        QTest::addRow("previewing: the preview ends, then moves") << "preview" << 3 << int(Stopped);
    }
    void clickOnASentenceByStatus()
    {
        QFETCH(QString, start);
        QFETCH(int, clicked);
        QFETCH(int, status);
        PlayLessonForm form;
        form.resize(1000, 700);
        form.OpenLesson(m_book, 0, true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        PlaybackController &c = form.Controller();
        QCOMPARE(c.CurSentence(), 1);
        if (start == "preview")
            c.WaveDoubleClick();
        else if (!start.isEmpty())
            QVERIFY(c.ClickButton(start));
        const int before = c.PlayStatus();
        QTest::qWait(300); // under way
        QCOMPARE(c.PlayStatus(), before);

        ClickSentence(form, clicked);
        QVERIFY(QTest::qWaitFor([&] { return c.CurSentence() == clicked && !c.IsBusy(); }, 15000));
        QTest::qWait(100);
        QCOMPARE(c.PlayStatus(), status);
        QVERIFY(m_messages.isEmpty());
        // The repeat's label goes with the repeat; a stopped player has its controls back.
        QCOMPARE(c.RepeatStatusText(), QString());
        if (status == Stopped) {
            QVERIFY(c.MyIsButtonEnabled("btPlay"));
            QVERIFY(c.MyIsButtonEnabled("btNext"));
            QVERIFY(c.Wave().ScrollEnabled());
            QVERIFY(c.Wave().PictureEnabled());
            QVERIFY(form.findChild<QScrollBar *>("hsWave")->isEnabled());
            // Nothing moves on its own any more.
            const int pos = c.CurPos();
            QTest::qWait(300);
            QCOMPARE(c.CurPos(), pos);
            QCOMPARE(c.CurSentence(), clicked);
        } else {
            // Sound goes on from the clicked sentence's start.
            QVERIFY(QTest::qWaitFor([&] { return c.CurPos() > 200; }, 3000));
            QCOMPARE(c.CurSentence(), clicked);
        }
        form.close();
    }

    void keysOtherThanTheTablesOwnReachThePage()
    {
        App().display.englishFontSize = 48; // the English page scrolls
        PlayLessonForm form;
        form.resize(1000, 600);
        form.OpenLesson(m_book, 0, true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        App().display = DisplaySettings();
        PlaybackController &c = form.Controller();
        const QString scrollTop = QStringLiteral("__mvxAgent.el('English','ste1').ownerDocument.scrollingElement.scrollTop");
        QVERIFY(View(form).runAndWait(QStringLiteral("(function(){var se=__mvxAgent.el('English','ste1').ownerDocument"
                                                     ".scrollingElement;se.scrollTop=se.scrollHeight;se.ownerDocument.defaultView.focus();return se.scrollTop;})()"),
                                      10000)
                    .toInt()
                > 0);
        QWidget *proxy = View(form).focusProxy() ? View(form).focusProxy() : &View(form);
        proxy->setFocus();
        QVERIFY(QTest::qWaitFor([&] { return proxy->hasFocus(); }, 3000));
        // Home puts the sentence's sound at its start and scrolls the page to its top too.
        c.SetCurrentPos(1000);
        QTest::keyClick(proxy, Qt::Key_Home);
        QVERIFY(QTest::qWaitFor([&] { return View(form).runAndWait(scrollTop, 10000).toInt() == 0; }, 5000));
        QCOMPARE(c.CurPos(), 0);
        // J belongs to the player alone: the next sentence, and the page does not see the key.
        QTest::keyClick(proxy, Qt::Key_J);
        QVERIFY(QTest::qWaitFor([&] { return c.CurSentence() == 2 && !c.IsBusy(); }, 10000));
        form.close();
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestPlayerPageClicks t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_player_pageclicks.moc"
