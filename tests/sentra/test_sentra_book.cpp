// Sentence books through the C++ API and the bc... operations: what is written comes back,
// marks and meanings survive a reopen, and bad books, handles and numbers fail cleanly.
#include "SentraFixtures.h"
#include "core/SqliteDb.h"
#include "libs/sentra/SentraFacade.h"

#include <QtTest>

#include <array>

using namespace mvx::sentra;

Q_DECLARE_METATYPE(mvx::sentra::LessonData)

class TestSentraBook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void lessonsReadBack();
    void addLessonRefused_data();
    void addLessonRefused();
    void largestLessonAccepted();
    void marksAndMeaningsSurviveReopen();
    void changedEnglishKeepsMarksOnTheirWords();
    void readOnlyBookRefusesChanges();
    void badArgumentsFailCleanly();
    void brokenFilesDoNotOpen_data();
    void brokenFilesDoNotOpen();
    void damagedBookIsNotWritten_data();
    void damagedBookIsNotWritten();
    void dictationResultsAndTheFormatUpgrade();

private:
    QString m_book;
};

void TestSentraBook::initTestCase()
{
    LessonData second = fixtures::sampleLesson(QStringLiteral("Second"));
    second.sentences.first().isTitle = false;
    m_book = fixtures::makeBook(QStringLiteral("two.dat"), {fixtures::sampleLesson(), second});
}

void TestSentraBook::lessonsReadBack()
{
    SentraBook book;
    QVERIFY2(book.open(m_book, false), qPrintable(book.lastError()));
    QCOMPARE(book.lessonCount(), 2);
    QCOMPARE(book.sentenceCount(), 8);
    const LessonData expected = fixtures::sampleLesson();
    const std::optional<LessonData> got = book.readLesson(0, true);
    QVERIFY(got);
    QCOMPARE(got->title, expected.title);
    QCOMPARE(got->sound, expected.sound);
    QCOMPARE(got->sentences.size(), expected.sentences.size());
    for (int i = 0; i < expected.sentences.size(); ++i) {
        const SentenceData &a = got->sentences[i], &b = expected.sentences[i];
        QCOMPARE(a.english, b.english);
        QCOMPARE(a.chinese, b.chinese);
        QCOMPARE(a.comment, b.comment);
        QCOMPARE(a.startMs, b.startMs);
        QCOMPARE(a.endMs, b.endMs);
        QCOMPARE(a.isTitle, b.isTitle);
        QCOMPARE(a.keywords, b.keywords);
    }

    const int h = bcSentraBook_Open(m_book, QStringLiteral("rb"));
    QVERIFY(h >= 0);
    int first = -7, count = -7;
    int hasTitle = 7;
    QCOMPARE(bcSentraBook_GetLessonInfo(h, 1, &first, &count, 0, &hasTitle), 0);
    QCOMPARE(first, 4);
    QCOMPARE(count, 4);
    QCOMPARE(hasTitle, 0); // the second lesson starts with a plain sentence
    QCOMPARE(bcSentraBook_GetLessonInfo(h, 0, nullptr, nullptr, 0, &hasTitle), 0);
    QCOMPARE(hasTitle, -1);
    QCOMPARE(bcSentence_GetChinese(h, 5), QStringLiteral("北方的农民说雨来得早。"));
    QCOMPARE(bcSentence_GetComment(h, 5), QStringLiteral("early: 早"));
    QCOMPARE(bcSentence_GetPureEnglish(h, 6), QStringLiteral("It's a well-known sign of a good year."));
    QCOMPARE(bcSentence_GetSentenceAsWordSample(h, 6),
             QStringLiteral("It's a well-known sign of a good year.\r\n这是丰年的好兆头。"));
    const QString soundName = bcSentence_GetFileNameEnglish(h, 6, 80);
    QVERIFY(!soundName.isEmpty() && soundName.size() <= 80);
    QVERIFY(!soundName.contains(u'/') && !soundName.contains(u' '));
    QVERIFY(soundName != bcSentence_GetFileNameEnglish(h, 7, 80));
    QCOMPARE(book.sentenceWords(7), QStringList({"Rice", "prices", "fell", "3.5", "in", "the",
                                                 "U.S", "market"}));
    QCOMPARE(bcSentraBook_Close(h), 0);
    QCOMPARE(bcSentraBook_Close(h), -1);
}

