// The media back end as the player and the quiz use it, through SDL's dummy driver: opening
// through the event loop, play, pause, stop, seek, rate, the natural end, bad files, and word
// sounds beside a lesson.
#include "MediaTestUtil.h"

#include "libs/media/AudioOutput.h"
#include "libs/media/MediaPlayer.h"
#include "libs/media/WordSoundPlayer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrl>

using mvx::MediaPlayer;
using mvx::WordSoundPlayer;

namespace {

constexpr int kRate = 22050;

bool openAndWait(MediaPlayer &player, const QString &url)
{
    player.setURL(url);
    return QTest::qWaitFor([&] { return player.openState() != MediaPlayer::MediaOpening; }, 5000)
        && player.openState() == MediaPlayer::MediaOpen;
}

} // namespace

class TestMediaPlayer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void opensThroughEventLoop_data();
    void opensThroughEventLoop();
    void failedOpens_data();
    void failedOpens();
    void autoStartStopPause();
    void seekAndRateWhilePlaying();
    void naturalEndStaysAtDuration();
    void newFileStopsTheOldOne();
    void fileReplacedOnDiskIsReadAfresh();
    void playAskedWhileOpening();
    void destroyedWhileOpening();
    void wordSoundLeavesLessonAlone();

private:
    QString sound(const QString &name, double seconds, int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    QTemporaryDir m_dir;
};

QString TestMediaPlayer::sound(const QString &name, double seconds, int format)
{
    const QString path = m_dir.filePath(name);
    mediatest::writeSound(path, mediatest::toneSteps(kRate, {300, 500}, seconds / 2), kRate, 1, format);
    return path;
}

void TestMediaPlayer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(mvx::AudioOutput::shared().hasDevice(), qPrintable(mvx::AudioOutput::shared().notice()));
    QCOMPARE(mvx::AudioOutput::shared().driverName(), QStringLiteral("dummy"));
    QVERIFY(mvx::AudioOutput::shared().notice().isEmpty());
}

void TestMediaPlayer::opensThroughEventLoop_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("urlKind"); // 0 "file:///" + raw path, 1 encoded URL, 2 plain path
    const int wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    QTest::addRow("wav as the player passes it") << "base.wav" << wav << 0;
    QTest::addRow("mp3 as the quiz passes it") << "base.mp3" << (SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III) << 0;
    QTest::addRow("spaces, hash and percent, raw") << "a b#2 %41.wav" << wav << 0;
    QTest::addRow("spaces, hash and percent, encoded") << "a b#2 %41.wav" << wav << 1;
    QTest::addRow("Chinese name, plain path") << QString::fromUtf8("文化习俗 第1课.wav") << wav << 2;
}

void TestMediaPlayer::opensThroughEventLoop()
{
    QFETCH(QString, name);
    QFETCH(int, format);
    QFETCH(int, urlKind);
    const QString path = sound(name, 1.0, format);
    const QString url = urlKind == 0 ? QStringLiteral("file:///") + path.mid(1)
                      : urlKind == 1 ? QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)
                                     : path;
    MediaPlayer player;
    QSignalSpy states(&player, &MediaPlayer::openStateChanged);
    player.setURL(url);
    QCOMPARE(player.URL(), url);
    QCOMPARE(player.openState(), MediaPlayer::MediaOpening);
    // Decoding is done long before this, but the open state only changes in the event loop.
    QThread::msleep(100);
    QCOMPARE(player.openState(), MediaPlayer::MediaOpening);
    QTRY_COMPARE(player.openState(), MediaPlayer::MediaOpen);
    QCOMPARE(player.filePath(), path);
    QVERIFY(player.errorText().isEmpty());
    QCOMPARE_LE(std::abs(player.duration() - 1.0), 0.06);
    QCOMPARE(player.currentPosition(), 0.0);
    QCOMPARE(player.playState(), MediaPlayer::Stopped);
    QCOMPARE(states.size(), 2);
    QCOMPARE(states.at(1).at(0).toInt(), int(MediaPlayer::MediaOpen));
}

void TestMediaPlayer::failedOpens_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addRow("missing file") << "gone.wav" << QByteArray();
    QTest::addRow("empty file") << "empty.wav" << QByteArray("");
    QTest::addRow("not a sound") << "notes.mp3" << QByteArray("<html>not sound</html>");
    QTest::addRow("a folder") << "folder.wav" << QByteArray();
}

