// Sentence books copied between machines: a small valid book made here, its bytes changed by
// the input (first byte odd: opened for writing; the rest: see fuzz::patched). What opens is read whole (every lesson, every sentence's
// pages and sound) and changed once; a refused book gives a message; a book that took the
// change still passes SQLite's integrity check.
#include "FuzzSupport.h"
#include "libs/sentra/LessonPages.h"
#include "libs/sentra/SentraBook.h"

#include <QFile>

using namespace mvx;
using namespace mvx::sentra;

namespace {

QByteArray makeBook()
{
    const QString path = fuzz::scratch() + QStringLiteral("/base.dat");
    SentraBook book;
    if (!book.create(path, true))
        fuzz::fail("cannot make the base book", book.lastError());
    LessonData lesson;
    lesson.title = QStringLiteral("Rain in the hills");
    lesson.sound = fuzz::toneWav(8000, 0.6);
    const QStringList english = {QStringLiteral("Rain came to the hills."), QStringLiteral("Farmers were glad."),
                                 QStringLiteral("\"It's good,\" one said.")};
    for (int i = 0; i < english.size(); ++i) {
        SentenceData s;
        s.startMs = i * 200;
        s.endMs = i * 200 + 200;
        s.english = english[i];
        s.chinese = QStringLiteral("山里下雨了。");
        s.comment = i == 1 ? QStringLiteral("glad: 高兴的") : QString();
        s.keywords = {1};
        s.newwords = i == 2 ? QList<int>{2} : QList<int>{};
        lesson.sentences.append(s);
    }
    if (book.addLesson(lesson) < 0 || !book.setWordMeaning(0, QStringLiteral("rain"), QStringLiteral("雨")))
        fuzz::fail("cannot fill the base book", book.lastError());
    book.close();
    fuzz::shrinkDatabase(path);
    return fuzz::readFile(path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    static const QByteArray base = makeBook();
    if (size == 0)
        return 0;
    const bool writable = data[0] % 2; // the first byte picks the mode, the rest changes the book
    const QString path = fuzz::writeFile(QStringLiteral("book.dat"), fuzz::patched(base, fuzz::input(data + 1, size - 1)));
    QFile::remove(path + QStringLiteral("-journal"));

    SentraBook book;
    if (!book.open(path, writable)) {
        FUZZ_CHECK(!book.lastError().isEmpty(), path);
        return 0;
    }
    (void)book.bookTitle();
    const int lessons = book.lessonCount();
    for (int l = 0; l < lessons && l < 8; ++l) {
        const auto lesson = book.readLesson(l, true);
        if (!lesson)
            continue;
        const QString pages = fuzz::scratch() + QStringLiteral("/page");
        LessonPages::writePages(pages + QStringLiteral("e.htm"), pages + QStringLiteral("c.htm"),
                                pages + QStringLiteral("z.htm"), pages + QStringLiteral("ec.htm"), lesson->sentences,
                                {}, {}, {});
    }
    const int sentences = book.sentenceCount();
    for (int n = 0; n < sentences && n < 16; ++n) {
        const auto s = book.sentence(n);
        if (!s)
            continue;
        (void)book.sentenceWords(n);
        (void)book.wordMeaning(n, QStringLiteral("rain"));
        (void)LessonPages::englishLabel(*s, n, 0, 0xFF0000, {});
        std::vector<qint16> samples;
        if (book.cutSentence(n, samples))
            FUZZ_CHECK(qint64(samples.size()) <= qint64(s->endMs - s->startMs) * SentraBook::SoundRate / 1000 + 2,
                       QString::number(samples.size()));
    }

    // One change of each kind a learner makes; a book that took them is still whole.
    const bool changed = book.setDegree(0, 1)
                         | book.changeWordMark(0, 1, 0, WordMarkKind::Newword, WordMarkChange::Toggle).has_value()
                         | book.modifySentence(0, std::nullopt, QStringLiteral("改了"), std::nullopt)
                         | book.setWordMeaning(0, QStringLiteral("hills"), QStringLiteral("山"));
    book.close();
    if (writable && changed)
        FUZZ_CHECK(fuzz::integrityOk(path), path);
    return 0;
}
