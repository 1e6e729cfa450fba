// Sentence-book speed: a sentence's sound on a sentence change (against the floor of just
// seeking and decoding the same stretch), and writing a lesson's four pages.
#include "BenchUtil.h"
#include "libs/sentra/LessonSound.h"
#include "libs/sentra/SentraBook.h"
#include "libs/sentra/SentraFacade.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <sndfile.h>

#include <array>
#include <cmath>
#include <ctime>

using namespace mvx::sentra;

namespace {

// A 44.1 kHz stereo MP3 of speech-like noise bursts, the kind of lesson a learner brings.
QByteArray makeMp3(const QString &path, double seconds)
{
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 2;
    info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        qFatal("cannot write %s", qPrintable(path));
    int cbr = SF_BITRATE_MODE_CONSTANT;
    sf_command(f, SFC_SET_BITRATE_MODE, &cbr, sizeof cbr);
    const qint64 frames = qint64(seconds * 44100);
    std::vector<float> block(2 * 4410);
    quint32 seed = 12345;
    for (qint64 at = 0; at < frames; at += 4410) {
        const qint64 n = std::min<qint64>(4410, frames - at);
        for (qint64 i = 0; i < n; ++i) {
            const double t = double(at + i) / 44100;
            seed = seed * 1664525u + 1013904223u;
            const double noise = (double(seed >> 8) / double(1 << 24) - 0.5) * 0.2;
            const double voice = 0.3 * std::sin(2 * M_PI * (140 + 30 * std::sin(t)) * t)
                                 * (0.5 + 0.5 * std::sin(2 * M_PI * 3 * t));
            block[size_t(2 * i)] = float(voice + noise);
            block[size_t(2 * i + 1)] = float(voice - noise);
        }
        sf_writef_float(f, block.data(), n);
    }
    sf_close(f);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QString sentenceText(int i)
{
    static const QStringList words = QStringLiteral(
        "the president said on Monday that farmers in the northern provinces would get more help "
        "with water and seeds after a long dry season hurt crops across the region").split(u' ');
    QStringList s;
    for (int w = 0; w < 22; ++w)
        s << words[(i * 7 + w) % words.size()];
    return s.join(u' ') + u'.';
}

LessonData textLesson(int sentences, const QByteArray &sound)
{
    LessonData l;
    l.title = QStringLiteral("Lesson of %1 sentences").arg(sentences);
    l.sound = sound;
    for (int i = 0; i < sentences; ++i) {
        SentenceData s;
        s.startMs = i * 10;
        s.endMs = i * 10 + 10;
        s.english = sentenceText(i);
        s.chinese = QStringLiteral("总统周一说，北方省份的农民在漫长的旱季之后将获得更多的水和种子帮助。");
        s.comment = i % 3 == 0 ? QStringLiteral("season: 季节") : QString();
        s.isTitle = i == 0;
        s.keywords = {3, 9};
        s.newwords = {12};
        l.sentences.append(s);
    }
    return l;
}

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double timeMakeHtml(int h, int lesson, int runs)
{
    const QString d = QDir::tempPath() + QStringLiteral("/bench_sentra");
    std::array<int, MaxSentencesPerLesson> degrees{};
    std::vector<double> times;
    for (int r = 0; r < runs + 1; ++r) {
        int first = 0, count = 0, title = 0;
        const double t0 = bench::nowMs();
        const int rc = bcSentraBook_MakeHtml(h, d + "/e.htm", d + "/c.htm", d + "/z.htm", d + "/ec.htm",
                                             lesson, -1, 0, 0x000080, 0x404040, 0xFF0000, -1, -1,
                                             &first, &count, &title, degrees,
                                             QStringLiteral("FONT-SIZE: 12pt; FONT-FAMILY: Arial"),
                                             QStringLiteral("FONT-SIZE: 12pt; FONT-FAMILY: 宋体"), 0);
        const double t = bench::nowMs() - t0;
        if (rc != 1)
            qFatal("page making failed");
        if (r > 0) // the first run warms the file cache
            times.push_back(t);
    }
    return bench::median(times);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString dir = QDir::tempPath() + QStringLiteral("/bench_sentra");
    QDir().mkpath(dir);

    // A 3-minute MP3 lesson of 10-second sentences; the one measured starts at 90 s.
    const QByteArray mp3 = makeMp3(dir + "/lesson.mp3", 180.0);
    LessonData lesson;
    lesson.title = QStringLiteral("Three minutes");
    lesson.sound = mp3;
    for (int i = 0; i < 18; ++i) {
        SentenceData s;
        s.startMs = i * 10000;
        s.endMs = i * 10000 + 10000;
        s.english = sentenceText(i);
        lesson.sentences.append(s);
    }
    SentraBook maker;
    if (!maker.create(dir + "/bench.dat", true) || maker.addLesson(lesson) < 0
        || maker.addLesson(textLesson(60, mp3)) < 0
        || maker.addLesson(textLesson(MaxSentencesPerLesson, mp3)) < 0)
        qFatal("cannot make the book: %s", qPrintable(maker.lastError()));
    maker.close();

    const int h = bcSentraBook_Open(dir + "/bench.dat", QStringLiteral("r+b"));
    const QString base = dir + "/rndsnd1";
    LessonSound open(mp3); // for the floor: the same stretch only sought and decoded
    std::vector<float> raw;
    bcSentence_MakeSndFile(h, 9, 0, 0, nullptr, base, -1, 0); // opens the lesson's decoder
    open.readRaw(0, 44100, raw);
    // The two are measured in turns, so that a busy machine weighs on both alike; CPU times
    // are given too, as they do not depend on what else runs.
    const int runs = 25;
    std::vector<double> sound, floor, soundCpu, floorCpu;
    for (int r = 0; r < runs; ++r) {
        // Another sentence first, as in playing on, so each measured cut seeks.
        bcSentence_MakeSndFile(h, r % 2 ? 3 : 15, 0, 0, nullptr, base, -1, 0);
        double c0 = cpuMs(), t0 = bench::nowMs();
        if (bcSentence_MakeSndFile(h, 9, 0, 0, nullptr, base, -1, 0) != 0)
            qFatal("sentence sound failed");
        sound.push_back(bench::nowMs() - t0);
        soundCpu.push_back(cpuMs() - c0);

        open.readRaw(r % 2 ? 30 * 44100 : 150 * 44100, 44100, raw);
        c0 = cpuMs();
        t0 = bench::nowMs();
        if (!open.readRaw(90 * 44100, 10 * 44100, raw))
            qFatal("decoding failed");
        floor.push_back(bench::nowMs() - t0);
        floorCpu.push_back(cpuMs() - c0);
    }
    bench::figure("sentence_sound_ms", bench::median(sound), "ms");
    bench::figure("sentence_decode_floor_ms", bench::median(floor), "ms");
    bench::figure("sentence_sound_cpu_ms", bench::median(soundCpu), "ms");
    bench::figure("sentence_decode_floor_cpu_ms", bench::median(floorCpu), "ms");
    bench::figure("make_html_60_ms", timeMakeHtml(h, 1, 20), "ms");
    bench::figure("make_html_3501_ms", timeMakeHtml(h, 2, 5), "ms");
    bcSentraBook_Close(h);
    return 0;
}