void TestMediaPlayer::failedOpens()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    const QString path = m_dir.filePath(name);
    if (name == QLatin1String("folder.wav")) {
        QVERIFY(QDir(m_dir.path()).mkpath(name));
    } else if (name != QLatin1String("gone.wav")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    MediaPlayer player;
    player.setAutoStart(true);
    QSignalSpy errors(&player, &MediaPlayer::errorOccurred);
    player.setURL(QStringLiteral("file:///") + path.mid(1));
    QTRY_COMPARE(player.openState(), MediaPlayer::MediaFailed);
    QCOMPARE(errors.size(), 1);
    QVERIFY(!player.errorText().isEmpty());
    QCOMPARE(errors.at(0).at(0).toString(), player.errorText());
    player.play();
    player.setCurrentPosition(0.5);
    QCOMPARE(player.currentPosition(), 0.0);
    QCOMPARE(player.duration(), 0.0);
    QCOMPARE(player.playState(), MediaPlayer::Undefined);
    // Closing after the failure keeps the reason for the caller's message.
    const QString reason = player.errorText();
    player.setURL(QString());
    QCOMPARE(player.openState(), MediaPlayer::MediaClosed);
    QCOMPARE(player.errorText(), reason);

    // The player stays usable: a good file opens and the error is gone.
    QVERIFY(openAndWait(player, sound(QStringLiteral("good.wav"), 0.5)));
    QVERIFY(player.errorText().isEmpty());
    // An empty URL closes without an error.
    player.setURL(QString());
    QCOMPARE(player.openState(), MediaPlayer::MediaClosed);
    QVERIFY(player.errorText().isEmpty());
}

void TestMediaPlayer::autoStartStopPause()
{
    MediaPlayer player;
    player.setAutoStart(true);
    player.setUiMode(QStringLiteral("invisible"));
    QCOMPARE(player.uiMode(), QStringLiteral("invisible"));
    QVERIFY(openAndWait(player, sound(QStringLiteral("auto.wav"), 4.0)));
    QCOMPARE(player.playState(), MediaPlayer::Playing);
    QTRY_VERIFY(player.currentPosition() > 0.1);

    player.pause();
    const double kept = player.currentPosition();
    QCOMPARE(player.playState(), MediaPlayer::Paused);
    QTest::qWait(150);
    QCOMPARE(player.currentPosition(), kept);

    player.play(); // continues from where it was
    QCOMPARE(player.playState(), MediaPlayer::Playing);
    QVERIFY(player.currentPosition() >= kept);
    QTRY_VERIFY(player.currentPosition() > kept + 0.05);

    player.stop();
    QCOMPARE(player.currentPosition(), 0.0);
    QTest::qWait(100);
    QCOMPARE(player.currentPosition(), 0.0);
    QCOMPARE(player.playState(), MediaPlayer::Stopped);
}

void TestMediaPlayer::seekAndRateWhilePlaying()
{
    MediaPlayer player;
    QVERIFY(openAndWait(player, sound(QStringLiteral("seek.wav"), 6.0)));
    player.play();
    // Reads right after a seek or a rate change may be a little later on a busy machine, so
    // each check allows for the time that really passed between the two calls.
    QElapsedTimer sinceSeek;
    sinceSeek.start();
    player.setCurrentPosition(3.0);
    double pos = player.currentPosition();
    QVERIFY(pos >= 3.0);
    QVERIFY(pos <= 3.0 + sinceSeek.nsecsElapsed() / 1e9 + 0.001);
    QTRY_VERIFY(player.currentPosition() > 3.1);

    QElapsedTimer sinceRate;
    sinceRate.start();
    const double before = player.currentPosition();
    player.setRate(1.4);
    const double after = player.currentPosition();
    QCOMPARE(player.rate(), 1.4);
    QVERIFY2(after >= before && after - before <= 1.4 * sinceRate.nsecsElapsed() / 1e9 + 0.001,
             qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));

    // Out-of-range positions are clamped; nonsense rates are ignored.
    player.setCurrentPosition(-5);
    QVERIFY(player.currentPosition() < 0.05);
    player.setRate(0);
    player.setRate(std::nan(""));
    QCOMPARE(player.rate(), 1.4);
    player.stop();
}

void TestMediaPlayer::naturalEndStaysAtDuration()
{
    MediaPlayer player;
    QSignalSpy ends(&player, &MediaPlayer::endOfStream);
    QVERIFY(openAndWait(player, sound(QStringLiteral("short.wav"), 0.4)));
    player.setRate(1.2);
    player.play();
    QTRY_COMPARE(ends.size(), 1);
    QCOMPARE(player.currentPosition(), player.duration());
    QCOMPARE(player.playState(), MediaPlayer::MediaEnded);
    QTest::qWait(100);
    QCOMPARE(player.currentPosition(), player.duration());
    QCOMPARE(ends.size(), 1);
    // Stop after the end still means position 0, and play starts again from the top.
    player.stop();
    QCOMPARE(player.currentPosition(), 0.0);
    player.play();
    QTRY_COMPARE(ends.size(), 2);
}

