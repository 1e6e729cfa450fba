// Notebook review speed on a 5,000-word notebook: the due count as the tray launcher asks it
// (a fresh read-only open each time), an answer from grade to the next word (committed), and
// beside it the floor: a bare one-row update committed to the same file.
#include "BenchUtil.h"

#include "core/SqliteDb.h"
#include "notedict/NoteDictLib.h"
#include "notedict/NoteReviewModel.h"
#include "notedict/NotebookStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString note = dir.filePath(QStringLiteral("brxspecial_note")), lib = note + QStringLiteral(".lib");
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    {
        mvx::NotebookStore store;
        if (!store.open(note, lib, true) || store.addWord("seed", "种子", {}, {}, {}) != mvx::NotebookStore::AddResult::Added)
            return 1;
    }
    {
        // 5,000 words: the seed (due at once, as every new word) and 4,999 more, every other one due.
        mvx::SqliteDb db;
        if (!db.open(note, mvx::SqliteDb::Mode::ReadWrite)
            || !db.exec(QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4999)"
                " INSERT INTO words(word, wkey, meaning, added, updated, due)"
                " SELECT 'word' || i, 'word' || i, '意思', %1, %1, CASE WHEN i % 2 THEN %1 ELSE %2 END FROM n")
                            .arg(now - 86400000)
                            .arg(now + 86400000))) {
            std::fprintf(stderr, "cannot fill the notebook: %s\n", qPrintable(db.lastError()));
            return 1;
        }
    }

    std::vector<double> counts;
    for (int i = 0; i < 30; ++i) {
        const double t0 = bench::nowMs();
        const int due = mvx::bcNote_DueCount(note);
        counts.push_back(bench::nowMs() - t0);
        if (due != 2501) {
            std::fprintf(stderr, "due count %d, expected 2501\n", due);
            return 1;
        }
    }
    bench::figure("note_due_count_ms", bench::median(counts), "ms");

    mvx::NoteReviewModel review;
    if (review.load(note, lib, {}, QDateTime::currentDateTime()) != 2501)
        return 1;
    std::vector<double> answers;
    for (int i = 0; i < 60; ++i) {
        review.reveal();
        const double t0 = bench::nowMs();
        if (!review.answer(mvx::ReviewSchedule::Grade::Good, QDateTime::currentDateTime()) || !review.hasWord())
            return 1;
        (void)review.current().word;
        answers.push_back(bench::nowMs() - t0);
    }
    bench::figure("review_answer_ms", bench::median(answers), "ms");

    mvx::SqliteDb db;
    if (!db.open(note, mvx::SqliteDb::Mode::ReadWrite))
        return 1;
    std::vector<double> floor;
    for (int i = 0; i < 60; ++i) {
        const double t0 = bench::nowMs();
        if (!db.exec(QStringLiteral("UPDATE words SET reviews = reviews + 1 WHERE id = %1").arg(i + 2)))
            return 1;
        floor.push_back(bench::nowMs() - t0);
    }
    bench::figure("note_commit_floor_ms", bench::median(floor), "ms");
    return 0;
}