void TestSentraBook::addLessonRefused_data()
{
    QTest::addColumn<LessonData>("lesson");
    QTest::addColumn<QString>("reason");
    const LessonData good = fixtures::sampleLesson();
    LessonData l = good;
    l.sentences.clear();
    for (int i = 0; i < MaxSentencesPerLesson + 1; ++i)
        l.sentences.append(fixtures::sentence(i, i + 1, QStringLiteral("Go.")));
    QTest::addRow("3502 sentences") << l << "at most 3501";
    l = good;
    l.sentences[2].endMs = l.sentences[2].startMs;
    QTest::addRow("end not after start") << l << "must come after";
    l = good;
    l.sentences[1].startMs = -5;
    QTest::addRow("negative start") << l << "must come after";
    l = good;
    l.sentences[3].startMs = 6000; // the sound lasts 6 s
    l.sentences[3].endMs = 7000;
    QTest::addRow("sentence after the sound") << l << "outside the lesson's sound";
    l = good;
    l.sentences[3].endMs = 2'000'000'000;
    QTest::addRow("sentence running on for days") << l << "outside the lesson's sound";
    l = good;
    l.sentences[2].isTitle = true;
    QTest::addRow("title not first") << l << "title";
    l = good;
    l.sentences[1].newwords = {10};
    QTest::addRow("new word past the sentence") << l << "past its 9 words";
    l = good;
    l.sentences[1].keywords = {0};
    QTest::addRow("key word zero") << l << "word 0";
    l = good;
    l.sentences[2].english = QStringLiteral("word ").repeated(MaxWordsPerSentence + 1);
    QTest::addRow("501 words") << l << "at most 500";
    l = good;
    l.sound = QByteArray("ID3 this is not a sound at all", 30);
    QTest::addRow("sound not decodable") << l << "decoded";
    l = good;
    l.sound.clear();
    QTest::addRow("no sound") << l << "no sound";
    l = good;
    l.sentences.clear();
    QTest::addRow("no sentences") << l << "at least one";
}

void TestSentraBook::addLessonRefused()
{
    QFETCH(LessonData, lesson);
    QFETCH(QString, reason);
    const QString path = fixtures::makeBook(QStringLiteral("refuse.dat"), {fixtures::sampleLesson()});
    SentraBook book;
    QVERIFY(book.open(path, true));
    QCOMPARE(book.addLesson(lesson), -1);
    QVERIFY2(book.lastError().contains(reason), qPrintable(book.lastError()));
    book.close();
    QVERIFY(book.open(path, false));
    QCOMPARE(book.lessonCount(), 1);
    QCOMPARE(book.sentenceCount(), 4);
}

void TestSentraBook::largestLessonAccepted()
{
    LessonData l;
    l.title = QStringLiteral("Long");
    l.sound = fixtures::toneFile(22050, 1, 4.0);
    for (int i = 0; i < MaxSentencesPerLesson; ++i)
        l.sentences.append(fixtures::sentence(i, i + 1, QStringLiteral("Word %1.").arg(i)));
    const QString path = fixtures::makeBook(QStringLiteral("long.dat"), {l});
    const int h = bcSentraBook_Open(path, QStringLiteral("rb"));
    int first = -1, count = -1;
    QCOMPARE(bcSentraBook_GetLessonInfo(h, 0, &first, &count, 0), 0);
    QCOMPARE(count, MaxSentencesPerLesson);
    QCOMPARE(bcSentence_GetPureEnglish(h, 3500), QStringLiteral("Word 3500."));
    bcSentraBook_Close(h);
}

