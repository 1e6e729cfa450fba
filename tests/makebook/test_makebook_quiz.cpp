// mvxbrx-makebook --quiz: the quiz checked by the quiz generator and installed where the quiz
// window looks for it, with the other inputs or alone for an existing book; "已替换" and the
// shared-lesson note; refusals change nothing; a quiz that cannot be put in place last puts
// the book and the index back.
#include "libs/bookmaker/BookMaker.h"
#include "QuizInstall.h"
#include "SoundFixture.h"
#include "library/ArticleLibrary.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace mvx;

class TestMakebookQuiz : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void installsWhereTheQuizWindowLooks();
    void refusalsChangeNothing_data();
    void refusalsChangeNothing();
    void aQuizThatCannotBePutInPlacePutsTheBookBack();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Runs the tool in the home; returns the exit code, stdout and stderr.
    int run(const QStringList &args, QString *out = nullptr, QString *err = nullptr) const
    {
        QProcess p;
        p.setWorkingDirectory(m_dir->path());
        p.start(QStringLiteral(MVX_HOME "/mvxbrx-makebook"), args);
        if (!p.waitForFinished(60000))
            return -1;
        if (out)
            *out = QString::fromUtf8(p.readAllStandardOutput());
        if (err)
            *err = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    }
    QStringList lessonArgs(const QString &quiz) const
    {
        return {"--book", path("brxspecial/课文.dat"), "--audio", path("lesson.wav"), "--text", path("lesson.txt"),
                "--index", path("BrxSpecialIdx.txt"), "--category", "我的材料/听力", "--title", "我的课文",
                "--quiz", path(quiz)};
    }
    // Every file under the home with its bytes' hash.
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> files;
        for (QDirIterator it(m_dir->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            const QString f = it.next();
            QFile file(f);
            files[f] = file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1)
                                                      : QByteArray("unreadable");
        }
        return files;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

static const QByteArray Quiz = "[question]\ntype: truefalse\ntext: It is short.\nanswer: T\n";
static const QByteArray Quiz2 = "[question]\ntype: choice\ntext: Which?\nA: a\nB: b\nanswer: B\n";

void TestMakebookQuiz::init()
{
    m_dir = std::make_unique<QTemporaryDir>(QString::fromLocal8Bit(qgetenv("MVX_TEST_TMP")) + "/quiz-XXXXXX");
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkpath("brxspecial"));
    QVERIFY(QDir(m_dir->path()).mkpath("quiz"));
    const fixture::Speech speech = fixture::makeSpeech({900, 1200}, {500, 500});
    QVERIFY(fixture::writeSound(path("lesson.wav"), speech.samples, speech.rate, fixture::Wav));
    write("lesson.txt", "It is short.\nIt is a test.\n");
    write("q.txt", Quiz);
    write("q2.txt", Quiz2);
    write("bad.txt", "[question]\ntype: truefalse\ntext: x\nanswer: C\n");
}

void TestMakebookQuiz::installsWhereTheQuizWindowLooks()
{
    QString out, err;
    QCOMPARE(run(lessonArgs("q.txt"), &out, &err), 0);
    // Where the library window's "FirstTest" step looks for the book's quiz.
    const QString installed = path(ArticleLibrary::quizFileFor(QStringLiteral("brxspecial/课文.dat")));
    QCOMPARE(installed, path("quiz/课文.txt"));
    QVERIFY2(out.contains(QStringLiteral("测验 %1：已安装").arg(installed)), qPrintable(out + err));
    QVERIFY(!out.contains(QStringLiteral("共用")));
    QFile f(installed);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), Quiz);
    f.close();

    // A second lesson of the same book with another quiz: the book's one quiz is replaced.
    QCOMPARE(run(lessonArgs("q2.txt"), &out, &err), 0);
    QVERIFY2(out.contains(QStringLiteral("测验 %1：已替换").arg(installed)), qPrintable(out));
    QVERIFY(out.contains(QStringLiteral("这本书的 2 课共用这一个测验（测验按书命名）")));

    // The quiz alone, for the existing book, in the current folder's quiz/.
    QCOMPARE(run({"--book", path("brxspecial/课文.dat"), "--quiz", path("q.txt")}, &out, &err), 0);
    QVERIFY2(out.contains(QStringLiteral("已替换")), qPrintable(out + err));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), Quiz);
    // No temporary file stays behind.
    QCOMPARE(QDir(path("quiz")).entryList(QDir::Files | QDir::Hidden), QStringList{"课文.txt"});
    QCOMPARE(QDir(path("brxspecial")).entryList(QDir::Files | QDir::Hidden), QStringList{"课文.dat"});
}

