#include "core/CustomEvents.h"
#include "core/Helpers.h"
#include "core/MountedVolumes.h"

#include <QSemaphore>
#include <QtTest>

#include <atomic>
#include <memory>

using namespace mvx;

class TestCoreHelpers : public QObject
{
    Q_OBJECT

private slots:
    void timeFormats_data()
    {
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("minSec");
        QTest::addColumn<QString>("minSecTenth");
        QTest::addRow("zero") << qint64(0) << "00:00" << "00:00:0";
        QTest::addRow("61.5 s") << qint64(61500) << "01:01" << "01:01:5";
        QTest::addRow("61.55 s") << qint64(61550) << "01:01" << "01:01:5";
        QTest::addRow("83.45 s") << qint64(83450) << "01:23" << "01:23:4";
        QTest::addRow("one hour") << qint64(3600000) << "60:00" << "60:00:0";
        QTest::addRow("just under a second") << qint64(999) << "00:00" << "00:00:9";
    }

    void timeFormats()
    {
        QFETCH(qint64, ms);
        QFETCH(QString, minSec);
        QFETCH(QString, minSecTenth);
        QCOMPARE(FormatMinSec(ms), minSec);
        QCOMPARE(FormatMinSecTenth(ms), minSecTenth);
        QCOMPARE(FormatPlayTime(ms), minSecTenth);
    }

    void colours_data()
    {
        QTest::addColumn<qint64>("colour");
        QTest::addColumn<QString>("html");
        QTest::addColumn<qint64>("swapped");
        QTest::addRow("black") << qint64(0) << "000000" << qint64(0);
        QTest::addRow("red") << qint64(255) << "FF0000" << qint64(16711680);
        QTest::addRow("blue") << qint64(16711680) << "0000FF" << qint64(255);
        QTest::addRow("white") << qint64(16777215) << "FFFFFF" << qint64(16777215);
        QTest::addRow("green kept") << qint64(0x00FF00) << "00FF00" << qint64(0x00FF00);
        QTest::addRow("mixed") << qint64(0x123456) << "563412" << qint64(0x563412);
    }

    void colours()
    {
        QFETCH(qint64, colour);
        QFETCH(QString, html);
        QFETCH(qint64, swapped);
        QCOMPARE(ColourToHtml(colour), html);
        QCOMPARE(SwapRedBlue(colour), swapped);
    }

