// Listening-history speed figures on a synthetic 3,501-sentence lesson with a year of history:
//   history_write_us        one batched write of the player (a second's counts: 20 events on
//                           a few sentences and the study time), median
//   history_write_floor_us  one row written in its own transaction to a file beside it: the
//                           least a durable write costs there, the floor of the above
//   hard_list_ms            the lesson's 10 hardest sentences as "只听难句" and the study-record
//                           window make them (history read, book opened, dictation looked up)
//   hard_list_floor_ms      only reading the lesson's rows of the history, its floor
#include "BenchUtil.h"

#include "libs/sentra/SentraBook.h"
#include "player/history/HistoryReport.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace mvx;

namespace {

constexpr int Sentences = 3501;
constexpr int SentenceMs = 100;

// A silent 8000 Hz WAV as long as the lesson.
QByteArray SilentWave(int ms)
{
    const int rate = 8000;
    const quint32 bytes = quint32(qint64(rate) * ms / 1000 * 2);
    QByteArray out("RIFF");
    auto put32 = [&out](quint32 v) { out.append(reinterpret_cast<const char *>(&v), 4); };
    auto put16 = [&out](quint16 v) { out.append(reinterpret_cast<const char *>(&v), 2); };
    put32(36 + bytes);
    out.append("WAVEfmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    out.append("data");
    put32(bytes);
    return out + QByteArray(int(bytes), '\0');
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString bookFile = tmp.path() + QStringLiteral("/year.dat");
    sentra::LessonData lesson;
    lesson.title = QStringLiteral("A long lesson");
    lesson.sound = SilentWave(Sentences * SentenceMs);
    for (int i = 0; i < Sentences; ++i) {
        sentra::SentenceData s;
        s.startMs = i * SentenceMs;
        s.endMs = (i + 1) * SentenceMs;
        s.english = QStringLiteral("Sentence %1 of a long lesson.").arg(i);
        lesson.sentences << s;
    }
    {
        sentra::SentraBook book;
        if (!book.create(bookFile, true) || book.addLesson(lesson) < 0)
            qFatal("cannot make the bench book: %s", qPrintable(book.lastError()));
        const QDateTime now = QDateTime::currentDateTime();
        for (int i = 0; i < Sentences; i += 7)
            book.setDictation(i, 3, 5, now.addDays(-(i % 60)));
    }

    // A year of study: every day some sentences heard, repeated and looked up.
    const QString historyFile = tmp.path() + QStringLiteral("/history.db");
    const QString book = ListeningHistory::BookKey(bookFile);
    const QDateTime now = QDateTime::currentDateTime();
    QRandomGenerator random(24);
    {
        ListeningHistory h(historyFile);
        for (int day = 365; day > 0; --day) {
            const QDateTime at = now.addDays(-day);
            for (int k = 0; k < 60; ++k) {
                const int n = int(random.bounded(Sentences));
                h.Count(book, 0, n, ListeningHistory::Heard::Played, at);
                if (random.bounded(3) == 0)
                    h.Count(book, 0, n, ListeningHistory::Heard::Repeated, at);
                if (random.bounded(10) == 0)
                    h.Count(book, 0, n, ListeningHistory::Heard::LookedUp, at);
            }
            h.AddStudyTime(book, 0, at.date(), 20 * 60 * 1000);
            h.Flush();
        }
    }

    ListeningHistory h(historyFile);
    std::vector<double> writes;
    std::vector<double> floors;
    SqliteDb raw;
    raw.open(tmp.path() + QStringLiteral("/floor.db"), SqliteDb::Mode::ReadWriteCreate);
    raw.exec(QStringLiteral("CREATE TABLE t (x INTEGER)"));
    for (int i = 0; i < 41; ++i) {
        for (int k = 0; k < 20; ++k)
            h.Count(book, 0, 100 + (i + k) % 5, ListeningHistory::Heard::Repeated, now);
        h.AddStudyTime(book, 0, now.date(), 1000);
        double t0 = bench::nowMs();
        h.Flush();
        writes.push_back((bench::nowMs() - t0) * 1000.0);
        t0 = bench::nowMs();
        raw.begin();
        raw.exec(QStringLiteral("INSERT INTO t VALUES (1)"));
        raw.commit();
        floors.push_back((bench::nowMs() - t0) * 1000.0);
    }
    bench::figure("history_write_us", bench::median(writes), "us");
    bench::figure("history_write_floor_us", bench::median(floors), "us");

    std::vector<double> lists;
    std::vector<double> listFloors;
    int found = 0;
    for (int i = 0; i < 11; ++i) {
        double t0 = bench::nowMs();
        found = int(MakeLessonReport(h, book, 0, 10, now).hardest.size());
        lists.push_back(bench::nowMs() - t0);
        t0 = bench::nowMs();
        (void)h.LessonSentences(book, 0);
        listFloors.push_back(bench::nowMs() - t0);
    }
    if (found != 10)
        qFatal("the bench found %d hard sentences", found);
    bench::figure("hard_list_ms", bench::median(lists), "ms");
    bench::figure("hard_list_floor_ms", bench::median(listFloors), "ms");
    return 0;
}
