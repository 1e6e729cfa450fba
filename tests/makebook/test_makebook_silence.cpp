// Sentence boundaries found from the pauses of speech-like sound.
#include "libs/sentra/SilenceDetector.h"
#include "SoundFixture.h"

#include <QTest>

using namespace mvx;

class TestMakebookSilence : public QObject
{
    Q_OBJECT
private slots:
    void boundariesInsidePauses_data();
    void boundariesInsidePauses();
    void tooFewPauses();
    void silenceOnly();
    void oneSentence();
};

void TestMakebookSilence::boundariesInsidePauses_data()
{
    QTest::addColumn<std::vector<int>>("sentences");
    QTest::addColumn<std::vector<int>>("pauses");
    QTest::addColumn<double>("noise");
    QTest::addColumn<int>("innerGap");
    QTest::addColumn<int>("rate");
    QTest::addRow("clean, even pauses") << std::vector<int>{1500, 2200, 900, 1800, 2600}
                                         << std::vector<int>{450, 450, 450, 450, 300} << 0.0 << 70 << 22050;
    QTest::addRow("clean, uneven pauses") << std::vector<int>{1500, 2200, 900, 1800}
                                           << std::vector<int>{300, 800, 400, 100} << 0.0 << 70 << 22050;
    QTest::addRow("room noise") << std::vector<int>{1400, 2000, 1100} << std::vector<int>{500, 600, 500}
                                << 0.003 << 70 << 44100;
    QTest::addRow("commas shorter than sentence ends") << std::vector<int>{2000, 2500, 1500}
                                                      << std::vector<int>{600, 550, 200} << 0.001 << 200 << 16000;
    // Frames of 220 samples at 22050 Hz are a little shorter than 10 ms: no drift over minutes.
    QTest::addRow("two minutes at 22050 Hz") << std::vector<int>(50, 2000) << std::vector<int>(50, 450) << 0.0 << 70
                                             << 22050;
}

void TestMakebookSilence::boundariesInsidePauses()
{
    QFETCH(std::vector<int>, sentences);
    QFETCH(std::vector<int>, pauses);
    QFETCH(double, noise);
    QFETCH(int, innerGap);
    QFETCH(int, rate);
    const fixture::Speech s = fixture::makeSpeech(sentences, pauses, 250, noise, innerGap, rate);
    const SilenceResult r = SilenceDetector::split(s.samples, s.rate, int(sentences.size()));
    QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
    QCOMPARE(r.sentences.size(), qsizetype(sentences.size()));
    QVERIFY(r.sentences.first().startMs <= s.speech.front().first);
    QCOMPARE(r.sentences.last().endMs, qint64(s.samples.size()) * 1000 / s.rate);
    for (size_t k = 0; k + 1 < sentences.size(); ++k) {
        const qint64 boundary = r.sentences[qsizetype(k)].endMs;
        QCOMPARE(r.sentences[qsizetype(k) + 1].startMs, boundary);
        // Inside the pause, frame rounding allowed, and leaving the speech whole.
        QVERIFY2(boundary >= s.pauses[k].first && boundary <= s.pauses[k].second,
                 qPrintable(QStringLiteral("boundary %1 outside pause %2-%3")
                                .arg(boundary).arg(s.pauses[k].first).arg(s.pauses[k].second)));
        // Most of the pause stays with the sentence that ends: the player stops 150 ms early.
        QVERIFY(boundary - s.pauses[k].first >= (s.pauses[k].second - s.pauses[k].first) / 2 - 10);
    }
}

void TestMakebookSilence::tooFewPauses()
{
    const fixture::Speech s = fixture::makeSpeech({1500, 1500, 1500}, {400, 400, 400});
    const SilenceResult r = SilenceDetector::split(s.samples, s.rate, 5);
    QVERIFY(!r.error.isEmpty());
    QCOMPARE(r.pausesFound, 2); // the gaps inside sentences are too short to count
    QVERIFY(r.sentences.isEmpty());
}

void TestMakebookSilence::silenceOnly()
{
    const std::vector<float> quiet(22050 * 3, 0.0f);
    const SilenceResult r = SilenceDetector::split(quiet, 22050, 2);
    QVERIFY(!r.error.isEmpty());
    QVERIFY(r.sentences.isEmpty());
}

void TestMakebookSilence::oneSentence()
{
    const fixture::Speech s = fixture::makeSpeech({2000}, {500}, 600);
    const SilenceResult r = SilenceDetector::split(s.samples, s.rate, 1);
    QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
    QCOMPARE(r.sentences.size(), 1);
    QVERIFY(r.sentences[0].startMs >= 600 - SilenceDetector::LeadMs - SilenceDetector::FrameMs);
    QVERIFY(r.sentences[0].startMs <= 600);
    QCOMPARE(r.sentences[0].endMs, qint64(s.samples.size()) * 1000 / s.rate);
}

QTEST_GUILESS_MAIN(TestMakebookSilence)
#include "test_makebook_silence.moc"