void TestMakebookQuiz::refusalsChangeNothing_data()
{
    QTest::addColumn<QString>("setup"); // what is done to the home first
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error");
    QTest::addRow("refused quiz") << "" << QStringList{"<lesson>", "bad.txt"}
                                  << "/bad.txt:1: 判断题的答案必须是 T 或 F";
    QTest::addRow("missing quiz") << "" << QStringList{"<lesson>", "none.txt"} << "/none.txt: 找不到测验文件";
    QTest::addRow("home without quiz/") << "no quiz folder" << QStringList{"<lesson>", "q.txt"}
                                        << "/quiz: 节目文件夹里没有 quiz 文件夹，测验无处安放";
    QTest::addRow("refused quiz, existing book") << "book" << QStringList{"<lesson>", "bad.txt"} << "/bad.txt:1:";
    QTest::addRow("quiz alone, refused") << "book" << QStringList{"--book", "brxspecial/课文.dat", "--quiz", "bad.txt"}
                                         << "/bad.txt:1:";
    QTest::addRow("quiz alone, no such book") << "" << QStringList{"--book", "brxspecial/无.dat", "--quiz", "q.txt"}
                                              << "brxspecial/无.dat: 句子书不存在";
    QTest::addRow("quiz alone, home without quiz/")
        << "book, no quiz folder" << QStringList{"--book", "brxspecial/课文.dat", "--quiz", "q.txt"}
        << "/quiz: 节目文件夹里没有 quiz 文件夹";
}

void TestMakebookQuiz::refusalsChangeNothing()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, args);
    QFETCH(QString, error);
    if (setup.startsWith(QLatin1String("book"))) {
        QCOMPARE(run(lessonArgs("q.txt")), 0);
        write("quiz/课文.txt", "# the quiz as it was\n" + Quiz);
    }
    if (setup.endsWith(QLatin1String("no quiz folder")))
        QVERIFY(QDir(path("quiz")).removeRecursively());
    if (args.first() == QLatin1String("<lesson>"))
        args = lessonArgs(args.at(1));
    else
        args[3] = path(args[3]);
    const QMap<QString, QByteArray> before = snapshot();
    QString out, err;
    QCOMPARE(run(args, &out, &err), 1);
    QVERIFY2(err.contains(error), qPrintable(err));
    QVERIFY(err.contains(QStringLiteral("没有做任何改动。")));
    QCOMPARE(snapshot(), before); // book, index and quiz byte for byte; nothing added
}

void TestMakebookQuiz::aQuizThatCannotBePutInPlacePutsTheBookBack()
{
    QCOMPARE(run(lessonArgs("q.txt")), 0);
    const QMap<QString, QByteArray> before = snapshot();
    MakeBookOptions o;
    o.book = path("brxspecial/课文.dat");
    o.audio = path("lesson.wav");
    o.text = path("lesson.txt");
    LessonPlan plan;
    QVERIFY(!BookMaker::prepare(o, plan).isError());
    QuizInstall install;
    QVERIFY(!install.prepare(path("q2.txt"), o.book, m_dir->path()).isError());
    QVERIFY(!install.keep(path("BrxSpecialIdx.txt")).isError());
    const MakeBookResult r = BookMaker::commit(plan, path("BrxSpecialIdx.txt"), QStringLiteral("我的材料/听力"),
                                               QStringLiteral("第二课"));
    QVERIFY2(!r.error.isError(), qPrintable(r.error.toString()));
    QVERIFY(snapshot() != before); // the lesson and its index line are in
    // The quiz folder goes away before the quiz is renamed into it.
    QVERIFY(QDir(path("quiz")).removeRecursively());
    const InputError e = install.finish();
    QVERIFY(e.isError());
    QCOMPARE(e.file, path("quiz/课文.txt"));
    QMap<QString, QByteArray> expected = before;
    expected.remove(path("quiz/课文.txt"));
    QCOMPARE(snapshot(), expected);
}

QTEST_GUILESS_MAIN(TestMakebookQuiz)
#include "test_makebook_quiz.moc"
