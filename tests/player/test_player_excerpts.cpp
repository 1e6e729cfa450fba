// End to end: a bundled lesson in the player with the real media back end (dummy driver).
// G, A, B 100 ms or more later in the sentence, F9, OK: the repeated part and the sentence's
// texts are in "segment"; btMp3 exports the lesson as MP3 + LRC and the marked sentences
// as cards, off the UI thread.
#include "../support/BuiltHome.h"
#include "core/AppState.h"
#include "core/UserSettings.h"
#include "dialogs/ExportLessonForm.h"
#include "dialogs/SaveSegForm.h"
#include "libs/sentra/SentraFacade.h"
#include "libs/sentra/SentraFacadeSound.h"
#include "player/form/PlayLessonForm.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"

#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include <sndfile.h>

using namespace mvx;

namespace {

qint64 DecodedFrames(const QString &path)
{
    SF_INFO info{};
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!f)
        return -1;
    std::vector<short> buf(size_t(info.frames * info.channels));
    const sf_count_t got = sf_readf_short(f, buf.data(), info.frames);
    sf_close(f);
    return got;
}

bool AnyVisible(const char *className)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits(className))
            return true;
    return false;
}

} // namespace

class TestPlayerExcerpts : public QObject
{
    Q_OBJECT
    struct Message
    {
        QString text;
        bool dialogShown;
    };
    QList<Message> m_messages;

private slots:
    void initTestCase()
    {
        testhome::UseBuiltHome();
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << Message{text, AnyVisible("mvx::SaveSegForm") || AnyVisible("mvx::ExportLessonForm")};
            return -1; // Yes / OK
        });
    }

    void excerptAndExportFromThePlayer()
    {
        const QString book = testhome::SmallestBundledBook();
        QVERIFY2(!book.isEmpty(), "the bundled lessons are built into the home's brxspecial folder");
        const QString name = QStringLiteral("e2e excerpt");
        const QString segment = QStringLiteral(MVX_HOME "/segment/");
        QFile::remove(segment + name + QStringLiteral(".mp3"));
        QFile::remove(segment + name + QStringLiteral(".txt"));
        SaveUserSetting(QString::fromLatin1(Key::SaveSegDest), QStringLiteral("Reviewer"));
        SaveUserBool(QString::fromLatin1(Key::DigestHint), true);
        App().curArticleTitle = QStringLiteral("Ocean/Life");

        PlayLessonForm form;
        form.OpenLesson(book, 0, true);
        form.resize(1100, 760);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        PlaybackController &c = form.Controller();
        QTest::keyClick(&form, Qt::Key_G);
        QCOMPARE(c.PlayStatus(), int(Playing));
        const int sentence = c.CurSentence();
        QVERIFY(QTest::qWaitFor([&] { return c.CurPos() > 200; }, 20000));
        QTest::keyClick(&form, Qt::Key_A);
        const int a = c.RepeatStart();
        QVERIFY(QTest::qWaitFor([&] { return c.CurPos() >= a + 400; }, 20000));
        QCOMPARE(c.CurSentence(), sentence);
        QTest::keyClick(&form, Qt::Key_B);
        QCOMPARE(c.PlayStatus(), int(Repeating));
        const int b = c.RepeatEnd();
        QVERIFY(b - a >= 100);

        // MVX_EXCERPT_SCREENSHOTS=folder: pictures of both dialogs for the documentation.
        const QString shots = qEnvironmentVariable("MVX_EXCERPT_SCREENSHOTS");
        // F9: the dialog proposes the counter's number and the title; OK with our name.
        QString proposed;
        bool pausedDuringDialog = false;
        QTimer::singleShot(100, this, [&] {
            auto *dialog = qobject_cast<SaveSegForm *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            pausedDuringDialog = c.Paused();
            auto *box = dialog->findChild<QLineEdit *>(QStringLiteral("teFileName"));
            proposed = box->text();
            if (!shots.isEmpty())
                dialog->grab().save(shots + QStringLiteral("/excerpt-dialog.png"));
            box->setText(name);
            dialog->btOk_click();
        });
        m_messages.clear();
        QTest::keyClick(&form, Qt::Key_F9);
        QVERIFY(pausedDuringDialog);
        const int counter = c.HasTitleSentence() ? sentence : sentence + 1;
        QCOMPARE(proposed, QStringLiteral("%1 - Ocean-Life").arg(counter));
        // Exactly the repeated part of the lesson's sound: its samples at 22050 Hz.
        const int noInAll = c.GetSentenceNoInAll(sentence);
        int startMs = 0;
        QCOMPARE(bcSentence_GetHeardSpan(c.BookHandle(), noInAll, nullptr, &startMs, nullptr), 0);
        const auto sampleAt = [](qint64 ms) { return (ms * 441 + 10) / 20; };
        QCOMPARE(DecodedFrames(segment + name + QStringLiteral(".mp3")), sampleAt(startMs + b) - sampleAt(startMs + a));
        QFile txt(segment + name + QStringLiteral(".txt"));
        QVERIFY(txt.open(QIODevice::ReadOnly));
        QCOMPARE(txt.readAll(), (bcSentence_GetPureEnglish(c.BookHandle(), noInAll) + QStringLiteral("\r\n")
                                 + bcSentence_GetChinese(c.BookHandle(), noInAll) + QStringLiteral("\r\n"))
                                    .toUtf8());
        // The reminder came after the dialog had gone; playing goes on.
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages[0].text.startsWith(QStringLiteral("摘录下来的内容")));
        QVERIFY(!m_messages[0].dialogShown);
        QVERIFY(!c.Paused());
        QCOMPARE(c.PlayStatus(), int(Repeating));

        // Paused by the learner, the button is off: F9 neither opens the dialog nor resumes.
        c.btPause_Click();
        QVERIFY(c.Paused());
        bool asked = false;
        QTimer::singleShot(300, this, [&] {
            if (auto *dialog = qobject_cast<SaveSegForm *>(QApplication::activeModalWidget())) {
                asked = true;
                dialog->btCancel_click();
            }
        });
        QTest::keyClick(&form, Qt::Key_F9);
        QTest::qWait(400);
        QVERIFY(!asked);
        QVERIFY(c.Paused());
        c.btPause_Click();
        QVERIFY(!c.Paused());

        // btMp3: the whole lesson as MP3 + LRC into a folder of ours.
        const QString out = qEnvironmentVariable("MVX_TEST_TMP") + QStringLiteral("/e2e-export");
        QDir(out).removeRecursively();
        const auto exportWith = [&](bool cards) {
            QTimer::singleShot(100, this, [&, cards] {
                auto *dialog = qobject_cast<ExportLessonForm *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                if (cards) {
                    dialog->SelectKind(QStringLiteral("Cards"));
                    if (!shots.isEmpty())
                        dialog->grab().save(shots + QStringLiteral("/export-dialog.png"));
                    dialog->SelectRange(QStringLiteral("Marked"));
                }
                dialog->SetFolder(out + (cards ? QStringLiteral("/cards") : QStringLiteral("/music")));
                dialog->btOk_click();
            });
            m_messages.clear();
            form.btMp3_click();
        };
        exportWith(false);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].text.startsWith(QStringLiteral("已导出")), qPrintable(m_messages[0].text));
        const QStringList music = QDir(out + QStringLiteral("/music")).entryList(QDir::Files);
        QCOMPARE(music.size(), 2);
        QVERIFY(music[0].endsWith(QStringLiteral(".lrc")) && music[1].endsWith(QStringLiteral(".mp3")));

        // The marked sentence as a card.
        QCOMPARE(bcSentence_SetDegree(c.BookHandle(), noInAll, 1), 0);
        exportWith(true);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].text.contains(QStringLiteral("collection.media")), qPrintable(m_messages[0].text));
        const QString clip = bcSentence_GetFileNameEnglish(c.BookHandle(), noInAll, 80) + QStringLiteral(".mp3");
        QCOMPARE(QDir(out + QStringLiteral("/cards")).entryList(QDir::Files).size(), 2);
        QVERIFY(DecodedFrames(out + QStringLiteral("/cards/") + clip) > 0);
        bcSentence_SetDegree(c.BookHandle(), noInAll, 0);
        QTest::keyClick(&form, Qt::Key_S);
        QFile::remove(segment + name + QStringLiteral(".mp3"));
        QFile::remove(segment + name + QStringLiteral(".txt"));
    }
};

QTEST_MAIN(TestPlayerExcerpts)
#include "test_player_excerpts.moc"
