// Building the library tree of a 9,999-node index.
#include "BenchUtil.h"
#include "library/ArticleIndex.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList lines;
    for (int top = 1; top <= 101; ++top) {
        lines << QStringLiteral("CLAS0001类别%1||brxspecial").arg(top);
        for (int sub = 0; sub < 9; ++sub) {
            lines << QStringLiteral("CLAS0002子类%1").arg(sub);
            for (int a = 0; a < 10; ++a)
                lines << QStringLiteral("FILE文章标题 %1|sentra|文化习俗.dat|%1|0").arg(a);
        }
    }
    std::vector<double> times;
    for (int round = 0; round < 15; ++round) {
        const double t0 = bench::nowMs();
        const mvx::ArticleTree tree = mvx::ArticleIndex::build(QStringLiteral("BrxSpecialIdx.txt"), lines);
        times.push_back(bench::nowMs() - t0);
        if (tree.nodes.size() != mvx::ArticleIndex::MaxNodes)
            return 1;
    }
    bench::figure("tree_9999_ms", bench::median(times), "ms");
    return 0;
}
