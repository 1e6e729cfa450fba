// Quiz sources and their generator: what is read, what is refused (with the file and line that
// say why, the same through vcGenQuiz and mvxbrx-quizgen, the old page untouched), and the page
// the quiz window relies on.
#include "libs/echomax/EchoMaxLib.h"
#include "libs/echomax/QuizSource.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace mvx;

class TestEchomaxQuiz : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void quizSource();
    void quizRefused_data();
    void quizRefused();
    void generatorRefuses_data();
    void generatorRefuses();
    void pageKeepsTheContract();
    void markupShowsAsText();
    void commandLine();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

static const QByteArray Good = "title: A <Test> & More\n"
                               "[question]\ntype: truefalse\ntext: The sky is <b>green</b>.\nzh: 天空是绿色的。\nanswer: F\n"
                               "[question]\ntype: choice\ntext: Which?\nA: one\nB: <i>two</i>\nC: three\nanswer: C\n";

static QString readAll(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void TestEchomaxQuiz::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestEchomaxQuiz::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(path(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void TestEchomaxQuiz::quizSource()
{
    const QStringList lines{"# comment", "title: A Test", "", "[question]", "type: truefalse",
                            "text: The sky is green.", "zh: 天空是绿色的。", "answer: f", "[question]",
                            "text: Which?", "type: choice", "A: one", "B: two", "C: three", "answer: C"};
    const QuizSource q = QuizSource::parse(lines, QStringLiteral("q.txt"));
    QVERIFY2(!q.error.isError(), qPrintable(q.error.toString()));
    QCOMPARE(q.title, QStringLiteral("A Test"));
    QCOMPARE(q.questions.size(), 2);
    QCOMPARE(q.questions[0].kind, QuizQuestion::Kind::TrueFalse);
    QCOMPARE(q.questions[0].chinese, QStringLiteral("天空是绿色的。"));
    QCOMPARE(q.questions[1].choices, (QStringList{"one", "two", "three"}));
    QCOMPARE(q.questions[1].line, 9);
    QCOMPARE(q.answerKey(), QStringLiteral("FC"));
}

void TestEchomaxQuiz::quizRefused_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");
    const QStringList tf{"[question]", "type: truefalse", "text: x", "answer: T"};
    QTest::addRow("no questions") << QStringList{"title: empty"} << 0 << "测验文件里没有题目";
    QTest::addRow("seven questions") << tf + tf + tf + tf + tf + tf + tf << 25 << "最多 6 道题";
    QTest::addRow("type missing") << QStringList{"[question]", "text: x", "answer: T"} << 1
                                  << "题目缺少 type:（truefalse 或 choice）";
    QTest::addRow("text missing") << QStringList{"[question]", "type: truefalse", "answer: T"} << 1
                                  << "题目缺少 text:";
    QTest::addRow("answer missing") << QStringList{"[question]", "type: truefalse", "text: x", "[question]"} << 1
                                    << "题目缺少 answer:";
    QTest::addRow("unknown type") << QStringList{"[question]", "type: essay"} << 2 << "题型只能是 truefalse 或 choice";
    QTest::addRow("unknown key") << QStringList{"[question]", "type: truefalse", "hint: x"} << 3
                                 << "不认识的名称“hint”";
    QTest::addRow("not key: value") << QStringList{"[question]", "type: truefalse", "just words"} << 3
                                    << "应为“名称: 内容”或 [question]";
    QTest::addRow("key before the first question") << QStringList{"text: x", "[question]"} << 1
                                                   << "第一道题之前只能有 title:";
    QTest::addRow("true/false answer B") << QStringList{"[question]", "type: truefalse", "text: x", "answer: B"} << 1
                                         << "判断题的答案必须是 T 或 F";
    QTest::addRow("answer is not a choice")
        << QStringList{"[question]", "type: choice", "text: x", "A: a", "B: b", "answer: C"} << 1
        << "答案 C 不是这道题的选项";
    QTest::addRow("one choice") << QStringList{"[question]", "type: choice", "text: x", "A: a", "answer: A"} << 1
                                << "选择题至少要有 A、B 两个选项";
    QTest::addRow("five choices")
        << QStringList{"[question]", "type: choice", "text: x", "A: a", "B: b", "C: c", "D: d", "E: e"} << 8
        << "选项必须按 A、B、C、D 的顺序排列，最多 4 个";
    QTest::addRow("choices out of order") << QStringList{"[question]", "type: choice", "text: x", "A: a", "C: c"} << 5
                                          << "选项必须按 A、B、C、D 的顺序排列，最多 4 个";
    QTest::addRow("a key twice") << QStringList{"[question]", "type: truefalse", "text: x", "answer: T", "answer: F"}
                                 << 5 << "“answer:”出现了两次";
    QTest::addRow("title twice") << QStringList{"title: a", "title: b", "[question]"} << 2
                                 << "“title:”出现了两次";
}

void TestEchomaxQuiz::quizRefused()
{
    QFETCH(QStringList, lines);
    QFETCH(int, line);
    QFETCH(QString, reason);
    const QuizSource q = QuizSource::parse(lines, QStringLiteral("q.txt"));
    QCOMPARE(q.error.file, QStringLiteral("q.txt"));
    QCOMPARE(q.error.line, line);
    QCOMPARE(q.error.message, reason);
    QVERIFY(q.questions.isEmpty());
}

// Refusals that only a file can show, and one parse refusal, through the generator.
void TestEchomaxQuiz::generatorRefuses_data()
{
    QTest::addColumn<QByteArray>("bytes"); // "<missing>": no file at all
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");
    QTest::addRow("missing") << QByteArray("<missing>") << 0 << "找不到测验文件";
    QTest::addRow("over 64 KB") << QByteArray(Good + QByteArray(64 * 1024, '#')) << 0 << "测验文件太大（超过 64 KB）";
    QTest::addRow("a key twice") << QByteArray("[question]\ntype: choice\ntype: truefalse\n") << 3
                                 << "“type:”出现了两次";
    QTest::addRow("empty file") << QByteArray() << 0 << "测验文件里没有题目";
}

void TestEchomaxQuiz::generatorRefuses()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(QString, reason);
    if (bytes != "<missing>")
        write(QStringLiteral("q.txt"), bytes);
    const QString source = path(QStringLiteral("q.txt"));
    const QString expected = line > 0 ? QStringLiteral("%1:%2: %3").arg(source).arg(line).arg(reason)
                                      : QStringLiteral("%1: %2").arg(source, reason);

    // The window's call: empty key, the reason, and no page made.
    InputError error;
    QCOMPARE(vcGenQuiz(source, path(QStringLiteral("new.htm")), QStringLiteral("T"), &error), QString());
    QCOMPARE(error.toString(), expected);
    QVERIFY(!QFile::exists(path(QStringLiteral("new.htm"))));

    // The tool: the same message, exit status 1, an existing page byte for byte as it was.
    write(QStringLiteral("old.htm"), "<p>old page</p>");
    QProcess tool;
    tool.start(QStringLiteral(MVX_HOME "/mvxbrx-quizgen"), {source, path(QStringLiteral("old.htm"))});
    QVERIFY(tool.waitForFinished(20000));
    QCOMPARE(tool.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(tool.readAllStandardError()), expected + QLatin1Char('\n'));
    QCOMPARE(tool.readAllStandardOutput(), QByteArray());
    QCOMPARE(readAll(path(QStringLiteral("old.htm"))), QStringLiteral("<p>old page</p>"));
}

void TestEchomaxQuiz::pageKeepsTheContract()
{
    write(QStringLiteral("q.txt"), Good);
    write(QStringLiteral("page.htm"), "<p>the previous quiz</p>");
    InputError error{QStringLiteral("stale"), 1, QStringLiteral("stale")};
    const QString key = vcGenQuiz(path(QStringLiteral("q.txt")), path(QStringLiteral("page.htm")), QStringLiteral("标题"), &error);
    QCOMPARE(key, QStringLiteral("FC"));
    QVERIFY(!error.isError());
    const QString page = readAll(path(QStringLiteral("page.htm")));
    QVERIFY(!page.contains(QStringLiteral("previous quiz")));
    QVERIFY(page.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    // Question k is the radio group "radio" + k, with "T"/"F" or the letters as values.
    QStringList radios;
    const QRegularExpression input(QStringLiteral("<input type=\"radio\" name=\"(radio\\d+)\" value=\"(\\w)\">"));
    for (auto it = input.globalMatch(page); it.hasNext();) {
        const auto m = it.next();
        radios << m.captured(1) + QLatin1Char('=') + m.captured(2);
    }
    QCOMPARE(radios, (QStringList{"radio0=T", "radio0=F", "radio1=A", "radio1=B", "radio1=C"}));
    QCOMPARE(page.count(QStringLiteral("<input type=\"button\" name=\"Submit1\"")), 1);
    // Nothing on the page navigates or runs.
    for (const char *bad : {"<script", "<a ", "<form", "href=", "action=", "type=\"submit\""})
        QVERIFY2(!page.contains(QLatin1String(bad), Qt::CaseInsensitive), bad);
    // The Chinese line sits under its question.
    QVERIFY(page.indexOf(QStringLiteral("天空是绿色的。")) > page.indexOf(QStringLiteral("The sky is")));
    QVERIFY(page.indexOf(QStringLiteral("天空是绿色的。")) < page.indexOf(QStringLiteral("name=\"radio0\"")));
}

void TestEchomaxQuiz::markupShowsAsText()
{
    write(QStringLiteral("q.txt"), Good);
    QVERIFY(!vcGenQuiz(path(QStringLiteral("q.txt")), path(QStringLiteral("page.htm")),
                       QStringLiteral("<script>alert(1)</script> \"A&B\""), nullptr)
                 .isEmpty());
    const QString page = readAll(path(QStringLiteral("page.htm")));
    QVERIFY(page.contains(QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt; &quot;A&amp;B&quot;")));
    QVERIFY(page.contains(QStringLiteral("The sky is &lt;b&gt;green&lt;/b&gt;.")));
    QVERIFY(page.contains(QStringLiteral("B. &lt;i&gt;two&lt;/i&gt;")));
    QVERIFY(!page.contains(QStringLiteral("<b>")));
    QVERIFY(!page.contains(QStringLiteral("<script>")));
}

void TestEchomaxQuiz::commandLine()
{
    write(QStringLiteral("小测验.txt"), Good);
    const QString tool = QStringLiteral(MVX_HOME "/mvxbrx-quizgen");
    QProcess run;
    run.start(tool, {path(QStringLiteral("小测验.txt")), path(QStringLiteral("page.htm"))});
    QVERIFY(run.waitForFinished(20000));
    QCOMPARE(run.exitCode(), 0);
    QCOMPARE(run.readAllStandardOutput(), QByteArray("FC\n"));
    // The heading is the source's title; without one, the source's base name.
    QVERIFY(readAll(path(QStringLiteral("page.htm"))).contains(QStringLiteral("<h2>A &lt;Test&gt; &amp; More</h2>")));
    write(QStringLiteral("无标题.txt"), QByteArray(Good).replace("title: A <Test> & More\n", ""));
    run.start(tool, {path(QStringLiteral("无标题.txt")), path(QStringLiteral("page2.htm"))});
    QVERIFY(run.waitForFinished(20000));
    QCOMPARE(run.exitCode(), 0);
    QVERIFY(readAll(path(QStringLiteral("page2.htm"))).contains(QStringLiteral("<h2>无标题</h2>")));

    const QList<QStringList> badUsage{{}, {path(QStringLiteral("小测验.txt"))}, {"a", "b", "c"}, {"--help", "x"}};
    for (const QStringList &args : badUsage) {
        run.start(tool, args);
        QVERIFY(run.waitForFinished(20000));
        QCOMPARE(run.exitCode(), 2);
        QVERIFY(run.readAllStandardError().startsWith("usage: mvxbrx-quizgen"));
    }
}

QTEST_GUILESS_MAIN(TestEchomaxQuiz)
#include "test_echomax_quiz.moc"
