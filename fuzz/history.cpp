// The listening history file, copied from another machine or damaged on disk: a small valid
// history made here, its bytes changed by the input (see fuzz::patched). Whatever opens is
// read, reported on and counted into; a damaged file is set aside and a fresh one started;
// afterwards the file passes SQLite's integrity check and holds the new counts.
#include "FuzzSupport.h"
#include "player/history/HistoryReport.h"
#include "player/history/ListeningHistory.h"

#include <QDir>

using namespace mvx;

namespace {

const QString kFolder = QStringLiteral("/history");
const QString kBook = QStringLiteral("/nowhere/book.dat"); // no book: the counts alone
const QDateTime kAt = QDateTime::fromSecsSinceEpoch(1700000000);

QByteArray makeHistory()
{
    const QString dir = fuzz::scratch() + QStringLiteral("/base");
    QDir().mkpath(dir);
    const QString path = dir + QStringLiteral("/history.db");
    {
        ListeningHistory h(path);
        if (!h.IsOpen())
            fuzz::fail("cannot make the base history", h.Notice());
        h.Count(kBook, 0, 3, ListeningHistory::Heard::Repeated, kAt);
        h.Count(kBook, 0, 4, ListeningHistory::Heard::LookedUp, kAt);
        h.Count(kBook, 1, 9, ListeningHistory::Heard::Played, kAt);
        h.AddStudyTime(kBook, 0, kAt.date(), 90'000);
        if (!h.Flush())
            fuzz::fail("cannot write the base history", h.Notice());
    }
    fuzz::shrinkDatabase(path);
    return fuzz::readFile(path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    static const QByteArray base = makeHistory();
    QDir(fuzz::scratch() + kFolder).removeRecursively(); // files set aside by the last input
    QDir().mkpath(fuzz::scratch() + kFolder);
    const QString path = fuzz::writeFile(kFolder + QStringLiteral("/history.db"), fuzz::patched(base, fuzz::input(data, size)));
    {
        ListeningHistory h(path);
        if (!h.IsOpen()) {
            FUZZ_CHECK(!h.Notice().isEmpty(), path); // never silently in memory only
            return 0;
        }
        for (const ListeningHistory::LessonKey &k : h.Lessons())
            (void)ReportLines(MakeLessonReport(h, k.book, k.lessonNo, 10, kAt));
        h.Count(kBook, 0, 5, ListeningHistory::Heard::Repeated, kAt);
        h.AddStudyTime(kBook, 0, kAt.date(), 60'000);
        FUZZ_CHECK(h.Flush(), h.Notice());
    }
    FUZZ_CHECK(fuzz::integrityOk(path), path);
    ListeningHistory again(path);
    bool found = false;
    for (const SentenceCounts &c : again.LessonSentences(kBook, 0))
        found = found || (c.noInAll == 5 && c.repeats >= 1);
    FUZZ_CHECK(found, again.Notice());
    return 0;
}
