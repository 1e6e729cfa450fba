// LRC lines, key-word marks, quiz sources and article sources: what is read and what is refused.
#include "ArticleSource.h"
#include "libs/bookmaker/KeyWordMarks.h"
#include "libs/bookmaker/LrcParser.h"
#include "QuizSource.h"

#include <QTest>

using namespace mvx;

class TestMakebookParsers : public QObject
{
    Q_OBJECT
private slots:
    void lrcTimes_data();
    void lrcTimes();
    void lrcRefused_data();
    void lrcRefused();
    void keyWordMarks_data();
    void keyWordMarks();
    void quizSource();
    void quizRefused_data();
    void quizRefused();
    void articleSource();
    void articleRefused_data();
    void articleRefused();
};

// Sentences as "start-end:english/chinese" (end -1 = open), joined with " | ".
static QString describe(const LrcResult &r)
{
    QStringList parts;
    for (const LrcSentence &s : r.sentences)
        parts << QStringLiteral("%1-%2:%3/%4").arg(s.startMs).arg(s.endMs).arg(s.english, s.chinese);
    return parts.join(QStringLiteral(" | "));
}

void TestMakebookParsers::lrcTimes_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("expected");
    QTest::addRow("two sentences")
        << QStringList{"[00:01.00]Hello.", "[00:03.50]World."} << "1000--1:Hello./ | 3500--1:World./";
    QTest::addRow("same time is the Chinese")
        << QStringList{"[00:01.00]Hello.", "[00:01.00]你好。", "[00:02.00]Bye."} << "1000--1:Hello./你好。 | 2000--1:Bye./";
    QTest::addRow("empty timed line ends the sentence")
        << QStringList{"[00:01.00]Hello.", "[00:02.40]", "[00:03.00]Bye.", "[00:05.00]"}
        << "1000-2400:Hello./ | 3000-5000:Bye./";
    QTest::addRow("tags, blank lines and minutes")
        << QStringList{"[ti:Title]", "[ar:Someone]", "", "[01:02.5]One.", "[1:03.123]Two."}
        << "62500--1:One./ | 63123--1:Two./";
    QTest::addRow("offset makes lines earlier")
        << QStringList{"[offset:+500]", "[00:01.00]Hello.", "[00:02.00]Bye."} << "500--1:Hello./ | 1500--1:Bye./";
    QTest::addRow("byte order mark and colon hundredths")
        << QStringList{QString(QChar(0xFEFF)) + "[00:00:50]Hello."} << "500--1:Hello./";
    QTest::addRow("every time form")
        << QStringList{"[00:01]A.", "[00:02.5]B.", "[00:03.25]C.", "[00:04.125]D.", "[00:05:75]E."}
        << "1000--1:A./ | 2500--1:B./ | 3250--1:C./ | 4125--1:D./ | 5750--1:E./";
    QTest::addRow("word-time tags leave the text")
        << QStringList{"[00:01.00]<00:01.00>The <00:01.40>frog <00:01.90>jumps.", "[00:01.00]<00:01.00>青蛙<00:01.60>跳。"}
        << "1000--1:The frog jumps./青蛙跳。";
    QTest::addRow("several time tags make one sentence each, in time order")
        << QStringList{"[00:01.00][00:05.00]Sing it again.", "[00:03.00]Verse one.", "[00:07.00]Verse two."}
        << "1000--1:Sing it again./ | 3000--1:Verse one./ | 5000--1:Sing it again./ | 7000--1:Verse two./";
    QTest::addRow("repeated lines keep their Chinese")
        << QStringList{"[00:01.00][00:05.00]Again.", "[00:01.00][00:05.00]再来。", "[00:03.00]Once."}
        << "1000--1:Again./再来。 | 3000--1:Once./ | 5000--1:Again./再来。";
    QTest::addRow("negative offset after the lines, length and other tags ignored")
        << QStringList{"[length: 03:20]", "[00:01.00]Hello.", "[00:02.00]Bye.", "[offset:-250]", "[by:someone]"}
        << "1250--1:Hello./ | 2250--1:Bye./";
}

