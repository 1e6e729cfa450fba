// Dictation checking speed: a 40-word sentence against an answer with 10 faults (wrong,
// missing and extra words, a contraction and a number written the other way), median.
#include "BenchUtil.h"

#include "notedict/DictationCompare.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString text = QStringLiteral(
        "The government said on Tuesday that it can't raise the price of rice by more than 3.5% this year, "
        "because farmers in the north have had a very dry spring and 1,200 families still need help from "
        "the city before the summer rains come.");
    const QString typed = QStringLiteral(
        "the goverment said on tuesday that it can not rise the price of rice by more then three point five "
        "percent this year because farmer in north have had very dry spring and one thousand two hundred "
        "family still needs help from a city before summer rain comes");
    std::vector<double> runs;
    int right = 0;
    for (int i = 0; i < 400; ++i) {
        const double t0 = bench::nowMs();
        right += mvx::CompareDictation(text, typed).right;
        runs.push_back((bench::nowMs() - t0) * 1000.0);
    }
    if (right == 0)
        return 1;
    bench::figure("dictation_compare_us", bench::median(runs), "us");
    return 0;
}
