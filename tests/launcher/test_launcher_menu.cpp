// The menu: what each item starts (stand-in programs log how they were started) or says,
// the autostart entry, and the menu built from the real rendered pictures.
#include "LauncherFixture.h"

#include "launcher/AutostartEntry.h"
#include "launcher/LauncherServer.h"
#include "launcher/SpiritMenu.h"
#include "launcher/SuitePrograms.h"

#include "core/PictureFiles.h"
#include "core/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>

using namespace launchertest;
using namespace mvx;

namespace {
const QString kPictures = QStringLiteral(MVX_HOME "/spiritinterface/");

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestLauncherMenu : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config{QString::fromLocal8Bit(qgetenv("MVX_TEST_TMP")) + QStringLiteral("/configXXXXXX")};

private slots:
    void init() { ClearPrograms(); }

    void launchTable_data()
    {
        // setup: "program key|value name=value" with {F:folder} for a stand-in folder,
        // "exe:folder/file" makes a stand-in program, "lock:name" holds a window's lock.
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("expected"); // "start:file|{F:folder}|args" or "box:title|text"
        const QString sentra = QStringLiteral("SOFTWARE\\MorvexSoft\\Sentra|InstallPath={F:Sentra}");
        const QStringList sentraSetup{sentra, "exe:Sentra/sentra"};
        QTest::newRow("Sentra") << sentraSetup << "btSentra" << "start:sentra|{F:Sentra}";
        QTest::newRow("Ambisen") << sentraSetup << "btAmbisen" << "start:sentra|{F:Sentra}|Browse";
        QTest::newRow("Mustrec") << sentraSetup << "btMustrec" << "start:sentra|{F:Sentra}|Spell";
        QTest::newRow("Quoren") << sentraSetup << "btSearchSentence" << "start:sentra|{F:Sentra}|Search";
        QTest::newRow("Pickwell") << sentraSetup << "btDigestSentence" << "start:sentra|{F:Sentra}|AddSentence";
        QTest::newRow("Ambisen running") << (sentraSetup + QStringList{"lock:Ambisen"}) << "btAmbisen"
                                         << "box:Morvex精灵|Ambisen正在运行，您不能再启动一份";
        QTest::newRow("Sentra missing") << QStringList{sentra} << "btSentra" << "box:Morvex精灵|您没有安装Sentra";
        QTest::newRow("Vocabra by its ExeName, spaces kept")
            << QStringList{"vocabra7|InstallPath={F:Vocabra 7}", "vocabra7|ExeName=vocabra 8 pro", "exe:Vocabra 7/vocabra 8 pro"}
            << "btVocabra" << "start:vocabra 8 pro|{F:Vocabra 7}";
        QTest::newRow("Vocabra default file")
            << QStringList{"vocabra7|InstallPath={F:Vocabra 7}", "exe:Vocabra 7/vocabra2004"} << "btVocabra"
            << "start:vocabra2004|{F:Vocabra 7}";
        QTest::newRow("ExeName with a path")
            << QStringList{"vocabra7|InstallPath={F:Vocabra 7}", "vocabra7|ExeName=../Sentra/sentra", "exe:Sentra/sentra"}
            << "btVocabra" << "box:Morvex精灵|您没有安装Vocabra7或更高版本";
        QTest::newRow("AmbivoExe with ..")
            << QStringList{"vocabra7|InstallPath={F:Vocabra 7}", "vocabra7|AmbivoExe=..", "exe:Vocabra 7/ambivo2004"}
            << "btAmbivo" << "box:Morvex精灵|您没有安装Vocabra7(或更高版本）";
        QTest::newRow("Vocabra master missing") << QStringList{"vocabra7|InstallPath={F:Vocabra 7}"} << "btVocabraMaster"
                                                << "box:Morvex精灵|您没有安装Vocabra8或更高版本";
        QTest::newRow("dictionary") << QStringList{"vocabra7|InstallPath={F:Vocabra 7}", "exe:Vocabra 7/mvxdict"}
                                    << "btMvxDict" << "start:mvxdict|{F:Vocabra 7}";
        QTest::newRow("Lentoria") << QStringList{"mvxbrxspecial|InstallPath={F:Lentoria}", "exe:Lentoria/mvxbrxspecial"}
                                  << "btBrxSpecial" << "start:mvxbrxspecial|{F:Lentoria}";
        QTest::newRow("standard English missing") << QStringList{} << "btBrxStandard"
                                                  << "box:Morvex精灵|您没有安装《MorvexLentoria》(标准英语版）";
        QTest::newRow("notebook review starts Lentoria")
            << QStringList{"mvxbrxspecial|InstallPath={F:Lentoria}", "exe:Lentoria/mvxbrxspecial"} << "btNoteReview"
            << "start:mvxbrxspecial|{F:Lentoria}";
        QTest::newRow("notebook review while Lentoria runs")
            << QStringList{"mvxbrxspecial|InstallPath={F:Lentoria}", "exe:Lentoria/mvxbrxspecial", "lock:mvxbrxspecial"}
            << "btNoteReview" << "box:Morvex精灵|Lentoria 正在运行，请在单词笔记本里复习。";
        QTest::newRow("Artigle") << QStringList{"MvxMirada|InstallPath={F:Mirada}", "exe:Mirada/artigle"} << "btArtigle"
                                 << "start:artigle|{F:Mirada}|NoIe";
        QTest::newRow("Artigle from Readola")
            << QStringList{"readola2003|InstallPath={F:Readola}", "exe:Readola/artigle"} << "btArtigle"
            << "start:artigle|{F:Readola}|NoIe";
        QTest::newRow("Artigle part missing") << QStringList{"MvxMirada|InstallPath={F:Mirada}"} << "btArtigle"
                                              << "box:Morvex英语|MorvexArtigle无法运行，可能需要重新安装《Morvex英语Mirada》软件。";
        QTest::newRow("Artigle nothing installed") << QStringList{} << "btArtigle"
                                                   << "box:Morvex英语|MorvexArtigle无法运行，您可能还没有安装《Morvex英语Mirada》软件。";
        QTest::newRow("Mirada falls back to Readola")
            << QStringList{"MvxMirada|InstallPath={F:Mirada}", "readola2003|InstallPath={F:Readola}", "exe:Readola/readola2003"}
            << "btMirada" << "start:readola2003|{F:Readola}";
        QTest::newRow("Echomax missing") << QStringList{} << "btSuperecm" << "box:Morvex精灵|您没有安装MorvexEchomax（VolantEchomax）";
        QTest::newRow("today's review tasks, shown")
            << QStringList{"vocabra7|InstallPath={F:Vocabra 7}", "vocabra7|ExeName=vocabra8", "vocabra7|name=Li Ming",
                           "exe:Vocabra 7/vocabra8"}
            << "btRemind" << "start:vocabra8|{F:Vocabra 7}|selector|Li Ming.ILE|Show";
        QTest::newRow("review tasks, older program")
            << QStringList{"vocabra7|InstallPath={F:Vocabra 7}", "vocabra7|name=Li Ming", "Li Ming.ILE|DefaultBookChineseName=四级 词汇",
                           "exe:Vocabra 7/vocabra2004", "file:Vocabra 7/Li Ming.ILE/四级 词汇.dir"}
            << "btRemind" << "start:vocabra2004|{F:Vocabra 7}|selector|Li Ming.ILE|四级 词汇|UnitAuto|四级 词汇.sel";
        QTest::newRow("review tasks, no learner") << QStringList{"vocabra7|InstallPath={F:Vocabra 7}", "exe:Vocabra 7/vocabra8",
                                                                 "vocabra7|ExeName=vocabra8"}
                                                  << "btRemind" << "";
    }

