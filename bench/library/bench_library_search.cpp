// The library search over a synthetic library of 100,000 sentences (200 books of 500 each,
// words and Chinese characters drawn with Zipf weights): building the search file from
// nothing, the freshness check when nothing changed (beside its floor: reading the index and
// looking at every book file), and fixed queries for the first 200 hits.
#include "../BenchUtil.h"
#include "core/TextCodec.h"
#include "libs/sentra/SentraBook.h"
#include "library/LibrarySearch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <cmath>
#include <random>

namespace {

constexpr int Books = 200;
constexpr int PerBook = 500;

QByteArray quietWav(int ms)
{
    const int samples = 22050 * ms / 1000;
    QByteArray out("RIFF");
    auto u32 = [&out](quint32 v) { char b[4]; qToLittleEndian<quint32>(v, b); out.append(b, 4); };
    auto u16 = [&out](quint16 v) { char b[2]; qToLittleEndian<quint16>(v, b); out.append(b, 2); };
    u32(36 + samples * 2);
    out.append("WAVEfmt ");
    u32(16); u16(1); u16(1); u32(22050); u32(44100); u16(2); u16(16);
    out.append("data");
    u32(samples * 2);
    out.append(QByteArray(samples * 2, '\0'));
    return out;
}

struct Zipf
{
    std::discrete_distribution<int> pick;
    explicit Zipf(int n)
    {
        std::vector<double> w(n);
        for (int i = 0; i < n; ++i)
            w[i] = 1.0 / (i + 1);
        pick = std::discrete_distribution<int>(w.begin(), w.end());
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QDir().mkpath(QStringLiteral("lib"));
    std::mt19937 rng(7);
    // A vocabulary of made-up words and the common Chinese characters.
    const char *syll[] = {"ka", "re", "mo", "ti", "su", "pan", "dor", "vel", "qui", "ber", "lo", "zen", "sta", "pri", "gra"};
    QStringList words;
    for (int i = 0; words.size() < 6000; ++i) {
        QString w;
        for (int k = 0, n = 1 + i % 3 + (i / 15) % 2; k < n; ++k)
            w += QLatin1String(syll[(i / (k * 7 + 1) + k * 3) % 15]);
        w += QString::number(i % 10 == 0 ? i : 0).remove(u'0');
        if (!words.contains(w))
            words << w;
    }
    QStringList chars;
    for (char32_t c = 0x4E00; chars.size() < 3000; c += 7)
        chars << QString::fromUcs4(&c, 1);
    Zipf wordZipf(int(words.size())), charZipf(int(chars.size()));
    std::uniform_int_distribution<int> len(6, 16);
    QStringList index{QStringLiteral("CLAS0001Bench||lib")};
    QString sample4;
    const QByteArray wav = quietWav(PerBook * 10 + 100);
    for (int b = 0; b < Books; ++b) {
        mvx::sentra::LessonData lesson;
        lesson.title = QStringLiteral("Book %1").arg(b);
        lesson.sound = wav;
        for (int s = 0; s < PerBook; ++s) {
            QStringList en;
            QString zh;
            for (int k = len(rng); k > 0; --k)
                en << words[wordZipf.pick(rng)];
            for (int k = len(rng) + 4; k > 0; --k)
                zh += chars[charZipf.pick(rng)];
            if (sample4.isEmpty() && b == 100)
                sample4 = zh.left(4);
            lesson.sentences.push_back({s * 10, s * 10 + 9, en.join(u' ') + u'.', zh + QStringLiteral("。"), {}, false, 0, {}, {}});
        }
        mvx::sentra::SentraBook book;
        if (!book.create(QStringLiteral("lib/b%1.dat").arg(b), true) || book.addLesson(lesson) < 0) {
            std::fprintf(stderr, "cannot make book %d\n", b);
            return 1;
        }
        index << QStringLiteral("FILEArticle %1|sentra|b%1.dat|0|0").arg(b);
    }
    mvx::WriteTextFile(QStringLiteral("Idx.txt"), index, mvx::TextEncoding::Utf8);

    double t0 = bench::nowMs();
    {
        mvx::LibrarySearch build(QStringLiteral("Idx.txt"));
        build.Refresh();
    }
    bench::figure("library_index_build_s", (bench::nowMs() - t0) / 1000, "s");

    std::vector<double> checks, floors;
    for (int i = 0; i < 7; ++i) {
        t0 = bench::nowMs();
        mvx::LibrarySearch check(QStringLiteral("Idx.txt"));
        check.Refresh();
        checks.push_back(bench::nowMs() - t0);
        t0 = bench::nowMs();
        qint64 total = mvx::ReadTextFile(QStringLiteral("Idx.txt")).lines.size();
        for (int b = 0; b < Books; ++b)
            total += QFileInfo(QStringLiteral("lib/b%1.dat").arg(b)).size();
        floors.push_back(bench::nowMs() - t0 + double(total == 0));
    }
    bench::figure("library_index_check_ms", bench::median(checks), "ms");
    bench::figure("library_index_check_floor_ms", bench::median(floors), "ms");

    const QStringList queries{words[9].left(3),                 // English prefix
                              words[0],                         // the commonest word
                              words[4000],                      // a rare word
                              words[3] + u' ' + words[40],      // two words
                              chars[0],                         // one Chinese character
                              chars[1] + chars[5],              // two
                              sample4,                          // four, from a sentence
                              QStringLiteral("xqzzyv")};       // a miss
    mvx::LibrarySearch search(QStringLiteral("Idx.txt"));
    search.Refresh();
    std::vector<double> all;
    double worst = 0;
    for (const QString &q : queries) {
        std::vector<double> times;
        int hits = 0;
        for (int r = 0; r < 5; ++r) {
            t0 = bench::nowMs();
            hits = int(search.Search(q, 200).hits.size());
            times.push_back(bench::nowMs() - t0);
        }
        const double m = bench::median(times);
        std::fprintf(stderr, "query %-12s hits %3d  %.2f ms\n", qPrintable(q), hits, m);
        all.push_back(m);
        worst = std::max(worst, m);
    }
    bench::figure("library_search_ms", bench::median(all), "ms");
    bench::figure("library_search_worst_ms", worst, "ms");
    return 0;
}
