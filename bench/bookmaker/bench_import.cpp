// Importing a learner's lesson as the learner does it: the book maker command makes a
// lesson from a 30-minute MP3 and 400 bilingual SRT cues (both made here), beside the floor
// of decoding that MP3 alone, measured in the same run.
//   import_decode_floor_ms  reading every sample of the MP3 with libsndfile
//   import_srt_ms           mvxbrx-makebook --subtitles (whole process: read, check, decode, write book and index)
//   import_srt_regroup_ms   the same with --regroup (pauses found and cues split or joined)
#include "BenchUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <sndfile.h>

namespace {

constexpr int Rate = 22050;
constexpr int Minutes = 30;
constexpr int Cues = 400;

// Tone "speech" with a pause of a second after every cue's stretch.
bool writeMp3(const QString &path)
{
    SF_INFO info{};
    info.samplerate = Rate;
    info.channels = 1;
    info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        return false;
    const qint64 total = qint64(Rate) * 60 * Minutes;
    const qint64 cueLen = total / Cues;
    std::vector<float> block(static_cast<size_t>(Rate));
    for (qint64 at = 0; at < total; at += qint64(block.size())) {
        const size_t n = size_t(std::min<qint64>(qint64(block.size()), total - at));
        for (size_t i = 0; i < n; ++i) {
            const qint64 s = at + qint64(i);
            const bool quiet = s % cueLen > cueLen - Rate;
            block[i] = quiet ? 0.0f : float(0.4 * std::sin(2 * M_PI * (180 + s / 3000 % 60) * double(s) / Rate));
        }
        if (sf_write_float(f, block.data(), sf_count_t(n)) != sf_count_t(n)) {
            sf_close(f);
            return false;
        }
    }
    sf_close(f);
    return true;
}

QString srtTime(qint64 ms)
{
    return QStringLiteral("%1:%2:%3,%4")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

bool writeSrt(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const qint64 cueMs = qint64(Minutes) * 60000 / Cues;
    QString text;
    for (int i = 0; i < Cues; ++i) {
        const qint64 start = i * cueMs;
        // Every other cue ends in the middle of a sentence, so regrouping joins and splits.
        const QString english = i % 2 ? QStringLiteral("and this is sentence %1 of the news. It ends here.").arg(i)
                                      : QStringLiteral("<i>Cue %1 tells</i> the learner").arg(i);
        text += QStringLiteral("%1\r\n%2 --> %3\r\n%4\r\n第 %1 条字幕的中文。\r\n\r\n")
                    .arg(i + 1)
                    .arg(srtTime(start), srtTime(start + cueMs - 1000), english);
    }
    return f.write(text.toUtf8()) > 0;
}

double decodeMs(const QString &path)
{
    const double t0 = bench::nowMs();
    SF_INFO info{};
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!f)
        return -1;
    std::vector<float> block(size_t(4096) * size_t(std::max(1, info.channels)));
    double sum = 0;
    while (const sf_count_t got = sf_readf_float(f, block.data(), 4096))
        sum += block[0] * double(got);
    sf_close(f);
    const double ms = bench::nowMs() - t0;
    return sum == 12345.678 ? -1 : ms; // keeps the loop
}

double importMs(const QString &dir, const QString &mp3, const QString &srt, bool regroup, int run)
{
    const QString home = QDir(dir).filePath(QStringLiteral("home%1").arg(run));
    QDir().mkpath(home + QStringLiteral("/我的课文"));
    QStringList args{QStringLiteral("--book"), home + QStringLiteral("/我的课文/新闻.dat"), QStringLiteral("--audio"), mp3,
                     QStringLiteral("--subtitles"), srt, QStringLiteral("--index"), home + QStringLiteral("/BrxSpecialIdx.txt"),
                     QStringLiteral("--category"), QStringLiteral("我的课文/新闻"), QStringLiteral("--title"),
                     QStringLiteral("Thirty minutes")};
    if (regroup)
        args << QStringLiteral("--regroup");
    QProcess p;
    const double t0 = bench::nowMs();
    p.start(QStringLiteral(MVX_HOME) + QStringLiteral("/mvxbrx-makebook"), args);
    if (!p.waitForFinished(600000) || p.exitCode() != 0) {
        std::fprintf(stderr, "bench_import: %s\n", p.readAllStandardError().constData());
        return -1;
    }
    return bench::nowMs() - t0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString mp3 = dir.filePath(QStringLiteral("news.mp3"));
    const QString srt = dir.filePath(QStringLiteral("news.srt"));
    if (!dir.isValid() || !writeMp3(mp3) || !writeSrt(srt)) {
        std::fputs("bench_import: cannot make the test files\n", stderr);
        return 1;
    }
    std::vector<double> floor, plain, regrouped;
    for (int run = 0; run < 3; ++run) {
        floor.push_back(decodeMs(mp3));
        plain.push_back(importMs(dir.path(), mp3, srt, false, run * 2));
        regrouped.push_back(importMs(dir.path(), mp3, srt, true, run * 2 + 1));
    }
    for (const auto *v : {&floor, &plain, &regrouped})
        if (*std::min_element(v->begin(), v->end()) < 0)
            return 1;
    bench::figure("import_decode_floor_ms", bench::median(floor), "ms");
    bench::figure("import_srt_ms", bench::median(plain), "ms");
    bench::figure("import_srt_regroup_ms", bench::median(regrouped), "ms");
    return 0;
}
