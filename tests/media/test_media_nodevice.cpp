// Without any sound device the program still runs: the shared output says so for the learner,
// and players keep their timing in silence.
#include "MediaTestUtil.h"

#include "libs/media/AudioOutput.h"
#include "libs/media/MediaPlayer.h"
#include "libs/media/WordSoundPlayer.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using mvx::AudioOutput;
using mvx::MediaPlayer;

class TestMediaNoDevice : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void playsSilentlyWithNotice();

private:
    QTemporaryDir m_dir;
};

void TestMediaNoDevice::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // A driver SDL does not have stands for a machine with no usable sound device.
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
}

void TestMediaNoDevice::playsSilentlyWithNotice()
{
    AudioOutput &output = AudioOutput::shared();
    QVERIFY(!output.hasDevice());
    QVERIFY(output.driverName().isEmpty());
    QVERIFY(output.notice().contains(QString::fromUtf8("声音设备")));

    const QString wav = m_dir.filePath(QStringLiteral("s.wav"));
    QVERIFY(mediatest::writeSound(wav, mediatest::toneSteps(22050, {440}, 0.6), 22050));
    MediaPlayer player;
    QSignalSpy ends(&player, &MediaPlayer::endOfStream);
    player.setAutoStart(true);
    player.setURL(wav);
    QTRY_COMPARE(player.openState(), MediaPlayer::MediaOpen);
    QCOMPARE(player.playState(), MediaPlayer::Playing);
    QTRY_VERIFY(player.currentPosition() > 0.1);
    QTRY_COMPARE(ends.size(), 1);
    QCOMPARE(player.currentPosition(), player.duration());

    mvx::WordSoundPlayer word;
    QSignalSpy finished(&word, &mvx::WordSoundPlayer::finished);
    QVERIFY(word.play(wav));
    QTRY_COMPARE(finished.size(), 1);
}

QTEST_GUILESS_MAIN(TestMediaNoDevice)
#include "test_media_nodevice.moc"
