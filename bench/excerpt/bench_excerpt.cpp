// Excerpt speed: F9's DigestSeg of a whole 10-second sentence of a 44.1 kHz stereo MP3
// lesson (range, speech check, cut, loudness, encode, files), against the floor of the same
// stretch only cut and encoded. Interleaved in one run; medians.
#include "../BenchUtil.h"
#include "core/UserSettings.h"
#include "player/excerpt/ExcerptKeys.h"
#include "libs/sentra/SentraBook.h"
#include "libs/sentra/SentraFacade.h"
#include "libs/sentra/SoundFiles.h"
#include "player/excerpt/ClipMaker.h"
#include "player/excerpt/ExcerptFiles.h"
#include "player/excerpt/Excerpts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sndfile.h>

#include <cmath>

using namespace mvx;

namespace {

class YesAnswers final : public excerpt::ExcerptQuestions
{
public:
    bool Ask(const QString &) override { return true; }
    void Tell(const QString &text) override { qFatal("excerpt failed: %s", qPrintable(text)); }
    void SetBusy(bool) override {}
};

// 30 s of speech-like sound: syllables of a gliding tone, short pauses, 44.1 kHz stereo MP3.
QByteArray LessonMp3(const QString &dir)
{
    const int rate = 44100;
    const QString path = dir + QStringLiteral("/lesson.mp3");
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        qFatal("cannot write the lesson sound");
    const qint64 frames = 30LL * rate;
    std::vector<float> data(size_t(frames * 2));
    for (qint64 i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        const double syllable = std::fmod(t, 0.25) < 0.18 ? std::sin(M_PI * std::fmod(t, 0.25) / 0.18) : 0.0;
        const double pause = std::fmod(t, 10.0) > 9.6 ? 0.0 : 1.0;
        const double v = 0.3 * syllable * pause * std::sin(2 * M_PI * (150 + 60 * std::sin(t)) * t);
        data[size_t(2 * i)] = float(v);
        data[size_t(2 * i + 1)] = float(v * 0.9);
    }
    sf_writef_float(f, data.data(), frames);
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

    std::vector<double> digest, floor;
    for (int round = 0; round < 9; ++round) {
        double t0 = bench::nowMs();
        if (!excerpts.DigestSeg(QStringLiteral("bench"), spot))
            qFatal("DigestSeg failed");
        digest.push_back(bench::nowMs() - t0);

        t0 = bench::nowMs();
        std::vector<qint16> samples;
        QByteArray mp3;
        if (source.Cut(0, 10000, 20000, samples, nullptr) != true
            || !sentra::SoundFiles::encodeMp3(samples, excerpt::ClipRate, excerpt::ClipKbps, mp3))
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
