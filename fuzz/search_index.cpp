// The library's search file, damaged on disk or left by another copy of the program: a small
// valid file made here over two real books, its bytes changed by the input (see
// fuzz::patched). Whatever the damage, searching never fails: a file found damaged (at open,
// or when a search reads it) is made again from the books. Damage no search reads may stay,
// and damage that leaves what is read readable may change hits until the books change; once
// the file is gone the books' own hits come back.
#include "FuzzSupport.h"
#include "core/TextCodec.h"
#include "libs/sentra/SentraBook.h"
#include "library/LibrarySearch.h"

#include <QDir>
#include <QFile>

using namespace mvx;

namespace {

const QString kIndex = QStringLiteral("BrxSpecialIdx.txt");

void addBook(const QString &path, const QStringList &english)
{
    sentra::SentraBook book;
    if (!book.create(path, true))
        fuzz::fail("cannot make a book", book.lastError());
    sentra::LessonData lesson;
    lesson.title = english.first();
    lesson.sound = fuzz::toneWav(8000, 0.2 * double(english.size()));
    for (int i = 0; i < english.size(); ++i) {
        sentra::SentenceData s;
        s.startMs = i * 200;
        s.endMs = i * 200 + 150;
        s.english = english[i];
        s.chinese = QStringLiteral("农民需要清洁的水。");
        s.isTitle = i == 0;
        lesson.sentences.append(s);
    }
    if (book.addLesson(lesson) < 0)
        fuzz::fail("cannot fill a book", book.lastError());
}

// The library (index and books) in the current folder, and its search file's good bytes.
QByteArray makeLibrary()
{
    const QString dir = fuzz::scratch() + QStringLiteral("/search");
    QDir().mkpath(dir + QStringLiteral("/brxspecial"));
    QDir::setCurrent(dir);
    addBook(QStringLiteral("brxspecial/news.dat"), {QStringLiteral("Farmers"), QStringLiteral("The farmers met on Monday.")});
    addBook(QStringLiteral("brxspecial/water.dat"), {QStringLiteral("Clean Water"), QStringLiteral("Farmers need clean water.")});
    if (!WriteTextFile(kIndex, {QStringLiteral("CLAS0001新闻||brxspecial"), QStringLiteral("FILE农民|sentra|news.dat|0|0"),
                                QStringLiteral("FILE净水|sentra|water.dat|0|0")},
                       TextEncoding::Utf8))
        fuzz::fail("cannot write the index");
    const QString file = LibrarySearch::SearchFileFor(kIndex);
    {
        LibrarySearch search(kIndex);
        if (!search.Refresh())
            fuzz::fail("cannot make the search file", search.error());
    }
    fuzz::shrinkDatabase(file);
    return fuzz::readFile(file);
}

QStringList hits(const LibrarySearchResult &r)
{
    QStringList out;
    for (const LibraryHit &h : r.hits)
        out << QStringLiteral("%1:%2").arg(h.title).arg(h.sentence);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    static const QByteArray base = makeLibrary();
    const QString file = LibrarySearch::SearchFileFor(kIndex);
    QFile::remove(file + QStringLiteral("-journal"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fuzz::fail("cannot write the search file", file);
    out.write(fuzz::patched(base, fuzz::input(data, size)));
    out.close();
    for (const QString &query : {QStringLiteral("farmers"), QStringLiteral("水"), QStringLiteral("clean water")}) {
        LibrarySearch search(kIndex);
        const LibrarySearchResult r = search.Search(query, -1);
        FUZZ_CHECK(r.error.isEmpty(), query + QStringLiteral(": ") + r.error);
    }
    QFile::remove(file);
    LibrarySearch fresh(kIndex);
    const LibrarySearchResult farmers = fresh.Search(QStringLiteral("farmers"), -1);
    FUZZ_CHECK(hits(farmers) == (QStringList{QStringLiteral("农民:0"), QStringLiteral("农民:1"), QStringLiteral("净水:1")}),
               hits(farmers).join(u' '));
    return 0;
}
