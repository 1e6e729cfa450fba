// Excerpts of the player's current sentence: "segment" files, the memoriser's hand-over,
// the learner's questions, and failures that leave the old excerpt or nothing.
#include "ExcerptFixtures.h"
#include "core/UserSettings.h"
#include "player/excerpt/ExcerptKeys.h"
#include "libs/sentra/SentraFacade.h"
#include "player/excerpt/ExcerptFiles.h"
#include "player/excerpt/Excerpts.h"
#include "player/excerpt/Padding.h"

#include <QtTest>

using namespace mvx;
using namespace mvx::excerpt;

namespace {

// Answers the questions from a script (true = Yes) and records what was asked and told.
class ScriptedAnswers final : public ExcerptQuestions
{
public:
    QStringList asked;
    QStringList told;
    QList<bool> answers; // taken in order; Yes when the script runs out
    int busyDepth = 0;
    bool busySeen = false;
    bool Ask(const QString &text) override
    {
        asked << text;
        return answers.isEmpty() ? true : answers.takeFirst();
    }
    void Tell(const QString &text) override { told << text; }
    void SetBusy(bool busy) override
    {
        busyDepth += busy ? 1 : -1;
        busySeen = busySeen || busy;
    }
};

// The disk, except that writing a temporary file whose name contains `failOn` fails.
class FailingFiles final : public ExcerptFiles
{
public:
    QString failOn;
    bool Write(const QString &path, const QByteArray &bytes) override
    {
        if (!failOn.isEmpty() && path.contains(failOn))
            return false;
        return ExcerptFiles::Write(path, bytes);
    }
};

const QList<excerptfix::Burst> kBursts = {{100, 1000, 0.3}, {1300, 2000, 0.3}, {2300, 2900, 0.3}};

} // namespace

class TestExcerptDigest : public QObject
{
    Q_OBJECT
    QString m_home;
    int m_book = -1;

    ExcerptSpot Spot(int noInAll, int status = 1, int a = 0, int b = 0) const
    {
        return {status, m_book, noInAll, a, b};
    }
    QString Seg(const QString &file) const { return m_home + QStringLiteral("/segment/") + file; }

private slots:
    void initTestCase()
    {
        sentra::LessonData l;
        l.title = QStringLiteral("Ocean Life");
        l.sound = excerptfix::burstWav(kBursts, 3000);
        l.sentences.append(fixtures::sentence(100, 1000, QStringLiteral("Whales sing."), QStringLiteral("鲸鱼唱歌。")));
        l.sentences.append(fixtures::sentence(1300, 2000, QStringLiteral("Fish, \"too\", <swim>."),
                                              QStringLiteral("鱼也游。"), QStringLiteral("note")));
        l.sentences.append(fixtures::sentence(2300, 2900, QStringLiteral("The end."), QStringLiteral("完。")));
        m_book = bcSentraBook_Open(fixtures::makeBook(QStringLiteral("ocean.dat"), {l}), QStringLiteral("rb"));
        QVERIFY(m_book > 0);
        m_home = fixtures::tmpDir() + QStringLiteral("/home");
        QDir(m_home).removeRecursively();
        QVERIFY(QDir().mkpath(m_home));
    }

    void init()
    {
        QDir(m_home + QStringLiteral("/segment")).removeRecursively();
        SaveUserBool(QString::fromLatin1(Key::DigestHint), true);
        SaveUserBool(QString::fromLatin1(Key::SentraUserSndHint), true);
        SaveUserInt(QString::fromLatin1(Key::ExcerptPadMs), 150);
    }