    void launchTable()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, item);
        QFETCH(QString, expected);
        StandIns bin;
        auto fill = [&](QString text) {
            static const QRegularExpression folder(QStringLiteral("\\{F:([^}]*)\\}"));
            for (auto m = folder.match(text); m.hasMatch(); m = folder.match(text))
                text.replace(m.captured(0), QDir(bin.folder(m.captured(1))).canonicalPath() + u'/');
            return text;
        };
        std::vector<std::unique_ptr<SingleInstance>> locks;
        for (const QString &step : setup) {
            if (step.startsWith(QLatin1String("exe:"))) {
                const QString rel = step.mid(4);
                bin.program(rel.section(u'/', 0, -2), rel.section(u'/', -1));
            } else if (step.startsWith(QLatin1String("file:"))) {
                const QString path = bin.dir.filePath(step.mid(5));
                QDir().mkpath(QFileInfo(path).path());
                QFile f(path);
                QVERIFY(f.open(QIODevice::WriteOnly));
            } else if (step.startsWith(QLatin1String("lock:"))) {
                locks.push_back(std::make_unique<SingleInstance>(step.mid(5)));
                QVERIFY(locks.back()->tryAcquire());
            } else {
                const QString key = step.section(u'|', 0, 0);
                const QString name = step.section(u'|', 1).section(u'=', 0, 0);
                const QString value = fill(step.section(u'=', 1));
                if (key.endsWith(QLatin1String(".ILE")))
                    SaveAppSetting(QStringLiteral("vocabra7"), key, name, value);
                else
                    SetProgram(key, name, value);
            }
        }
        FakeClock clock;
        FakeTray tray;
        FakeBoxes boxes;
        DetachedStarter starter;
        SpiritLauncher launcher({}, clock, tray, starter, boxes);
        launcher.activate(item);
        if (expected.startsWith(QLatin1String("start:"))) {
            QString line = fill(expected.mid(6));
            line.replace(QStringLiteral("/|"), QStringLiteral("|")); // pwd has no "/" at its end
            if (line.endsWith(u'/'))
                line.chop(1);
            QTRY_COMPARE(bin.starts(), QStringList{line});
            QCOMPARE(boxes.shown, QStringList{});
        } else {
            QTest::qWait(200);
            QCOMPARE(bin.starts(), QStringList{});
            QCOMPARE(boxes.shown, expected.isEmpty() ? QStringList{} : QStringList{expected.mid(4)});
        }
    }

    // Ambivo already open: it is asked (F11) to show itself instead of a second start.
    void ambivoRunningIsAskedToShow()
    {
        StandIns bin;
        bin.program(QStringLiteral("Vocabra"), QStringLiteral("ambivo2004"));
        SetProgram(QStringLiteral("vocabra7"), QStringLiteral("InstallPath"), bin.folder(QStringLiteral("Vocabra")));
        SingleInstance ambivo(QStringLiteral("Ambivo"));
        QVERIFY(ambivo.tryAcquire());
        QByteArray received;
        LauncherServer server([&](const QByteArray &line) { received = line; return QByteArray("ok"); });
        QVERIFY(server.listen(ServerName(QStringLiteral("Ambivo"))));
        FakeClock clock;
        FakeTray tray;
        FakeBoxes boxes;
        DetachedStarter starter;
        SpiritLauncher launcher({}, clock, tray, starter, boxes);
        launcher.activate(QStringLiteral("btAmbivo"));
        QTRY_COMPARE(received, QByteArray("122"));
        QTest::qWait(200);
        QCOMPARE(bin.starts(), QStringList{});
    }

    void autostartExecQuoting_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "/usr/bin/vantrelspirit" << "\"/usr/bin/vantrelspirit\"";
        QTest::newRow("space and Chinese") << "/home/li ming/学习/vantrelspirit" << "\"/home/li ming/学习/vantrelspirit\"";
        QTest::newRow("reserved") << "/a$b/c\"d/e\\f/100%/g`h" << "\"/a\\\\$b/c\\\\\"d/e\\\\\\\\f/100%%/g\\\\`h\"";
    }

    void autostartExecQuoting()
    {
        QFETCH(QString, path);
        QFETCH(QString, exec);
        QCOMPARE(AutostartEntry::execValue(path), exec);
        // The desktop's own checker accepts the entry.
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validator.isEmpty())
            return;
        const AutostartEntry entry(m_config.path() + QStringLiteral("/quoting"));
        QVERIFY(entry.write(path));
        QProcess check;
        check.start(validator, {entry.path()});
        QVERIFY(check.waitForFinished(20000));
        QVERIFY2(check.exitCode() == 0, check.readAllStandardOutput().constData());
    }

    void autostartAtStart_data()
    {
        QTest::addColumn<QString>("before");     // file content before ("" none, "same" ours)
        QTest::addColumn<QString>("setting");    // AutoStartSpirit
        QTest::addColumn<bool>("buildHome");
        QTest::addColumn<QString>("after");      // "none", "ours" or "unchanged"
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("settingAfter");
        const QString other = QStringLiteral("[Desktop Entry]\nType=Application\nName=x\nExec=/old/place/vantrelspirit\n");
        const QString hidden = QStringLiteral("[Desktop Entry]\nType=Application\nName=x\nExec=/p/vantrelspirit\nHidden=true\n");
        const QString gnomeOff = QStringLiteral("[Desktop Entry]\nType=Application\nName=x\nExec=/p/v\nX-GNOME-Autostart-enabled=false\n");
        QTest::newRow("written") << "" << "1" << false << "ours" << true << "1";
        QTest::newRow("untouched") << "same" << "1" << false << "unchanged" << true << "1";
        QTest::newRow("rewritten") << other << "1" << false << "ours" << true << "1";
        QTest::newRow("off in our settings") << "" << "0" << false << "none" << false << "0";
        QTest::newRow("build tree, none") << "" << "1" << true << "none" << false << "1";
        QTest::newRow("build tree, present") << other << "1" << true << "unchanged" << true << "1";
        QTest::newRow("turned off by the desktop") << hidden << "1" << false << "unchanged" << false << "0";
        QTest::newRow("turned off in GNOME") << gnomeOff << "1" << false << "unchanged" << false << "0";
    }

    void autostartAtStart()
    {
        QFETCH(QString, before);
        QFETCH(QString, setting);
        QFETCH(bool, buildHome);
        QFETCH(QString, after);
        QFETCH(bool, checked);
        QFETCH(QString, settingAfter);
        QTemporaryDir config(m_config.path() + QStringLiteral("/caseXXXXXX"));
        const QString program = QStringLiteral("/opt/Morvex Soft/bin/vantrelspirit");
        const AutostartEntry entry(config.path());
        QDir().mkpath(QFileInfo(entry.path()).path());
        if (!before.isEmpty()) {
            QFile f(entry.path());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(before == QLatin1String("same") ? AutostartEntry::contentFor(program) : before.toUtf8());
            f.close();
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addDays(-3), QFileDevice::FileModificationTime));
        }
        const QByteArray contentBefore = ReadAll(entry.path());
        const QDateTime timeBefore = QFileInfo(entry.path()).lastModified();
        SaveAppSetting(QString::fromUtf8(kSpiritKey), {}, QStringLiteral("AutoStartSpirit"), setting);
        FakeClock clock;
        FakeTray tray;
        FakeBoxes boxes;
        DetachedStarter starter;
        LauncherOptions options;
        options.launcherPath = program;
        options.configHome = config.path();
        options.inBuildHome = buildHome;
        SpiritLauncher launcher(options, clock, tray, starter, boxes);
        launcher.start();
        QCOMPARE(launcher.autoStartChecked(), checked);
        QCOMPARE(GetAppSetting(QString::fromUtf8(kSpiritKey), {}, QStringLiteral("AutoStartSpirit"), {}), settingAfter);
        if (after == QLatin1String("none"))
            QVERIFY(!entry.exists());
        if (after == QLatin1String("ours"))
            QCOMPARE(ReadAll(entry.path()), AutostartEntry::contentFor(program));
        if (after == QLatin1String("unchanged")) {
            QCOMPARE(ReadAll(entry.path()), contentBefore);
            QCOMPARE(QFileInfo(entry.path()).lastModified(), timeBefore);
        }
        QVERIFY(tray.iconShown);
    }

    // Unchecking asks first: No keeps the entry and the check, Yes removes it; checking
    // again writes it, also from the build tree.
    void autostartItem()
    {
        QTemporaryDir config(m_config.path() + QStringLiteral("/itemXXXXXX"));
        LauncherOptions options;
        options.launcherPath = QStringLiteral("/usr/bin/vantrelspirit");
        options.configHome = config.path();
        FakeClock clock;
        FakeTray tray;
        FakeBoxes boxes;
        DetachedStarter starter;
        SpiritLauncher launcher(options, clock, tray, starter, boxes);
        launcher.start();
        QVERIFY(launcher.autostart().exists());
        launcher.activate(QStringLiteral("btAutoStart"));
        QCOMPARE(boxes.shown, QStringList{QStringLiteral("MorvexVolant英语|Morvex精灵只有在启动状态下才会自动提醒您复习单词和强化测验单词\n"
                                                         "所以，不能开机启动会大大影响学习效果\n真的不希望它开机启动吗？")});
        QVERIFY(launcher.autoStartChecked());
        QVERIFY(launcher.autostart().exists());
        boxes.answerYes = true;
        launcher.activate(QStringLiteral("btAutoStart"));
        QVERIFY(!launcher.autoStartChecked());
        QVERIFY(!launcher.autostart().exists());
        QCOMPARE(GetAppSetting(QString::fromUtf8(kSpiritKey), {}, QStringLiteral("AutoStartSpirit"), {}), QStringLiteral("0"));
        const int asked = int(boxes.shown.size());
        options.inBuildHome = true;
        SpiritLauncher fromBuild(options, clock, tray, starter, boxes);
        fromBuild.start();
        QVERIFY(!fromBuild.autoStartChecked());
        fromBuild.activate(QStringLiteral("btAutoStart")); // checking asks nothing
        QCOMPARE(boxes.shown.size(), asked);
        QVERIFY(fromBuild.autostart().exists());
        QCOMPARE(GetAppSetting(QString::fromUtf8(kSpiritKey), {}, QStringLiteral("AutoStartSpirit"), {}), QStringLiteral("1"));
    }

    // Every item is its picture, 165 x 21; checked options show their "-S" picture;
    // a missing picture leaves the item's caption.
    void menuFromPictures()
    {
        FakeClock clock;
        FakeTray tray;
        FakeBoxes boxes;
        DetachedStarter starter;
        QTemporaryDir config(m_config.path() + QStringLiteral("/menuXXXXXX"));
        LauncherOptions options;
        options.configHome = config.path();
        options.inBuildHome = true;
        SpiritLauncher launcher(options, clock, tray, starter, boxes);
        launcher.start();
        SpiritMenu menu(launcher, kPictures);
        const QList<MenuItem> items = launcher.menu();
        QCOMPARE(items.first().name, QStringLiteral("btVantrel")); // no notebook known: no review item
        for (const MenuItem &item : items) {
            QAction *action = menu.action(item.name);
            QVERIFY2(action, qPrintable(item.name));
            QVERIFY2(!action->icon().isNull(), qPrintable(item.name));
            QMenu *owner = item.group.isEmpty() ? &menu : menu.findChild<QMenu *>(item.group + QStringLiteral("Menu"));
            QVERIFY2(owner, qPrintable(item.group));
            owner->ensurePolished();
            (void)owner->sizeHint();
            QCOMPARE(owner->actionGeometry(action).size(), QSize(kItemWidth, kItemHeight));
        }
        // What is drawn is the picture: the menu's own rendering holds its pixels.
        const QImage shot = menu.grab().toImage().convertToFormat(QImage::Format_RGB32);
        auto drawn = [&](const QString &name) {
            return shot.copy(menu.actionGeometry(menu.action(name)));
        };
        auto picture = [&](const QString &file) {
            return skin::LoadPicture(kPictures + file, 1.0).toImage().convertToFormat(QImage::Format_RGB32);
        };
        QCOMPARE(drawn(QStringLiteral("btVantrel")), picture(QStringLiteral("btVantrel.png")));
        QCOMPARE(drawn(QStringLiteral("btAutoRemind")), picture(QStringLiteral("btAutoRemind-S.png")));
        QCOMPARE(menu.action(QStringLiteral("btAutoRemind"))->icon().pixmap(QSize(kItemWidth, kItemHeight), 1.0, QIcon::Active)
                     .toImage().convertToFormat(QImage::Format_RGB32),
                 picture(QStringLiteral("btAutoRemind-S-a.png")));
        launcher.activate(QStringLiteral("btAutoRemind"));
        menu.rebuild();
        const QImage unchecked = menu.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(unchecked.copy(menu.actionGeometry(menu.action(QStringLiteral("btAutoRemind")))),
                 picture(QStringLiteral("btAutoRemind.png")));

        // A folder without the forum's pictures: that item shows its caption.
        QTemporaryDir partial(m_config.path() + QStringLiteral("/picsXXXXXX"));
        for (const QString &file : QDir(kPictures).entryList(QDir::Files))
            if (!file.startsWith(QLatin1String("btUser")))
                QVERIFY(QFile::copy(kPictures + file, partial.filePath(file)));
        SpiritMenu without(launcher, partial.path() + u'/');
        QAction *forum = without.action(QStringLiteral("btUser"));
        QVERIFY(forum->icon().isNull());
        QCOMPARE(forum->text(), QStringLiteral("用户论坛"));
        QVERIFY(!without.action(QStringLiteral("btExit"))->icon().isNull());
    }

    // Our copies in the siblings' folders: pictures where missing, the launcher when newer,
    // replaced by a rename so a copy running from there keeps its file; our folder skipped.
    void siblingFoldersRefreshed()
    {
        StandIns bin;
        const QString ours = bin.folder(QStringLiteral("Lentoria"));
        const QString word = bin.folder(QStringLiteral("Vocabra 7"));
        const QString mirada = bin.folder(QStringLiteral("Mirada"));
        SetProgram(QStringLiteral("vocabra7"), QStringLiteral("InstallPath"), word);
        SetProgram(QStringLiteral("MvxMirada"), QStringLiteral("InstallPath"), mirada);
        SetProgram(QStringLiteral("SOFTWARE\\MorvexSoft\\Sentra"), QStringLiteral("InstallPath"), ours);
        auto writeFile = [](const QString &path, const QByteArray &bytes, const QDateTime &time) {
            QDir().mkpath(QFileInfo(path).path());
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
            f.flush(); // the time is set after the last write
            QVERIFY(f.setFileTime(time, QFileDevice::FileModificationTime));
        };
        const QDateTime now = QDateTime::currentDateTime();
        writeFile(ours + QStringLiteral("vantrelspirit"), "new launcher", now);
        writeFile(word + QStringLiteral("vantrelspirit"), "old launcher", now.addDays(-2));
        writeFile(mirada + QStringLiteral("vantrelspirit"), "newer launcher", now.addDays(1));
        writeFile(word + QStringLiteral("spiritinterface/btVantrel.png"), "their own picture", now.addDays(-2));
        QFile running(word + QStringLiteral("vantrelspirit"));
        QVERIFY(running.open(QIODevice::ReadOnly)); // as a running program holds its file

        RefreshSiblingFolders(ours + QStringLiteral("vantrelspirit"), kPictures);
        QCOMPARE(ReadAll(word + QStringLiteral("vantrelspirit")), QByteArray("new launcher"));
        QCOMPARE(running.readAll(), QByteArray("old launcher"));
        QCOMPARE(ReadAll(mirada + QStringLiteral("vantrelspirit")), QByteArray("newer launcher"));
        QCOMPARE(ReadAll(word + QStringLiteral("spiritinterface/btVantrel.png")), QByteArray("their own picture"));
        for (const QString &folder : {word, mirada})
            for (const char *name : {"btVocabragroup.png", "btSentraGroup-a.png", "btArtigle@2x.png", "btBrxGroup.png"})
                QCOMPARE(ReadAll(folder + QStringLiteral("spiritinterface/") + QLatin1String(name)),
                         ReadAll(kPictures + QLatin1String(name)));
        QVERIFY(!QFileInfo::exists(ours + QStringLiteral("spiritinterface")));
        QVERIFY(!QFileInfo::exists(word + QStringLiteral("spiritinterface/btExit.png"))); // only the ten
        QCOMPARE(QDir(word).entryList(QDir::Files), QStringList{QStringLiteral("vantrelspirit")}); // no temporary left
    }

    // Another program's request for our menu hides exit and autostart for the session.
    void otherProgramsMenuHidesExitAndAutostart()
    {
        FakeClock clock;
        FakeTray tray;
        FakeBoxes boxes;
        DetachedStarter starter;
        SpiritLauncher launcher({}, clock, tray, starter, boxes);
        QCOMPARE(launcher.answer("4346 120 340"), QByteArray("ok"));
        QCOMPARE(tray.pops, QList<QPoint>{QPoint(120, 340)});
        QStringList names;
        for (const MenuItem &item : launcher.menu())
            names << item.name;
        QVERIFY(!names.contains(QStringLiteral("btExit")));
        QVERIFY(!names.contains(QStringLiteral("btAutoStart")));
        QVERIFY(names.contains(QStringLiteral("btAutoRemind")));
    }
};

QTEST_MAIN(TestLauncherMenu)
#include "test_launcher_menu.moc"
