// Excerpt speed: F9's DigestSeg of a whole 10-second sentence of real speech in a 44.1 kHz stereo MP3
// lesson (range, speech check, cut, loudness, encode, files), against the floor of the same
// stretch only cut and encoded: the padded stretch DigestSeg cuts, and the padded range it
// encodes. Interleaved in one run; medians.
#include "../BenchUtil.h"
#include "core/UserSettings.h"
#include "player/excerpt/ExcerptKeys.h"
#include "libs/comm/SpeechEngine.h"
#include "libs/sentra/Resampler.h"
#include "libs/sentra/SentraBook.h"
#include "libs/sentra/SentraFacade.h"
#include "libs/sentra/SoundFiles.h"
#include "player/excerpt/ClipMaker.h"
#include "player/excerpt/ExcerptFiles.h"
#include "player/excerpt/Excerpts.h"
#include "player/excerpt/Padding.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sndfile.h>

#include <algorithm>

using namespace mvx;

namespace {

class YesAnswers final : public excerpt::ExcerptQuestions
{
public:
    bool Ask(const QString &) override { return true; }
    void Tell(const QString &text) override { qFatal("excerpt failed: %s", qPrintable(text)); }
    void SetBusy(bool) override {}
};

// 30 s of real speech (espeak-ng, news sentences, a short pause after each), as a learner's
// lesson holds it: 44.1 kHz stereo MP3. Sentence i of the book is the speech of 10 s slot i.
QByteArray LessonMp3(const QString &dir)
{
    const int rate = 44100;
    const QStringList lines = {
        QStringLiteral("The city council voted on Tuesday to build a new bridge across the river, "
                       "a project that officials say will take four years."),
        QStringLiteral("Scientists in Norway have found that the ice in the far north is melting "
                       "faster than they expected only ten years ago."),
        QStringLiteral("Farmers across the region hope that the rain forecast for next week will "
                       "save what is left of this year's harvest."),
    };
    SpeechEngine &speech = SpeechEngine::instance();
    if (!speech.available())
        qFatal("espeak-ng is not available");
    const sentra::Resampler up(speech.sampleRate(), rate);
    std::vector<float> data(size_t(30 * rate * 2), 0.0f);
    for (int s = 0; s < lines.size(); ++s) {
        QVector<qint16> voice;
        if (!speech.synthesize(lines[s], QString(), 140, voice))
            qFatal("espeak-ng produced nothing");
        std::vector<float> in(voice.begin(), voice.end());
        for (float &v : in)
            v /= 32768.0f;
        const qint64 outCount = std::min<qint64>(qint64(in.size()) * rate / speech.sampleRate(), 9 * rate);
        qint64 first = 0, count = 0;
        up.inputRange(0, outCount, &first, &count);
        std::vector<float> window(static_cast<size_t>(count), 0.0f);
        for (qint64 i = 0; i < count; ++i) {
            if (first + i >= 0 && first + i < qint64(in.size()))
                window[size_t(i)] = in[size_t(first + i)];
        }
        std::vector<float> out(static_cast<size_t>(outCount));
        up.process(window.data(), first, 0, outCount, out.data());
        const size_t at = size_t(s) * 10 * rate + rate / 5;
        for (qint64 i = 0; i < outCount; ++i) {
            data[2 * (at + size_t(i))] = out[size_t(i)];
            data[2 * (at + size_t(i)) + 1] = 0.9f * out[size_t(i)];
        }
    }
    const QString path = dir + QStringLiteral("/lesson.mp3");
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        qFatal("cannot write the lesson sound");
    sf_writef_float(f, data.data(), sf_count_t(data.size() / 2));
    sf_close(f);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    sentra::LessonData lesson;
    lesson.title = QStringLiteral("Bench");
    lesson.sound = LessonMp3(dir.path());
    for (int s = 0; s < 3; ++s) {
        sentra::SentenceData d;
        d.startMs = s * 10000;
        d.endMs = s * 10000 + 10000;
        d.english = QStringLiteral("Sentence %1.").arg(s);
        d.chinese = QStringLiteral("第 %1 句。").arg(s);
        lesson.sentences.append(d);
    }
    const QString bookPath = dir.path() + QStringLiteral("/bench.dat");
    {
        sentra::SentraBook book;
        if (!book.create(bookPath) || book.addLesson(lesson) < 0)
            qFatal("cannot make the bench book");
    }
    const int h = bcSentraBook_Open(bookPath, QStringLiteral("rb"));
    SaveUserBool(QString::fromLatin1(Key::DigestHint), false);
    SaveUserInt(QString::fromLatin1(Key::ExcerptPadMs), 150);
    excerpt::ExcerptFiles files;
    YesAnswers answers;
    excerpt::Excerpts excerpts(dir.path(), files, answers);
    const excerpt::ExcerptSpot spot{1, h, 1, 0, 0};
    excerpt::HandleStretches source(h);

    // The stretch DigestSeg cuts around sentence 1 and the range it keeps of it.
    const excerpt::MsRange sentence{10000, 20000};
    const excerpt::MsRange stretch = excerpt::PadStretch(sentence, 150, source.SoundMs(0));
    excerpt::Clip probe;
    if (!excerpt::SentenceClip(source, 0, sentence, 150, probe, nullptr))
        qFatal("cannot find the padded range");
    const qint64 keepFrom = excerpt::SampleAt(probe.range.startMs) - excerpt::SampleAt(stretch.startMs);
    const qint64 keepCount = excerpt::SampleAt(probe.range.endMs) - excerpt::SampleAt(probe.range.startMs);

    std::vector<double> digest, floor;
    for (int round = 0; round < 25; ++round) {
        double t0 = bench::nowMs();
        if (!excerpts.DigestSeg(QStringLiteral("bench"), spot))
            qFatal("DigestSeg failed");
        digest.push_back(bench::nowMs() - t0);

        t0 = bench::nowMs();
        std::vector<qint16> samples;
        QByteArray mp3;
        if (!source.Cut(0, stretch.startMs, stretch.endMs, samples, nullptr) || keepFrom + keepCount > qint64(samples.size())
            || !sentra::SoundFiles::encodeMp3(std::vector<qint16>(samples.begin() + keepFrom,
                                                                  samples.begin() + keepFrom + keepCount),
                                              excerpt::ClipRate, excerpt::ClipKbps, mp3))
            qFatal("floor failed");
        floor.push_back(bench::nowMs() - t0);
    }
    const double d = bench::median(digest);
    const double f = bench::median(floor);
    bench::figure("excerpt_sentence_ms", d, "ms");
    bench::figure("excerpt_floor_ms", f, "ms");
    bench::figure("excerpt_ratio", f > 0 ? d / f : 0, "x");
    return 0;
}