void TestSentraBook::marksAndMeaningsSurviveReopen()
{
    const QString path = fixtures::makeBook(QStringLiteral("marks.dat"), {fixtures::sampleLesson()});
    int h = bcSentraBook_Open(path, QStringLiteral("r+b"));
    QVERIFY(h >= 0);
    int flag = 99;
    // Sentence 2: "It's a well-known sign of a good year." word 3 is "well-known" (10 long).
    QCOMPARE(bcSentence_SetKeywordByNo(h, 2, 3, 10, 0, &flag), 0);
    QCOMPARE(flag, -1);
    QCOMPARE(bcSentence_SetKeywordByNo(h, 2, 3, 10, 0, &flag), 0);
    QCOMPARE(flag, 0);
    QCOMPARE(bcSentence_SetKeywordByNo(h, 2, 4, 4, 0, &flag), 0);
    QCOMPARE(flag, -1);
    // Setting a new word twice keeps it marked; toggling a set one clears it.
    QCOMPARE(bcSentence_SetNewwordByNo(h, 2, 8, 4, -1, &flag), 0);
    QCOMPARE(flag, -1);
    QCOMPARE(bcSentence_SetNewwordByNo(h, 2, 8, 4, -1, &flag), 0);
    QCOMPARE(flag, -1);
    QCOMPARE(bcSentence_SetNewwordByNo(h, 3, 1, 4, 0, &flag), 0);
    QCOMPARE(bcSentence_SetNewwordByNo(h, 3, 1, 4, 0, &flag), 0);
    QCOMPARE(flag, 0);
    QCOMPARE(bcSentence_SetAWordMean(h, 2, QStringLiteral("sign"), QStringLiteral("n. 迹象")), 0);
    QCOMPARE(bcSentence_SetAWordMean(h, 3, QStringLiteral("Rice"), QStringLiteral("n. 大米")), 0);
    QCOMPARE(bcSentence_SetDegree(h, 1, 1), 0);
    QCOMPARE(bcSentence_Modify(h, 3, std::nullopt, std::nullopt, QStringLiteral("新注释")), 0);
    QCOMPARE(bcSentraBook_Close(h), 0);

    h = bcSentraBook_Open(path, QStringLiteral("rb"));
    QVERIFY(h >= 0);
    QCOMPARE(bcSentence_GetWordMean(h, 2, QStringLiteral("sign")), QStringLiteral("n. 迹象"));
    QCOMPARE(bcSentence_GetWordMean(h, 3, QStringLiteral("rice")), QStringLiteral("n. 大米"));
    QCOMPARE(bcSentence_GetWordMean(h, 2, QStringLiteral("Rice")), QString());
    QCOMPARE(bcSentence_GetComment(h, 3), QStringLiteral("新注释"));
    QCOMPARE(bcSentence_GetChinese(h, 3), QStringLiteral("美国市场米价下跌了3.5%。"));
    std::array<int, MaxSentencesPerLesson> degrees;
    degrees.fill(7);
    int first = -1, count = -1, title = 5;
    const QString d = fixtures::tmpDir();
    QCOMPARE(bcSentraBook_MakeHtml(h, d + "/e.htm", d + "/c.htm", d + "/z.htm", d + "/ec.htm", 0, -1,
                                   0, 0, 0, 0xFF0000, -1, -1, &first, &count, &title, degrees,
                                   QString(), QString(), 0),
             1);
    QCOMPARE(first, 0);
    QCOMPARE(count, 4);
    QCOMPARE(title, -1);
    QCOMPARE(degrees[0], 0);
    QCOMPARE(degrees[1], 1);
    QCOMPARE(degrees[2], 0);
    QCOMPARE(degrees[4], 0); // past the lesson: cleared
    bcSentraBook_Close(h);

    SentraBook book;
    QVERIFY(book.open(path, false));
    QCOMPARE(book.sentence(2)->keywords, QList<int>({4}));
    QCOMPARE(book.sentence(2)->newwords, QList<int>({8}));
    QCOMPARE(book.sentence(3)->newwords, QList<int>());
}