void TestMediaPlayer::newFileStopsTheOldOne()
{
    MediaPlayer player;
    QVERIFY(openAndWait(player, sound(QStringLiteral("first.wav"), 4.0)));
    player.play();
    QTRY_VERIFY(player.currentPosition() > 0.05);
    player.setURL(sound(QStringLiteral("second.wav"), 2.0));
    QCOMPARE(player.playState(), MediaPlayer::Undefined); // the old sound is gone at once
    QCOMPARE(player.currentPosition(), 0.0);
    QTRY_COMPARE(player.openState(), MediaPlayer::MediaOpen);
    QCOMPARE(player.playState(), MediaPlayer::Stopped); // no autoStart: it waits
    QCOMPARE_LE(std::abs(player.duration() - 2.0), 0.01);
}

void TestMediaPlayer::fileReplacedOnDiskIsReadAfresh()
{
    const QString path = sound(QStringLiteral("rewritten.wav"), 1.0);
    const QString blank = sound(QStringLiteral("blank.wav"), 0.2);
    MediaPlayer player;
    QVERIFY(openAndWait(player, path));
    QCOMPARE_LE(std::abs(player.duration() - 1.0), 0.01);
    QVERIFY(openAndWait(player, blank)); // as the player lets go of a sentence's file
    QVERIFY(QFile::remove(path));
    sound(QStringLiteral("rewritten.wav"), 3.0);
    QVERIFY(openAndWait(player, path));
    QCOMPARE_LE(std::abs(player.duration() - 3.0), 0.01);
}

void TestMediaPlayer::playAskedWhileOpening()
{
    MediaPlayer player;
    player.setURL(sound(QStringLiteral("early.wav"), 2.0));
    player.play();
    QCOMPARE(player.playState(), MediaPlayer::Playing);
    QTRY_COMPARE(player.openState(), MediaPlayer::MediaOpen);
    QCOMPARE(player.playState(), MediaPlayer::Playing);
    // stop before the open completes cancels the wish
    player.setURL(sound(QStringLiteral("early2.wav"), 2.0));
    player.play();
    player.stop();
    QTRY_COMPARE(player.openState(), MediaPlayer::MediaOpen);
    QCOMPARE(player.playState(), MediaPlayer::Stopped);
}

void TestMediaPlayer::destroyedWhileOpening()
{
    const QString path = sound(QStringLiteral("orphan.wav"), 3.0);
    for (int i = 0; i < 5; ++i) {
        auto *player = new MediaPlayer;
        player->setAutoStart(true);
        player->setURL(path);
        delete player;
    }
    QTest::qWait(200); // the decodes finish and find nobody to tell
    MediaPlayer player;
    QVERIFY(openAndWait(player, path));
}

void TestMediaPlayer::wordSoundLeavesLessonAlone()
{
    MediaPlayer lesson;
    QVERIFY(openAndWait(lesson, sound(QStringLiteral("lesson.wav"), 3.0)));
    lesson.setCurrentPosition(1.25);
    lesson.setRate(0.8);

    WordSoundPlayer word;
    QSignalSpy finished(&word, &WordSoundPlayer::finished);
    QVERIFY(word.play(sound(QStringLiteral("word.wav"), 0.3)));
    QVERIFY(word.isPlaying());
    QTRY_COMPARE(finished.size(), 1);
    QVERIFY(!word.isPlaying());
    QCOMPARE(lesson.currentPosition(), 1.25);
    QCOMPARE(lesson.playState(), MediaPlayer::Stopped);
    QCOMPARE(lesson.rate(), 0.8);
    QCOMPARE(lesson.openState(), MediaPlayer::MediaOpen);

    // While the lesson plays, a word sound neither stops nor moves it.
    lesson.play();
    QVERIFY(word.play(sound(QStringLiteral("word2.wav"), 0.3)));
    QCOMPARE(lesson.playState(), MediaPlayer::Playing);
    QTRY_COMPARE(finished.size(), 2);
    QVERIFY(lesson.currentPosition() > 1.25);
    QCOMPARE(lesson.playState(), MediaPlayer::Playing);
    lesson.stop();

    // A word without a sound file: false and a reason, nothing else happens.
    QVERIFY(!word.play(m_dir.filePath(QStringLiteral("nosuchword.wav"))));
    QVERIFY(!word.errorText().isEmpty());
    QVERIFY(!word.isPlaying());
    // The shared player is one object for the whole program.
    QCOMPARE(&WordSoundPlayer::shared(), &WordSoundPlayer::shared());
}

QTEST_GUILESS_MAIN(TestMediaPlayer)
#include "test_media_player.moc"
