// Speed of the start-up notice check with nothing new in a 200-line notices file:
//   notices_check_ms  CheckNewMessages from the call to its return (no window shown)
//   notices_read_floor_ms  reading the same file as text, the floor it cannot go under
#include "BenchUtil.h"

#include "core/AppState.h"
#include "core/TextCodec.h"
#include "core/UserSettings.h"
#include "dialogs/Notices.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

using namespace mvx;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    qputenv("XDG_CONFIG_HOME", (tmp.path() + QStringLiteral("/config")).toLocal8Bit());
    App().appPath = tmp.path();
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines << QStringLiteral("%1.第%1条消息：新课文已经加入文章目录^https://example.org/news/%1").arg(i);
    const QString file = tmp.path() + QStringLiteral("/notices.txt");
    if (!WriteTextFile(file, lines))
        return 1;
    SaveAppSetting(App().appName, QStringLiteral("notices"), QStringLiteral("MaxViewedMsg"), QStringLiteral("200"));

    std::vector<double> floor;
    std::vector<double> check;
    for (int i = 0; i < 50; ++i) {
        double t0 = bench::nowMs();
        const TextFileContent content = ReadTextFile(file);
        floor.push_back(bench::nowMs() - t0);
        if (content.lines.size() != 200)
            return 1;
        t0 = bench::nowMs();
        CheckNewMessages();
        check.push_back(bench::nowMs() - t0);
    }
    bench::figure("notices_read_floor_ms", bench::median(floor), "ms");
    bench::figure("notices_check_ms", bench::median(check), "ms");
    return 0;
}