    void pathHelpers_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("stripped");
        QTest::addRow("backslashes") << "a\\b\\c.txt" << "a\\b\\" << "c.txt" << "a\\b\\c";
        QTest::addRow("slashes") << "a/b/c.txt" << "a/b/" << "c.txt" << "a/b/c";
        QTest::addRow("mixed separators") << "a\\b/c.wav" << "a\\b/" << "c.wav" << "a\\b/c";
        QTest::addRow("bare name") << "c.txt" << "" << "c.txt" << "c";
        QTest::addRow("several dots") << "a.b.c" << "" << "a.b.c" << "a.b";
        QTest::addRow("empty") << "" << "" << "" << "";
        QTest::addRow("Chinese") << "书库/文化习俗.dat" << "书库/" << "文化习俗.dat" << "书库/文化习俗";
    }

    void pathHelpers()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QFETCH(QString, stripped);
        QCOMPARE(FolderPart(path), folder);
        QCOMPARE(FileNamePart(path), file);
        QCOMPARE(StripExtension(path), stripped);
    }

    void textHelpers()
    {
        QCOMPARE(ReplaceExtension(QStringLiteral("abc"), QStringLiteral("wav")), QStringLiteral("abc.wav"));
        QCOMPARE(ReplaceExtension(QStringLiteral("a.b.mp3"), QStringLiteral("wav")), QStringLiteral("a.b.wav"));
        QCOMPARE(LastPosition(QStringLiteral("a\\b\\c"), QStringLiteral("\\")), 4);
        QCOMPARE(LastPosition(QStringLiteral("abc"), QStringLiteral("x")), 0);
        QCOMPARE(LastIndexOf(QStringLiteral("abc"), QStringLiteral("x")), -1);
        QCOMPARE(LastIndexOf(QStringLiteral("abcb"), QStringLiteral("b")), 3);
        QCOMPARE(LastPosition(QString(), QStringLiteral("x")), 0);
        QCOMPARE(TrimAtNul(QStringLiteral("abc") + QChar(0) + QStringLiteral("junk")), QStringLiteral("abc"));
        QCOMPARE(TrimAtNul(QStringLiteral("abc")), QStringLiteral("abc"));
    }

    void resolutionRule_data()
    {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<bool>("adapt");
        QTest::addColumn<double>("width");  // 12000 twips after the rule
        QTest::addColumn<double>("height"); // 9000 twips after the rule
        QTest::addColumn<double>("left");   // 1500 twips after the rule
        QTest::addRow("96 dpi changes nothing") << 96.0 << false << 12000.0 << 9000.0 << 1500.0;
        QTest::addRow("120 dpi divides by 1.25") << 120.0 << true << 9600.0 << 7200.0 << 1200.0;
        QTest::addRow("100 dpi keeps the height") << 100.0 << true << 12000.0 / (15.0 / 14.4) << 9000.0
                                                   << 1500.0 / (15.0 / 14.4);
    }

    void resolutionRule()
    {
        QFETCH(double, dpi);
        QFETCH(bool, adapt);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, left);
        const double tpp = 1440.0 / dpi;
        const ResolutionRule rule = ComputeResolutionRule(tpp, tpp, 1.0);
        QCOMPARE(rule.adapt, adapt);
        const double pf = rule.adapt ? rule.positionFactor : 1.0;
        QVERIFY(qFuzzyCompare(12000.0 / pf, width));
        QVERIFY(qFuzzyCompare(rule.adapt ? AdaptedWindowHeight(9000.0, pf) : 9000.0, height));
        QVERIFY(qFuzzyCompare(1500.0 / pf, left));
    }

    void fontAdaptation()
    {
        // A size that the factor leaves at the same whole point goes one point down.
        QCOMPARE(AdaptedFontSize(9.0, 1.0), 8.0);
        QCOMPARE(AdaptedFontSize(12.0, 1.25), 9.6);
    }

    void centring()
    {
        const auto [left, top] = CentredTopLeft(19201, 14401, 6001, 4001);
        QCOMPARE(left, 9600 - 3000);
        QCOMPARE(top, 7200 - 2000);
    }

    // Only local file systems are asked; network, remote and virtual ones never are.
    void mountedVolumesAskedAreLocal()
    {
        const QByteArray table = "/dev/sda1 / ext4 rw,relatime 0 0\n"
                                 "proc /proc proc rw 0 0\n"
                                 "/dev/sdb1 /media/lee/MY\\040DISC vfat rw 0 0\n"
                                 "server:/export /mnt/nfs nfs4 rw 0 0\n"
                                 "//nas/share /mnt/smb cifs rw 0 0\n"
                                 "lee@host:/home /mnt/ssh fuse.sshfs rw 0 0\n"
                                 "share /mnt/vm 9p rw 0 0\n"
                                 "/dev/sdc1 /media/lee/ntfs fuseblk rw 0 0\n"
                                 "systemd-1 /mnt/auto autofs rw 0 0\n"
                                 "/dev/sr0 /media/cdrom iso9660 ro 0 0\n"
                                 "\n";
        QStringList asked;
        for (const MountEntry &entry : ParseMountTable(table))
            if (IsProbedFileSystem(entry.type))
                asked << entry.root;
        QCOMPARE(asked, (QStringList{"/", "/media/lee/MY DISC", "/media/lee/ntfs", "/media/cdrom"}));
    }

    // Every root is asked at once; one that does not answer within the bound (a stale
    // mount) counts as not holding the file, and the search does not wait for it.
    void aSilentVolumeDoesNotHoldTheSearch_data()
    {
        QTest::addColumn<QStringList>("holding"); // roots that hold the file
        QTest::addColumn<QString>("found");
        QTest::addRow("behind a silent volume") << QStringList{"/b"} << "/b/";
        QTest::addRow("the first in order wins") << QStringList{"/b", "/c"} << "/b/";
        QTest::addRow("nowhere") << QStringList{} << "";
    }
    void aSilentVolumeDoesNotHoldTheSearch()
    {
        QFETCH(QStringList, holding);
        QFETCH(QString, found);
        struct Stale
        {
            QSemaphore release;
            std::atomic<bool> answered{false};
        };
        auto stale = std::make_shared<Stale>();
        const auto exists = [stale, holding](const QString &path) {
            if (path.startsWith(QLatin1String("/stale/"))) {
                stale->release.tryAcquire(1, 30000); // a dead network mount
                stale->answered = true;
                return true;
            }
            return holding.contains(path.section(QLatin1Char('/'), 0, 1));
        };
        const QString root = FindUnderRoots(QStringLiteral("snd/vocabranewsnd.idx"), {"/stale", "/b", "/c"}, exists, 300);
        QVERIFY(!stale->answered); // returned while the stale volume was still silent
        stale->release.release();
        QCOMPARE(root, found);
    }

    void privateMessagesReachThePlayer_data()
    {
        QTest::addColumn<int>("message");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<QString>("call");
        QTest::addRow("2259 new word") << 2259 << true << "MakeNewwordNote";
        QTest::addRow("2260 notebook closed") << 2260 << true << "NotebookFormUnload 11 22";
        QTest::addRow("2261 word source") << 2261 << true << "ShowWordSrc 11";
        QTest::addRow("2262 passes on") << 2262 << false << "";
        QTest::addRow("2263 word meaning") << 2263 << true << "SaveWordMean";
        QTest::addRow("ordinary event passes on") << int(QEvent::MouseButtonPress) << false << "";
    }

    void privateMessagesReachThePlayer()
    {
        QFETCH(int, message);
        QFETCH(bool, handled);
        QFETCH(QString, call);
        struct Target : PlayerMessageTarget
        {
            QString call;
            int MakeNewwordNote() override { call = QStringLiteral("MakeNewwordNote"); return 5; }
            int NotebookFormUnload(qintptr w, qintptr l) override { call = QStringLiteral("NotebookFormUnload %1 %2").arg(w).arg(l); return 5; }
            int ShowWordSrc(qintptr w) override { call = QStringLiteral("ShowWordSrc %1").arg(w); return 5; }
            int SaveWordMean() override { call = QStringLiteral("SaveWordMean"); return 5; }
        } target;
        PrivateMessageEvent event(message, 11, 22);
        int result = -1;
        QCOMPARE(PlayerMessageHook(target, &event, &result), handled);
        QCOMPARE(target.call, call);
        QCOMPARE(result, handled ? 5 : -1);
        // The sender (the pop-up) reads the answer from the message itself.
        QCOMPARE(event.result(), handled ? 5 : int(PrivateMessageEvent::NoAnswer));
    }
};

QTEST_GUILESS_MAIN(TestCoreHelpers)
#include "test_core_helpers.moc"
