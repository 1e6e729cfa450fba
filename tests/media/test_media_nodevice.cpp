// Without any sound device, or after losing the one it had, the program still runs: the
// output says so for the learner, and players keep their timing in silence.
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
    void deviceLostGoesOnInSilence();
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

void TestMediaNoDevice::deviceLostGoesOnInSilence()
{
    qputenv("SDL_AUDIODRIVER", "dummy");
    mvx::AudioOutput output(mvx::AudioOutput::Backend::Sdl);
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    QVERIFY(output.hasDevice());
    QVERIFY(!output.checkDevice()); // a working device stays
    MediaPlayer player(output);
    QSignalSpy ends(&player, &MediaPlayer::endOfStream);
    const QString wav = m_dir.filePath(QStringLiteral("unplugged.wav"));
    QVERIFY(mediatest::writeSound(wav, mediatest::toneSteps(22050, {440}, 1.0), 22050));
    player.setURL(wav);
    QTRY_COMPARE(player.openState(), MediaPlayer::MediaOpen);
    player.play();
    QTRY_VERIFY(player.currentPosition() > 0.1);
    const QString why = QString::fromUtf8("声音设备已断开");
    output.switchToSilence(why);
    QVERIFY(!output.hasDevice());
    QCOMPARE(output.notice(), why);
    const double at = player.currentPosition();
    QTRY_VERIFY(player.currentPosition() > at + 0.1);
    QTRY_COMPARE(ends.size(), 1);
    QCOMPARE(player.currentPosition(), player.duration());
    // Later opens and plays work the same, in silence.
    player.setRate(1.4);
    player.play();
    QTRY_COMPARE(ends.size(), 2);
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
