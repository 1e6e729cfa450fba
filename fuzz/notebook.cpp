// Word notebooks copied between machines: a small valid notebook and its companion file made
// here, their bytes changed by the input (see fuzz::patched; the part before "--8<--" for
// the notebook, the part after for the companion). Whatever opens is read and changed; a
// damaged pair is set aside and replaced; afterwards both files pass SQLite's integrity check.
#include "FuzzSupport.h"
#include "libs/notedict/NotebookStore.h"

#include <QDateTime>
#include <QDir>

using namespace mvx;

namespace {

const QString kFolder = QStringLiteral("/notebook");

QList<QByteArray> makeNotebook()
{
    const QString dir = fuzz::scratch() + QStringLiteral("/base");
    QDir().mkpath(dir);
    NotebookStore store;
    if (!store.open(dir + QStringLiteral("/words.not"), dir + QStringLiteral("/words.not.lib"), true))
        fuzz::fail("cannot make the base notebook", store.errorText());
    store.addWord(QStringLiteral("harvest"), QStringLiteral("n. 收获"), QStringLiteral("ˈhɑːvɪst"),
                  QStringLiteral("#kbt|book.dat|3"), QStringLiteral("The harvest was good."));
    store.addWord(QStringLiteral("glad"), QStringLiteral("a. 高兴的"), {}, {}, QStringLiteral("Farmers were glad."));
    const NoteWord w = store.find(QStringLiteral("glad"));
    store.answer(w.id, ReviewSchedule::Grade::Good, QDateTime::fromSecsSinceEpoch(1700000000));
    store.close();
    fuzz::shrinkDatabase(dir + QStringLiteral("/words.not"));
    fuzz::shrinkDatabase(dir + QStringLiteral("/words.not.lib"));
    return {fuzz::readFile(dir + QStringLiteral("/words.not")), fuzz::readFile(dir + QStringLiteral("/words.not.lib"))};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    static const QList<QByteArray> base = makeNotebook();
    const QList<QByteArray> records = fuzz::parts(fuzz::input(data, size), 2);
    QDir(fuzz::scratch() + kFolder).removeRecursively(); // files set aside by the last input
    QDir().mkpath(fuzz::scratch() + kFolder);
    const QString note = fuzz::writeFile(kFolder + QStringLiteral("/words.not"), fuzz::patched(base[0], records[0]));
    const QString lib = fuzz::writeFile(kFolder + QStringLiteral("/words.not.lib"), fuzz::patched(base[1], records[1]));

    (void)NotebookStore::dueCount(note, 0, 1800000000000);
    NotebookStore store;
    if (!store.open(note, lib, false)) {
        FUZZ_CHECK(!store.errorText().isEmpty(), note);
        return 0;
    }
    for (const NoteWord &w : store.words())
        (void)w.sourceNumber();
    (void)store.dueWords(1800000000000);
    (void)store.count();
    const NoteWord glad = store.find(QStringLiteral("glad"));
    if (glad.id > 0) {
        store.setMeaning(glad.id, QStringLiteral("a. 高兴"));
        store.answer(glad.id, ReviewSchedule::Grade::Again, QDateTime::fromSecsSinceEpoch(1700100000));
    }
    FUZZ_CHECK(store.addWord(QStringLiteral("fuzz"), QStringLiteral("n. 绒毛"), {}, {}, QStringLiteral("A fuzz test."))
                   != NotebookStore::AddResult::Failed,
               store.errorText());
    FUZZ_CHECK(store.find(QStringLiteral("fuzz")).example == QLatin1String("A fuzz test."), note);
    store.close();
    FUZZ_CHECK(fuzz::integrityOk(note), note);
    FUZZ_CHECK(fuzz::integrityOk(lib), lib);
    return 0;
}