void TestMakebookParsers::lrcTimes()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, expected);
    const LrcResult r = LrcParser::parse(lines, QStringLiteral("a.lrc"));
    QVERIFY2(!r.error.isError(), qPrintable(r.error.toString()));
    QCOMPARE(describe(r), expected);
}

void TestMakebookParsers::lrcRefused_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("line");
    QTest::addRow("time goes back") << QStringList{"[00:05.00]A.", "[00:04.00]B."} << 2;
    QTest::addRow("same time three times") << QStringList{"[00:01.00]A.", "[00:01.00]甲", "[00:01.00]乙"} << 3;
    QTest::addRow("same time after an end marker") << QStringList{"[00:01.00]A.", "[00:02.00]", "[00:02.00]B."} << 3;
    QTest::addRow("text without a time") << QStringList{"[00:01.00]A.", "B."} << 2;
    QTest::addRow("a repeated line's time meets another line's twice")
        << QStringList{"[00:01.00][00:03.00]A.", "[00:01.00]甲", "[00:03.00]乙", "[00:03.00]丙"} << 4;
    QTest::addRow("an unknown tag after a time tag") << QStringList{"[00:01.00]A.", "[00:02.00][xx]B."} << 2;
    QTest::addRow("seconds past 59") << QStringList{"[00:01.00]A.", "[00:75.00]B."} << 2;
    QTest::addRow("no sentence at all") << QStringList{"[ti:Nothing]"} << 0;
}

void TestMakebookParsers::lrcRefused()
{
    QFETCH(QStringList, lines);
    QFETCH(int, line);
    const LrcResult r = LrcParser::parse(lines, QStringLiteral("a.lrc"));
    QVERIFY(r.error.isError());
    QVERIFY(r.sentences.isEmpty());
    QCOMPARE(r.error.file, QStringLiteral("a.lrc"));
    QCOMPARE(r.error.line, line);
}

void TestMakebookParsers::keyWordMarks_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("words"); // the marked stretches joined by ","
    QTest::addColumn<bool>("ok");
    QTest::addRow("none") << "No marks here." << "No marks here." << "" << true;
    QTest::addRow("two words") << "A *frog* and a *bird*." << "A frog and a bird." << "frog,bird" << true;
    QTest::addRow("phrase with blanks inside marks") << "Take *a walk *now." << "Take a walk now." << "a walk" << true;
    QTest::addRow("chinese text kept") << "*春节* Spring" << "春节 Spring" << "春节" << true;
    QTest::addRow("left open") << "A *frog." << "" << "" << false;
    QTest::addRow("empty mark") << "A ** frog." << "" << "" << false;
}

void TestMakebookParsers::keyWordMarks()
{
    QFETCH(QString, marked);
    QFETCH(QString, plain);
    QFETCH(QString, words);
    QFETCH(bool, ok);
    const MarkedText t = StripKeyWordMarks(marked);
    QCOMPARE(t.error.isEmpty(), ok);
    if (!ok)
        return;
    QCOMPARE(t.plain, plain);
    QStringList found;
    for (const KeyWordSpan &s : t.keyWords)
        found << t.plain.mid(s.start, s.length);
    QCOMPARE(found.join(QLatin1Char(',')), words);
}

void TestMakebookParsers::quizSource()
{
    const QStringList lines{"# comment", "title: A Test", "", "[question]", "type: truefalse",
                            "text: The sky is green.", "answer: f", "[question]", "text: Which?",
                            "type: choice", "A: one", "B: two", "C: three", "answer: C"};
    const QuizSource q = QuizSource::parse(lines, QStringLiteral("q.txt"));
    QVERIFY2(!q.error.isError(), qPrintable(q.error.toString()));
    QCOMPARE(q.title, QStringLiteral("A Test"));
    QCOMPARE(q.questions.size(), 2);
    QCOMPARE(q.questions[0].kind, QuizQuestion::Kind::TrueFalse);
    QCOMPARE(q.questions[1].choices, (QStringList{"one", "two", "three"}));
    QCOMPARE(q.questions[1].line, 8);
    QCOMPARE(q.answerKey(), QStringLiteral("FC"));
}

