// mvxdictbuild CSV LEMMA OUTBASE: builds OUTBASE.idx and OUTBASE.lib from ECDICT.
#include "EcDictBuilder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: mvxdictbuild ecdict.csv lemma.en.txt out/mvxdictec\n");
        return 2;
    }
    QElapsedTimer t;
    t.start();
    mvx::EcDictBuilder builder;
    if (!builder.build(args[1], args[2], args[3])) {
        std::fprintf(stderr, "mvxdictbuild: %s\n", qPrintable(builder.errorText()));
        return 1;
    }
    const auto &s = builder.stats();
    std::printf("mvxdictbuild: %d rows (%d skipped), %d entries, %d inflected forms, %d suggestion words, %lld ms\n",
                s.rows, s.skippedRows, s.entries, s.formKeys, s.suggestWords, qlonglong(t.elapsed()));
    return 0;
}