    // The stored pad as the learner may have edited it: out of range or not a number is 150.
    void padSettingReadsBack_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("pad");
        QTest::newRow("default") << QString() << 150;
        QTest::newRow("none") << "0" << 0;
        QTest::newRow("a second") << "1000" << 1000;
        QTest::newRow("over a second") << "1001" << 150;
        QTest::newRow("negative") << "-5" << 150;
        QTest::newRow("not a number") << "x" << 150;
        QTest::newRow("in range") << "320" << 320;
    }
    void padSettingReadsBack()
    {
        QFETCH(QString, stored);
        QFETCH(int, pad);
        SaveUserSetting(QString::fromLatin1(Key::ExcerptPadMs), stored);
        QCOMPARE(PadMsSetting(), pad);
    }

    void proposesTheCountersNumber_data()
    {
        QTest::addColumn<int>("cur");
        QTest::addColumn<bool>("hasTitle");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("want");
        QTest::newRow("with a title line") << 12 << true << "Ocean Life" << "12 - Ocean Life";
        QTest::newRow("without one") << 11 << false << "Ocean Life" << "12 - Ocean Life";
        QTest::newRow("slashes in the title") << 3 << true << "AC/DC \\ live" << "3 - AC-DC - live";
    }
    void proposesTheCountersNumber()
    {
        QFETCH(int, cur);
        QFETCH(bool, hasTitle);
        QFETCH(QString, title);
        QFETCH(QString, want);
        const QString name = Excerpts::ProposedName(cur, hasTitle, title);
        QCOMPARE(name, want);
        QVERIFY(Excerpts::IsValidName(name));
    }

    void refusesBadNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("slash") << "a/b";
        QTest::newRow("backslash") << "a\\b";
        QTest::newRow("dot") << ".";
        QTest::newRow("dot dot") << "..";
        QTest::newRow("control character") << QStringLiteral("a\tb");
        QTest::newRow("over 200 bytes") << QString(67, QChar(0x4E2D)); // 201 bytes of UTF-8
    }
    void refusesBadNames()
    {
        QFETCH(QString, name);
        ExcerptFiles files;
        ScriptedAnswers answers;
        Excerpts excerpts(m_home, files, answers);
        QVERIFY(!excerpts.DigestSeg(name, Spot(1)));
        QCOMPARE(answers.told, QStringList{Excerpts::BadNameMessage()});
        QVERIFY(!QFileInfo::exists(m_home + QStringLiteral("/segment")) || QDir(Seg({})).isEmpty());
        QVERIFY(Excerpts::IsValidName(QString(66, QChar(0x4E2D)))); // 198 bytes is fine
    }

    void segmentIsExactAndUnpadded()
    {
        ExcerptFiles files;
        ScriptedAnswers answers;
        Excerpts excerpts(m_home, files, answers);
        // Repeating 100..600 ms of sentence 1 (1300..2000 in the lesson).
        QVERIFY(excerpts.DigestSeg(QStringLiteral("part"), Spot(1, Excerpts::RepeatingStatus, 100, 600)));
        QVERIFY(answers.busySeen);
        QCOMPARE(answers.busyDepth, 0);
        const std::vector<qint16> part = excerptfix::decode(Seg(QStringLiteral("part.mp3")));
        QCOMPARE(qint64(part.size()), SampleAt(1900) - SampleAt(1400));
        // The text is the whole sentence's, CR LF after each line, UTF-8.
        QCOMPARE(excerptfix::readAll(Seg(QStringLiteral("part.txt"))),
                 QStringLiteral("Fish, \"too\", <swim>.\r\n鱼也游。\r\n").toUtf8());
        // Stopped: the whole sentence, padded over its quiet neighbours.
        QVERIFY(excerpts.DigestSeg(QStringLiteral("whole"), Spot(1)));
        QCOMPARE(qint64(excerptfix::decode(Seg(QStringLiteral("whole.mp3"))).size()), SampleAt(2150) - SampleAt(1150));
        QCOMPARE(QDir(Seg({})).entryList(QDir::Files | QDir::Hidden).size(), 4); // no temporary file left
    }

    void overwriteAndHintQuestions()
    {
        ExcerptFiles files;
        ScriptedAnswers answers;
        Excerpts excerpts(m_home, files, answers);
        answers.answers = {false}; // the hint: No
        QVERIFY(excerpts.DigestSeg(QStringLiteral("one"), Spot(0)));
        QCOMPARE(answers.asked.size(), 1);
        QVERIFY(answers.asked[0].startsWith(QStringLiteral("摘录下来的内容")));
        QVERIFY(answers.asked[0].endsWith(QStringLiteral("\n\n下次摘录句子还要提醒您这一点吗？")));
        QCOMPARE(GetUserBool(QString::fromLatin1(Key::DigestHint), true), false);

        const QByteArray oldMp3 = excerptfix::readAll(Seg(QStringLiteral("one.mp3")));
        answers.asked.clear();
        answers.answers = {false}; // overwrite: No
        QVERIFY(!excerpts.DigestSeg(QStringLiteral("one"), Spot(2)));
        QCOMPARE(answers.asked, QStringList{QStringLiteral("叫这个名字的摘录段已存在，覆盖吗？")});
        QCOMPARE(excerptfix::readAll(Seg(QStringLiteral("one.mp3"))), oldMp3);
        QVERIFY(excerptfix::readAll(Seg(QStringLiteral("one.txt"))).startsWith("Whales sing."));

        answers.asked.clear();
        answers.answers = {true}; // overwrite: Yes; the hint is not asked again
        QVERIFY(excerpts.DigestSeg(QStringLiteral("one"), Spot(2)));
        QCOMPARE(answers.asked.size(), 1);
        QVERIFY(excerptfix::readAll(Seg(QStringLiteral("one.txt"))).startsWith("The end."));
    }

    void failedWriteKeepsTheOldExcerpt_data()
    {
        QTest::addColumn<QString>("failOn");
        QTest::newRow("sound") << ".mp3.part";
        QTest::newRow("text") << ".txt.part";
    }
    void failedWriteKeepsTheOldExcerpt()
    {
        QFETCH(QString, failOn);
        ScriptedAnswers answers;
        FailingFiles files;
        Excerpts excerpts(m_home, files, answers);
        QVERIFY(excerpts.DigestSeg(QStringLiteral("kept"), Spot(0)));
        const QByteArray oldMp3 = excerptfix::readAll(Seg(QStringLiteral("kept.mp3")));
        const QByteArray oldTxt = excerptfix::readAll(Seg(QStringLiteral("kept.txt")));
        files.failOn = failOn;
        answers.told.clear();
        QVERIFY(!excerpts.DigestSeg(QStringLiteral("kept"), Spot(2)));
        QVERIFY(!excerpts.DigestSeg(QStringLiteral("fresh"), Spot(2)));
        QCOMPARE(answers.told.size(), 2);
        const QString target = failOn.startsWith(QLatin1String(".mp3")) ? QStringLiteral("kept.mp3") : QStringLiteral("kept.txt");
        QVERIFY2(answers.told[0].contains(target), qPrintable(answers.told[0]));
        QCOMPARE(excerptfix::readAll(Seg(QStringLiteral("kept.mp3"))), oldMp3);
        QCOMPARE(excerptfix::readAll(Seg(QStringLiteral("kept.txt"))), oldTxt);
        QCOMPARE(QDir(Seg({})).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("kept.mp3"), QStringLiteral("kept.txt")}));
    }

    // A sound that cannot be made (the book closed under the player) and a "segment" that
    // cannot be made (a file of that name) are each reported with the file, and nothing is written.
    void unmadeSoundOrFolderIsReported()
    {
        ScriptedAnswers answers;
        ExcerptFiles files;
        Excerpts excerpts(m_home, files, answers);
        QVERIFY(!excerpts.DigestSeg(QStringLiteral("lost"), {1, 999, 0, 0, 0}));
        QCOMPARE(answers.told.size(), 1);
        QVERIFY2(answers.told[0].contains(QStringLiteral("声音没有做成")) && answers.told[0].contains(QStringLiteral("lost.mp3")),
                 qPrintable(answers.told[0]));
        QVERIFY(!QFileInfo::exists(Seg({})));

        QFile blocker(Seg({}).chopped(1)); // "segment" as a file
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        answers.told.clear();
        QVERIFY(!excerpts.DigestSeg(QStringLiteral("blocked"), Spot(1)));
        QFile::remove(blocker.fileName());
        QCOMPARE(answers.told.size(), 1);
        QVERIFY2(answers.told[0].contains(QStringLiteral("无法建立文件夹")), qPrintable(answers.told[0]));
    }

    void handsTheSentenceToTheMemoriser()
    {
        const QString sentraKey = QStringLiteral("SOFTWARE\\MorvexSoft\\Sentra");
        ExcerptFiles files;
        ScriptedAnswers answers;
        Excerpts excerpts(m_home, files, answers);
        SaveAppSetting(sentraKey, QString(), QStringLiteral("InstallPath"), QString());
        QVERIFY(!excerpts.DigestToSentra(Spot(1)));
        QCOMPARE(answers.told, QStringList{QStringLiteral("您没有安装《Sentra》软件，无法摘录")});

        // A stand-in memoriser that notes its argument and folder; the path has no trailing "/".
        const QString p = fixtures::tmpDir() + QStringLiteral("/Sentra Program");
        QDir(p).removeRecursively();
        QVERIFY(QDir().mkpath(p));
        QFile script(p + QStringLiteral("/sentra"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$1 $(pwd)\" > started.txt.part && mv started.txt.part started.txt\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        SaveAppSetting(sentraKey, QString(), QStringLiteral("InstallPath"), p);
        answers.told.clear();
        answers.answers = {false}; // the usersnd hint: No
        QVERIFY(excerpts.DigestToSentra(Spot(1, Excerpts::RepeatingStatus, 100, 200)));
        QVERIFY(answers.told.isEmpty());
        QVERIFY(answers.asked.value(0).contains(p + QStringLiteral("/usersnd 文件夹下")));
        QCOMPARE(GetUserBool(QString::fromLatin1(Key::SentraUserSndHint), true), false);
        QCOMPARE(excerptfix::readAll(p + QStringLiteral("/DigestFile.txt")),
                 QStringLiteral("Fish, \"too\", <swim>.\r\n鱼也游。\r\nnote").toUtf8());
        // Always the whole sentence, padded, also while a part repeats.
        const QString f = bcSentence_GetFileNameEnglish(m_book, 1, 80);
        QCOMPARE(qint64(excerptfix::decode(p + QStringLiteral("/usersnd/") + f + QStringLiteral(".mp3")).size()),
                 SampleAt(2150) - SampleAt(1150));
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo::exists(p + QStringLiteral("/started.txt")); }, 10000));
        QCOMPARE(excerptfix::readAll(p + QStringLiteral("/started.txt")).trimmed(), ("DigestFile " + p).toUtf8());

        // A memoriser that cannot start is reported.
        QFile::remove(p + QStringLiteral("/sentra"));
        answers.told.clear();
        QVERIFY(!excerpts.DigestToSentra(Spot(1)));
        QCOMPARE(answers.told.size(), 1);
        QVERIFY(answers.told[0].contains(QStringLiteral("无法启动《Sentra》")));
    }
};

QTEST_GUILESS_MAIN(TestExcerptDigest)
#include "test_excerpt_digest.moc"