void TestMakebookParsers::quizRefused_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("line");
    const QStringList tf{"[question]", "type: truefalse", "text: x", "answer: T"};
    QTest::addRow("no questions") << QStringList{"title: empty"} << 0;
    QTest::addRow("true/false answer B") << QStringList{"[question]", "type: truefalse", "text: x", "answer: B"} << 1;
    QTest::addRow("answer is not a choice")
        << QStringList{"[question]", "type: choice", "text: x", "A: a", "B: b", "answer: C"} << 1;
    QTest::addRow("choices out of order")
        << QStringList{"[question]", "type: choice", "text: x", "A: a", "C: c"} << 5;
    QTest::addRow("missing answer") << QStringList{"[question]", "type: truefalse", "text: x", "[question]"} << 1;
    QTest::addRow("unknown type") << QStringList{"[question]", "type: essay"} << 2;
    QTest::addRow("seven questions") << tf + tf + tf + tf + tf + tf + tf << 25;
}

void TestMakebookParsers::quizRefused()
{
    QFETCH(QStringList, lines);
    QFETCH(int, line);
    const QuizSource q = QuizSource::parse(lines, QStringLiteral("q.txt"));
    QVERIFY(q.error.isError());
    QCOMPARE(q.error.line, line);
    QVERIFY(q.questions.isEmpty());
}

void TestMakebookParsers::articleSource()
{
    const QStringList lines{"category: 大类/小类", "book: 书.dat", "", "title: The *Title*", "zh: 标题",
                            "en: One.", "note: 注", "en: Two.", "zh: 二"};
    const ArticleSource a = ArticleSource::parse(lines, QStringLiteral("a.txt"));
    QVERIFY2(!a.error.isError(), qPrintable(a.error.toString()));
    QCOMPARE(a.category, QStringLiteral("大类/小类"));
    QCOMPARE(a.book, QStringLiteral("书.dat"));
    QCOMPARE(a.sentences.size(), 3);
    QCOMPARE(a.sentences[0].english, QStringLiteral("The *Title*"));
    QCOMPARE(a.sentences[1].note, QStringLiteral("注"));
    QCOMPARE(a.sentences[1].chinese, QString());
    QCOMPARE(a.sentences[2].chinese, QStringLiteral("二"));
    QCOMPARE(a.sentences[2].line, 8);
}

void TestMakebookParsers::articleRefused_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("line");
    QTest::addRow("sentence before title") << QStringList{"category: a/b", "book: b.dat", "en: One."} << 3;
    QTest::addRow("second title") << QStringList{"title: T", "en: One.", "title: U"} << 3;
    QTest::addRow("open key-word mark") << QStringList{"title: T", "en: A *word."} << 2;
    QTest::addRow("two translations") << QStringList{"title: T", "zh: 一", "zh: 二"} << 3;
    QTest::addRow("book with a folder") << QStringList{"book: x/b.dat"} << 1;
    QTest::addRow("no category") << QStringList{"book: b.dat", "title: T", "en: One."} << 0;
}

void TestMakebookParsers::articleRefused()
{
    QFETCH(QStringList, lines);
    QFETCH(int, line);
    const ArticleSource a = ArticleSource::parse(lines, QStringLiteral("a.txt"));
    QVERIFY(a.error.isError());
    QCOMPARE(a.error.line, line);
}

QTEST_GUILESS_MAIN(TestMakebookParsers)
#include "test_makebook_parsers.moc"