void TestSentraBook::changedEnglishKeepsMarksOnTheirWords()
{
    const QString path = fixtures::makeBook(QStringLiteral("modify.dat"), {fixtures::sampleLesson()});
    const int h = bcSentraBook_Open(path, QStringLiteral("r+b"));
    // Sentence 1 has key words 1 "Farmers" and 7 "rain"; "north" (4) becomes a new word.
    QCOMPARE(bcSentence_SetNewwordByNo(h, 1, 4, 5, -1, nullptr), 0);
    QCOMPARE(bcSentence_Modify(h, 1, QStringLiteral("Farmers said the rain came early."),
                               std::nullopt, std::nullopt),
             0);
    bcSentraBook_Close(h);
    SentraBook book;
    QVERIFY(book.open(path, false));
    const SentenceData s = *book.sentence(1);
    QCOMPARE(s.keywords, QList<int>({1, 4}));
    QCOMPARE(s.newwords, QList<int>()); // "north" is gone
    QCOMPARE(s.chinese, QStringLiteral("北方的农民说雨来得早。"));
    QCOMPARE(s.comment, QStringLiteral("early: 早"));
}

void TestSentraBook::readOnlyBookRefusesChanges()
{
    const QString path = fixtures::makeBook(QStringLiteral("ro.dat"), {fixtures::sampleLesson()});
    const int h = bcSentraBook_Open(path, QStringLiteral("rb"));
    int flag = 42;
    QCOMPARE(bcSentence_SetKeywordByNo(h, 2, 1, 4, 0, &flag), -1);
    QCOMPARE(flag, 42);
    QCOMPARE(bcSentence_SetNewwordByNo(h, 2, 1, 4, -1, &flag), -1);
    QCOMPARE(bcSentence_SetAWordMean(h, 2, QStringLiteral("It's"), QStringLiteral("x")), -1);
    QCOMPARE(bcSentence_SetDegree(h, 2, 1), -1);
    QCOMPARE(bcSentence_Modify(h, 2, QStringLiteral("x"), std::nullopt, std::nullopt), -1);
    QCOMPARE(bcSentence_GetPureEnglish(h, 2), QStringLiteral("It's a well-known sign of a good year."));
    bcSentraBook_Close(h);

    // A book the learner may not write still opens for reading with "r+b".
    QFile::setPermissions(path, QFile::ReadOwner);
    const int h2 = bcSentraBook_Open(path, QStringLiteral("r+b"));
    if (QFileInfo(path).isWritable()) // running as root: permissions do not bind
        QSKIP("file permissions do not apply to this user");
    QVERIFY(h2 >= 0);
    QCOMPARE(bcSentence_SetDegree(h2, 2, 1), -1);
    QCOMPARE(bcSentence_GetChinese(h2, 2), QStringLiteral("这是丰年的好兆头。"));
    bcSentraBook_Close(h2);
}

