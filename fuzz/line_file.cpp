// The line reader of the common library: each read is one line, within its byte limit as
// GBK counts it, without line ends or NULs. The first input byte picks the limit.
#include "FuzzSupport.h"
#include "core/TextCodec.h"
#include "libs/comm/LineFile.h"

using namespace mvx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    if (size == 0)
        return 0;
    const int limit = data[0] % 2 ? 0 : data[0] / 2; // 0: no limit; else up to 127 bytes
    const QString path = fuzz::writeFile(QStringLiteral("lines.txt"), fuzz::input(data + 1, size - 1));

    LineFile file;
    FUZZ_CHECK(file.open(path, LineFile::Mode::Read), path);
    QString line;
    int count = 0;
    while (file.readLine(line, limit)) {
        FUZZ_CHECK(limit == 0 || GbkByteLength(line) <= limit, line);
        // A CR inside a line is text (a cut may end on it); the line's own end is gone.
        FUZZ_CHECK(!line.contains(QLatin1Char('\n')), line);
        FUZZ_CHECK(!line.contains(QChar(0)), line);
        FUZZ_CHECK(++count <= int(size), QString::number(count));
    }
    file.close();

    // Appending keeps the file's encoding and its old text.
    LineFile append;
    FUZZ_CHECK(append.open(path, LineFile::Mode::Append), path);
    append.write(QStringLiteral("\r\nadded"));
    FUZZ_CHECK(append.close(), path);
    LineFile again;
    FUZZ_CHECK(again.open(path, LineFile::Mode::Read), path);
    QString last;
    while (again.readLine(line, 0))
        last = line;
    FUZZ_CHECK(last == QLatin1String("added"), last);
    return 0;
}
