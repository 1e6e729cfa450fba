// Dictionary speed: opening the files, warm look-ups of inflected words, nearest
// spellings, and (when the windows are built) the call that shows the pop-up.
#include "BenchUtil.h"

#include "notedict/EcDictionary.h"
#include "notedict/NoteDictLib.h"

#ifdef MVX_BENCH_POPUP
#include "notedict/ui/NoteDictWindows.h"
#include <QApplication>
#include <QWidget>
#endif
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
#ifdef MVX_BENCH_POPUP
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    const QString idx = QStringLiteral(MVX_HOME "/mvxdictec.idx"), lib = QStringLiteral(MVX_HOME "/mvxdictec.lib");

    std::vector<double> opens;
    for (int i = 0; i < 20; ++i) {
        const double t0 = bench::nowMs();
        const int h = mvx::bcEcDict_Open(idx, lib);
        opens.push_back(bench::nowMs() - t0);
        if (!h) {
            std::fprintf(stderr, "cannot open the dictionary: %s\n", qPrintable(mvx::EcDictLastError()));
            return 1;
        }
        mvx::bcEcDict_Close(h);
    }
    bench::figure("dict_open_ms", bench::median(opens), "ms");

    mvx::EcDictionary dict;
    dict.open(idx, lib);
    const QStringList words = {"went", "reported", "studies", "children", "mice", "better", "government's",
                               "taught", "running", "bought", "women", "feet", "happier", "cities",
                               "Economy,", "leaves", "built", "written", "stopped", "countries"};
    for (const QString &w : words)
        if (!dict.lookup(w).found())
            std::fprintf(stderr, "not found: %s\n", qPrintable(w));
    std::vector<double> perWord;
    constexpr int reps = 300;
    for (const QString &w : words) {
        const double t0 = bench::nowMs();
        for (int i = 0; i < reps; ++i)
            (void)dict.lookup(w);
        perWord.push_back((bench::nowMs() - t0) * 1000.0 / reps);
    }
    bench::figure("dict_lookup_us", bench::median(perWord), "us");

    std::vector<double> near;
    for (const QString &w : {QStringLiteral("goverment"), QStringLiteral("recieve"), QStringLiteral("enviroment"),
                             QStringLiteral("beleive"), QStringLiteral("wether"), QStringLiteral("acommodation")}) {
        const double t0 = bench::nowMs();
        (void)dict.lookup(w);
        near.push_back(bench::nowMs() - t0);
    }
    bench::figure("dict_not_found_ms", bench::median(near), "ms");

#ifdef MVX_BENCH_POPUP
    QWidget owner;
    owner.resize(800, 600);
    owner.show();
    const int h = mvx::bcEcDict_Open(idx, lib);
    mvx::bcNoteDictInitEx(-1, h, QStringLiteral("mvxbrxspecial"), QString(), 0);
    std::vector<double> pops;
    for (int i = 0; i < 15; ++i) {
        const QString w = words.at(i % words.size());
        const double t0 = bench::nowMs();
        mvx::bcEcDict_PopSearchWnd(&owner, h, w, 200, 200, 60, 20, QString(), -1, -1);
        QCoreApplication::processEvents();
        pops.push_back(bench::nowMs() - t0);
    }
    bench::figure("dict_popup_ms", bench::median(pops), "ms");
    mvx::CloseNoteDictWindows();
#endif
    return 0;
}
