// Marking a submitted quiz (the answer line, the score and its message) and the last score of
// each article kept in the settings store.
#include "quiz/QuizScores.h"
#include "quiz/QuizScoring.h"

#include "core/AppState.h"
#include "core/UserSettings.h"

#include <QTest>

using namespace mvx;

class TestQuizMarking : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The settings store outlives a run: start without the scores an earlier run kept.
        for (const char *key : {"brxspecial/文化习俗.dat|0", "brxspecial/文化习俗.dat|1"})
            SaveAppSetting(App().appName, QStringLiteral("QuizScores"), QString::fromUtf8(key), {});
    }
    void marks_data();
    void marks();
    void lastScorePerArticle();
    void unreadableScoresReadAsNone_data();
    void unreadableScoresReadAsNone();
};

void TestQuizMarking::marks_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("score"); // empty: no score
    QTest::addRow("TBF, the second wrong") << "TBF" << QStringList{"T", "C", "F"}
                                          << "答案：  1. True     *2. B     3. false     " << "66.6666666666667";
    QTest::addRow("none chosen") << "TBF" << QStringList{"NoAnswer", "NoAnswer", "NoAnswer"}
                                 << "答案：  *1. True     *2. B     *3. false     " << "0";
    QTest::addRow("all right") << "TBF" << QStringList{"T", "B", "F"} << "答案：  1. True     2. B     3. false     "
                               << "100";
    QTest::addRow("page gave fewer answers") << "FTDAB" << QStringList{"F", "T", "D", "A"}
                                             << "答案：  1. false     2. True     3. D     4. A     *5. B     " << "80";
    QTest::addRow("empty key") << "" << QStringList{"T"} << "" << "";
}

void TestQuizMarking::marks()
{
    QFETCH(QString, key);
    QFETCH(QStringList, answers);
    QFETCH(QString, line);
    QFETCH(QString, score);
    const QuizMarks m = MarkQuiz(key, answers);
    QCOMPARE(m.answerLine, line);
    QCOMPARE(m.hasScore, !score.isEmpty());
    QCOMPARE(m.scoreText, score);
    QCOMPARE(m.wrong, int(line.count(QLatin1Char('*'))));
    QCOMPARE(m.message, score.isEmpty() ? QStringLiteral("这篇文章没有测验题。")
                                        : QStringLiteral("您的得分： ") + score
                                              + QStringLiteral("\n\n正确答案见题目下方，做错的题目，题号左边有“*”标识"));
}

void TestQuizMarking::lastScorePerArticle()
{
    const QString book = QStringLiteral("brxspecial/文化习俗.dat");
    QCOMPARE(QuizScores::LastScoreText(book, 0), QStringLiteral("还没有做过这个测验"));
    QuizScores::Save(book, 0, QStringLiteral("80"), QDateTime(QDate(2025, 1, 9), QTime(20, 15, 42)));
    QuizScores::Save(book, 1, QStringLiteral("66.6666666666667"), QDateTime(QDate(2025, 1, 10), QTime(8, 5)));
    QCOMPARE(QuizScores::LastScoreText(book, 0), QStringLiteral("上次得分：80（2025-01-09 20:15）"));
    QCOMPARE(QuizScores::LastScoreText(book, 1), QStringLiteral("上次得分：66.6666666666667（2025-01-10 08:05）"));
    QCOMPARE(QuizScores::LastScoreText(QStringLiteral("brxspecial/other.dat"), 0), QStringLiteral("还没有做过这个测验"));
    QCOMPARE(GetAppSetting(App().appName, QStringLiteral("QuizScores"), book + QStringLiteral("|0"), {}),
             QStringLiteral("80\t2025-01-09 20:15"));
    // A newer score replaces the older one.
    QuizScores::Save(book, 0, QStringLiteral("100"), QDateTime(QDate(2025, 2, 1), QTime(9, 0)));
    QCOMPARE(QuizScores::LastScoreText(book, 0), QStringLiteral("上次得分：100（2025-02-01 09:00）"));
}

void TestQuizMarking::unreadableScoresReadAsNone_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addRow("empty") << "";
    QTest::addRow("no time") << "80";
    QTest::addRow("not a number") << "eighty\t2025-01-09 20:15";
    QTest::addRow("not a time") << "80\tyesterday";
    QTest::addRow("over 100") << "180\t2025-01-09 20:15";
    QTest::addRow("three fields") << "80\t2025-01-09 20:15\tx";
}

void TestQuizMarking::unreadableScoresReadAsNone()
{
    QFETCH(QString, stored);
    SaveAppSetting(App().appName, QStringLiteral("QuizScores"), QStringLiteral("b.dat|3"), stored);
    QCOMPARE(QuizScores::LastScoreText(QStringLiteral("b.dat"), 3), QStringLiteral("还没有做过这个测验"));
}

QTEST_GUILESS_MAIN(TestQuizMarking)
#include "test_quiz_marking.moc"