void TestSentraBook::badArgumentsFailCleanly()
{
    const QString path = fixtures::makeBook(QStringLiteral("bad.dat"), {fixtures::sampleLesson()});
    const int h = bcSentraBook_Open(path, QStringLiteral("r+b"));
    const int noBook = h + 1000;
    int a = 11, b = 12, c = 13;
    std::array<int, 4> degrees{5, 5, 5, 5};
    const QString d = fixtures::tmpDir();

    QCOMPARE(bcSentraBook_Open(path, QStringLiteral("w")), -1);
    QCOMPARE(bcSentraBook_GetLessonInfo(noBook, 0, &a, &b, 0), -1);
    QCOMPARE(bcSentraBook_GetLessonInfo(h, 1, &a, &b, 0), -1);
    QCOMPARE(bcSentraBook_GetLessonInfo(h, -1, &a, &b, 0), -1);
    QCOMPARE(bcSentraBook_MakeHtml(h, d + "/e.htm", d + "/c.htm", d + "/z.htm", d + "/ec.htm", 3,
                                   -1, 0, 0, 0, 0, -1, -1, &a, &b, &c, degrees, {}, {}, 0),
             -1);
    QCOMPARE(bcSentraBook_MakeHtml(h, d + "/no/such/dir/e.htm", d + "/c.htm", d + "/z.htm",
                                   d + "/ec.htm", 0, -1, 0, 0, 0, 0, -1, -1, &a, &b, &c, degrees,
                                   {}, {}, 0),
             -1);
    QCOMPARE(a, 11);
    QCOMPARE(b, 12);
    QCOMPARE(c, 13);
    QCOMPARE(degrees[0], 5);
    for (int n : {-1, 4, 1 << 30}) {
        QCOMPARE(bcSentence_MakeEHtml(h, n, 0, 0, 0, -1, -1, 0, 0), QString());
        QCOMPARE(bcSentence_MakeCHtml(h, n, 0, 0, 0), QString());
        QCOMPARE(bcSentence_MakeCommentHtml(h, n, 0, QStringLiteral("InnerHtmlOnly"), 0), QString());
        QCOMPARE(bcSentence_GetPureEnglish(h, n), QString());
        QCOMPARE(bcSentence_GetFileNameEnglish(h, n, 80), QString());
        QCOMPARE(bcSentence_SetDegree(h, n, 1), -1);
        QCOMPARE(bcSentence_SetAWordMean(h, n, QStringLiteral("go"), QStringLiteral("去")), -1);
        QCOMPARE(bcSentence_Modify(h, n, QStringLiteral("x"), std::nullopt, std::nullopt), -1);
        QCOMPARE(bcSentence_SetKeywordByNo(h, n, 1, 0, 0, &a), -1);
        QCOMPARE(bcSentence_MakeSndFile(h, n, 0, 0, nullptr, d + "/bad", -1, 0), -1);
    }
    QVERIFY(!QFile::exists(d + "/bad.wav"));
    // Word numbers run from 1 to the sentence's word count (sentence 2 has 8 words).
    QCOMPARE(bcSentence_SetKeywordByNo(h, 2, 0, 0, 0, &a), -1);
    QCOMPARE(bcSentence_SetKeywordByNo(h, 2, 9, 0, 0, &a), -1);
    QCOMPARE(bcSentence_SetNewwordByNo(h, 2, -3, 0, -1, &a), -1);
    // A word length that does not match the word means the page is not this sentence.
    QCOMPARE(bcSentence_SetKeywordByNo(h, 2, 8, 5, 0, &a), -1);
    QCOMPARE(a, 11);
    QCOMPARE(bcSentence_SetDegree(h, 2, -1), -1);
    QCOMPARE(bcSentence_Modify(h, 2, QStringLiteral("go ").repeated(501), std::nullopt, std::nullopt), -1);
    QCOMPARE(bcSentence_GetPureEnglish(noBook, 1), QString());
    QCOMPARE(bcSentence_SetDegree(noBook, 1, 1), -1);
    QCOMPARE(bcSentraBook_Close(noBook), -1);
    bcSentraBook_Close(h);

    SentraBook book;
    QVERIFY(book.open(path, false));
    for (int n = 0; n < 4; ++n) {
        QCOMPARE(book.sentence(n)->degree, 0);
        QCOMPARE(book.sentence(n)->keywords, fixtures::sampleLesson().sentences[n].keywords);
        QCOMPARE(book.sentence(n)->newwords, QList<int>());
    }
    QCOMPARE(book.sentence(3)->english, fixtures::sampleLesson().sentences[3].english);
}

