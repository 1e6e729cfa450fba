// End to end: the real playback logic plays a real book through the real media back end
// (SDL's dummy driver) and the current-sentence highlight moves in the real pages.
#include "PagesFixture.h"

#include "core/AppState.h"
#include "libs/comm/CommLib.h"
#include "libs/media/MediaPlayer.h"
#include "libs/sentra/SentraFacade.h"
#include "player/pages/HtmlView.h"
#include "player/pages/LessonPages.h"
#include "player/playback/PlaybackController.h"
#include "player/playback/QtPlayerClock.h"
#include "player/playback/SentenceSoundSource.h"

#include <QApplication>
#include <QTest>

using namespace mvx;
using namespace mvx::pages;

// Sentence sounds and digests from the real libraries.
class RealSounds final : public SentenceSoundSource
{
public:
    bool MakeSentenceSound(int bookHandle, int noInAll, const QString &basePath) override
    {
        return bcSentence_MakeSndFile(bookHandle, noInAll, 0, 0, nullptr, basePath, -1, 0) == 0;
    }
    int MakeAndOpenDigest(const QString &waveFile, const QString &digestFile) override
    {
        return vcMakeWaveDigestFile(waveFile, digestFile, 40) == 1 ? vcDigestFile_Open(digestFile) : 0;
    }
    void CloseDigest(int handle) override { vcDigestFile_Close(handle); }
};

class TestPagesPlay : public QObject
{
    Q_OBJECT

private:
    QString colourOf(HtmlView &view, const QString &frame, const QString &id)
    {
        return view.runAndWait(QStringLiteral("__mvxAgent.computed('%1','%2','color')").arg(frame, id), 10000).toString();
    }

private slots:
    void playingMovesTheHighlightInThePages()
    {
        const QString home = pagesfixture::MakeHome(qEnvironmentVariable("MVX_TEST_TMP", QDir::tempPath())
                                                    + QStringLiteral("/play home"));
        {
            QFile blank(home + "/blank.wav");
            QVERIFY(blank.open(QIODevice::WriteOnly));
            blank.write(pagesfixture::QuietWav(50));
        }
        const QString book = home + QStringLiteral("/play.dat");
        QVERIFY(pagesfixture::MakeBook(book, {pagesfixture::MakeLesson("Played lesson", 8)}));
        App().display = DisplaySettings();
        App().playback = PlaybackSettings();

        HtmlView view;
        view.setAllowedFolders({home});
        view.resize(800, 500);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        LessonPages pages(view, home);
        pages.SetShowState(PageShowState());
        MediaPlayer media;
        RealSounds sounds;
        QtPlayerClock clock;
        PlaybackController player(media, pages, sounds, clock, home);
        pages.SetEventDestination(nullptr, &player);
        player.InitForWindow();

        player.OpenLesson(book, 0, true);
        QCOMPARE(player.PlayStatus(), int(Stopped));
        QCOMPARE(player.CurSentence(), 1); // the title line is skipped
        const QString current = QStringLiteral("rgb(0, 0, 255)");
        const QString plain = QStringLiteral("rgb(0, 0, 0)");
        QCOMPARE(colourOf(view, "English", "ste1"), current);
        QCOMPARE(colourOf(view, "Chinese", "stc1"), current);

        player.btPlay_Click();
        QCOMPARE(player.PlayStatus(), int(Playing));
        QTRY_VERIFY_WITH_TIMEOUT(player.CurSentence() >= 4, 30000);
        player.btStop_Click();
        const int at = player.CurSentence();
        QCOMPARE(colourOf(view, "English", QStringLiteral("ste%1").arg(at)), current);
        QCOMPARE(colourOf(view, "Chinese", QStringLiteral("stc%1").arg(at)), current);
        QCOMPARE(colourOf(view, "English", "ste1"), plain);
        QCOMPARE(colourOf(view, "English", "ste2"), plain);
        QCOMPARE(colourOf(view, "Chinese", "stc1"), plain);
        // Odd sentences carry comments: the comment highlight follows too.
        if (at % 2) {
            QCOMPARE(colourOf(view, "Comment", QStringLiteral("stz%1").arg(at)), current);
        }
        QCOMPARE(colourOf(view, "Comment", "stz1"), plain);
        player.CloseForWindow();
        QCOMPARE(pages.BookHandle(), -1);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestPagesPlay t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_pages_play.moc"
