// The notices file and its serial numbers: the count of new notices is the number of last
// lines newer than the seen serial, whatever the file holds.
#include "FuzzSupport.h"
#include "core/AppState.h"
#include "core/TextCodec.h"
#include "core/UserSettings.h"
#include "libs/comm/NoticeService.h"

using namespace mvx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    SaveAppSetting(App().appName, QStringLiteral("notices"), QStringLiteral("MaxViewedMsg"), QStringLiteral("0"));
    const QString path = fuzz::writeFile(QStringLiteral("notices.txt"), fuzz::input(data, size));
    const TextFileContent content = ReadTextFile(path);
    FUZZ_CHECK(content.ok, path);
    int lines = 0;
    for (const QString &line : content.lines) {
        lines += line.trimmed().isEmpty() ? 0 : 1;
        FUZZ_CHECK(NoticeService::SerialOf(line) >= -1, line);
    }
    const int count = NoticeService::NewCount(path);
    FUZZ_CHECK(count >= 0 && count <= lines, QString::number(count));
    for (int seen : {-1, 0, 5, 1 << 30})
        FUZZ_CHECK(NoticeService::CountNew(content.lines, seen) <= lines, QString::number(seen));
    // Once the newest serial is marked seen, nothing is new.
    if (count > 0) {
        int newest = -1;
        for (const QString &line : content.lines)
            newest = qMax(newest, NoticeService::SerialOf(line));
        const int before = NoticeService::SeenSerial();
        NoticeService::MarkSeen(newest);
        FUZZ_CHECK(NoticeService::NewCount(path) == 0, QString::number(newest));
        FUZZ_CHECK(NoticeService::SeenSerial() >= before, QString::number(before));
    }
    return 0;
}