void TestSentraBook::brokenFilesDoNotOpen_data()
{
    QTest::addColumn<QString>("path");
    const QString d = fixtures::tmpDir();
    const QString good = fixtures::makeBook(QStringLiteral("good.dat"), {fixtures::sampleLesson()});
    QByteArray bytes;
    {
        QFile f(good);
        QVERIFY(f.open(QIODevice::ReadOnly));
        bytes = f.readAll();
    }
    auto write = [&](const QString &name, const QByteArray &content) {
        QFile f(d + u'/' + name);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write a fixture");
        f.write(content);
        return f.fileName();
    };
    QTest::addRow("missing file") << d + "/none.dat";
    QTest::addRow("empty file") << write("empty.dat", {});
    QTest::addRow("text file") << write("text.dat", QByteArray("CLAS0001文化||brxspecial\r\n").repeated(300));
    QTest::addRow("truncated book") << write("half.dat", bytes.left(bytes.size() / 2));
    QTest::addRow("header only") << write("head.dat", bytes.left(100));
    QTest::addRow("a folder") << d;
    {
        mvx::SqliteDb db;
        const QString foreign = d + "/foreign.dat";
        QFile::remove(foreign);
        QVERIFY(db.open(foreign, mvx::SqliteDb::Mode::ReadWriteCreate));
        QVERIFY(db.exec("CREATE TABLE lesson (x); INSERT INTO lesson VALUES (1);"));
        QTest::addRow("foreign SQLite file") << foreign;
    }
    {
        const QString newer = write("newer.dat", bytes);
        mvx::SqliteDb db;
        QVERIFY(db.open(newer, mvx::SqliteDb::Mode::ReadWrite));
        QVERIFY(db.exec("PRAGMA user_version = 99"));
        QTest::addRow("newer format") << newer;
    }
    {
        const QString damaged = write("damaged.dat", bytes);
        mvx::SqliteDb db;
        QVERIFY(db.open(damaged, mvx::SqliteDb::Mode::ReadWrite));
        QVERIFY(db.exec("UPDATE lesson SET first_sentence = 7"));
        QTest::addRow("lesson table out of step") << damaged;
    }
    // Tables whose columns no longer are the book's: refused at once, not empty reads later.
    for (const char *change : {"ALTER TABLE sentence RENAME COLUMN english TO englsh",
                               "ALTER TABLE word_mark RENAME COLUMN kind TO knd",
                               "ALTER TABLE time_nudge RENAME COLUMN end_offset_ms TO e"}) {
        const QString renamed = write(QStringLiteral("renamed-%1.dat").arg(QString::fromLatin1(change).section(' ', 2, 2)), bytes);
        mvx::SqliteDb db;
        QVERIFY(db.open(renamed, mvx::SqliteDb::Mode::ReadWrite));
        QVERIFY2(db.exec(QString::fromLatin1(change)), qPrintable(db.lastError()));
        QTest::addRow("%s", change) << renamed;
    }
}

void TestSentraBook::brokenFilesDoNotOpen()
{
    QFETCH(QString, path);
    QCOMPARE(bcSentraBook_Open(path, QStringLiteral("rb")), -1);
    QCOMPARE(bcSentraBook_Open(path, QStringLiteral("r+b")), -1);
    SentraBook book;
    QVERIFY(!book.open(path, false));
    QVERIFY(!book.lastError().isEmpty());
}

// A damaged book (both found by fuzzing: a page's cell count and a cell pointer overwritten;
// an index out of step with its table, which only SQLite's full check sees) is refused for
// writing, so no change builds on the damage, and the file is left as it was.
void TestSentraBook::damagedBookIsNotWritten_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addRow("page header") << QStringLiteral("page");
    QTest::addRow("index out of step") << QStringLiteral("index");
}

void TestSentraBook::damagedBookIsNotWritten()
{
    QFETCH(QString, damage);
    const QString path = fixtures::makeBook(QStringLiteral("damaged-%1.dat").arg(damage), {fixtures::sampleLesson()});
    if (damage == QLatin1String("index")) {
        {
            SentraBook book;
            QVERIFY(book.open(path, true));
            QVERIFY(book.setWordMeaning(0, QStringLiteral("river"), QStringLiteral("河")));
        }
        mvx::SqliteDb db;
        QVERIFY(db.open(path, mvx::SqliteDb::Mode::ReadWrite));
        const qint64 marks = db.scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'sqlite_autoindex_word_mark_1'")).toLongLong();
        const qint64 meanings = db.scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'sqlite_autoindex_word_meaning_1'")).toLongLong();
        QVERIFY(marks > 0 && meanings > 0);
        QVERIFY(db.exec(QStringLiteral("PRAGMA writable_schema = ON")));
        QVERIFY(db.exec(QStringLiteral("UPDATE sqlite_master SET rootpage = %1 WHERE name = 'sqlite_autoindex_word_meaning_1'").arg(marks)));
        QVERIFY(db.exec(QStringLiteral("UPDATE sqlite_master SET rootpage = %1 WHERE name = 'sqlite_autoindex_word_mark_1'").arg(meanings)));
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    if (damage == QLatin1String("page")) {
        const qsizetype page = bytes.size() / 4096 >= 3 ? 2 * 4096 : 4096;
        bytes[page + 3] = char(0xFF);
        bytes[page + 9] = char(0x00);
        QVERIFY(f.seek(0) && f.write(bytes) == bytes.size());
    }
    f.close();

    SentraBook book;
    QVERIFY(!book.open(path, true));
    QVERIFY2(book.lastError().contains(QStringLiteral("damaged")), qPrintable(book.lastError()));
    QCOMPARE(bcSentraBook_Open(path, QStringLiteral("r+b")), -1);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), bytes);
}

// Dictation results: kept across reopening, cleared with a changed English (not with a
// changed Chinese); a first-format book reads as having none and is upgraded once it is
// opened for writing, in place and with its sentences intact.
void TestSentraBook::dictationResultsAndTheFormatUpgrade()
{
    const QString path = fixtures::tmpDir() + QStringLiteral("/format1.dat");
    QFile::remove(path);
    QVERIFY(QFile::copy(QStringLiteral(MVX_TEST_DATA "/book_format1.dat"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    const QDateTime at(QDate(2026, 3, 1), QTime(9, 30));
    {
        SentraBook book;
        QVERIFY2(book.open(path, false), qPrintable(book.lastError()));
        QVERIFY(!book.dictation(1));
        QVERIFY(!book.setDictation(1, 3, 5, at));
    }
    const auto version = [&path] {
        mvx::SqliteDb db;
        return db.open(path, mvx::SqliteDb::Mode::ReadOnly) ? db.scalar(QStringLiteral("PRAGMA user_version")).toInt() : -1;
    };
    QCOMPARE(version(), 1);
    {
        SentraBook book;
        QVERIFY2(book.open(path, true), qPrintable(book.lastError()));
        QCOMPARE(book.sentence(1)->english, QStringLiteral("The river rose in May."));
        QVERIFY(!book.dictation(1));
        QVERIFY(book.setDictation(1, 3, 5, at));
        QVERIFY(!book.setDictation(1, 6, 5, at)); // more right than there are words
        QVERIFY(!book.setDictation(9, 1, 5, at)); // no such sentence
    }
    QCOMPARE(version(), SentraBook::FormatVersion);
    SentraBook book;
    QVERIFY(book.open(path, true));
    const auto kept = book.dictation(1);
    QVERIFY(kept && kept->wordsRight == 3 && kept->wordsTotal == 5 && kept->at == at);
    QVERIFY(book.modifySentence(1, std::nullopt, QStringLiteral("五月，河水涨了。"), std::nullopt));
    QVERIFY(book.dictation(1));
    QVERIFY(book.modifySentence(1, QStringLiteral("The river rose in June."), std::nullopt, std::nullopt));
    QVERIFY(!book.dictation(1));
    // Through the handles.
    const int h = bcSentraBook_Open(path, QStringLiteral("r+b"));
    int right = -1, total = -1;
    QCOMPARE(bcSentence_GetDictation(h, 1, &right, &total), -1);
    QCOMPARE(bcSentence_SetDictation(h, 1, 4, 5), 0);
    QCOMPARE(bcSentence_GetDictation(h, 1, &right, &total), 0);
    QCOMPARE(right, 4);
    QCOMPARE(total, 5);
    bcSentraBook_Close(h);
}

QTEST_GUILESS_MAIN(TestSentraBook)
#include "test_sentra_book.moc"
