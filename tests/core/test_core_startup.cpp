#include "core/AppState.h"
#include "core/SettingsStore.h"
#include "core/StartUp.h"
#include "core/UserSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace mvx;

namespace {

struct FakePlatform final : PlatformInfo
{
    bool version6 = false;
    bool engine = true;
    bool isVersion6OrLater() const override { return version6; }
    bool htmlEngineUsable() const override { return engine; }
};

// Records every window and library call in order, as one log.
struct Recorder final : StartUpWindows, StartUpLibraries
{
    QStringList log;
    bool answerYes = true;

    bool askYesNo(const QString &) override { log << QStringLiteral("ask"); return answerYes; }
    void showMessage(const QString &text) override { log << QStringLiteral("message ") + text; }
    void showBrowserNotice() override { log << QStringLiteral("browser-notice"); }
    void checkNewMessages() override { log << QStringLiteral("notices"); }
    void showCopyWordSndForm() override { log << QStringLiteral("copy-form"); }
    void showArticleForm() override { log << QStringLiteral("library"); }

    void echomaxproNop() override { log << QStringLiteral("nop"); }
    void setNoteDictHelpFile(const QString &f) override { log << QStringLiteral("help ") + f; }
    void startLauncher(const QString &p) override { log << QStringLiteral("launcher ") + QFileInfo(p).fileName(); }
    int sndCenterOpen() override { log << QStringLiteral("snd-open"); return 7; }
    bool isTtsAvailable(int h) override { log << QStringLiteral("tts? %1").arg(h); return true; }
    QString setTtsVoiceName(int, const QString &name) override
    {
        log << QStringLiteral("voice ") + name;
        return QStringLiteral("en-us");
    }
    int addSndLib(int, const QString &idx, const QString &, int kind) override
    {
        log << QStringLiteral("lib %1 %2").arg(kind).arg(idx);
        return 1;
    }
    int ecDictOpen(const QString &idx, const QString &lib) override { log << QStringLiteral("dict ") + idx + QLatin1Char(' ') + lib; return 3; }
    void noteDictInit(int s, int d, const QString &app) override { log << QStringLiteral("notedict %1 %2 ").arg(s).arg(d) + app; }
    void ecDictClose(int d) override { log << QStringLiteral("dict-close %1").arg(d); }
    void sndCenterClose(int s) override { log << QStringLiteral("snd-close %1").arg(s); }
};

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

} // namespace

class TestCoreStartup : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        m_volume = std::make_unique<QTemporaryDir>();
        qputenv("MVX_EXTRA_VOLUMES", m_volume->path().toUtf8());
        SaveUserSetting(QStringLiteral("CopySndHint"), QStringLiteral("1"));
        SaveUserSetting(QStringLiteral("VistaHint"), QStringLiteral("1"));
        SaveAppSetting(QStringLiteral("vocabra7"), QStringLiteral("user"), QStringLiteral("InstallPath"), {});
        SaveAppSetting(QStringLiteral("PalmLex"), QStringLiteral("user"), QStringLiteral("InstallPath"), {});
        SaveAppSetting(QStringLiteral("SOFTWARE\\MorvexSoft\\Sentra"), {}, QStringLiteral("InstallPath"), {});
    }

    void fullSequenceInOrder()
    {
        FakePlatform platform;
        Recorder r;
        StartUpSequence seq(platform, r, r);
        QCOMPARE(seq.run(m_home->path(), {}), StartUpResult::Running);
        const QStringList expected = {
            QStringLiteral("nop"), QStringLiteral("help mvxbrxspecial.chm"), QStringLiteral("launcher vantrelspirit"),
            QStringLiteral("notices"), QStringLiteral("snd-open"), QStringLiteral("tts? 7"),
            QStringLiteral("voice Microsoft Mary"), QStringLiteral("lib 2 brxspecial/brxspecial.idx"),
            QStringLiteral("copy-form"), QStringLiteral("dict mvxdictec.idx mvxdictec.lib"),
            QStringLiteral("notedict 7 3 mvxbrxspecial"), QStringLiteral("library")};
        QCOMPARE(r.log, expected);
        QCOMPARE(App().ttsVoiceName, QStringLiteral("en-us"));
        QCOMPARE(App().wordSndLibSource, 0);
        QCOMPARE(QDir::currentPath(), QDir(m_home->path()).canonicalPath());
        for (const char *folder : {"alltmpfile", "notebook", "tmpwav", "soundsample", "segment", "ecm", "temp", "listen", "script"})
            QVERIFY2(QFileInfo(m_home->filePath(QLatin1String(folder))).isDir(), folder);
        QCOMPARE(App().skinRoot, m_home->path() + QStringLiteral("/ecminterface"));
        seq.shutDown();
    }

    // The launcher finds the program and its notebook through these two values.
    void storesInstallPathAndNotebookForTheLauncher()
    {
        for (const bool separateFolder : {false, true}) {
            QTemporaryDir bin;
            FakePlatform platform;
            Recorder r;
            StartUpSequence seq(platform, r, r);
            if (separateFolder)
                seq.setProgramFolder(bin.path() + QStringLiteral("/"));
            QCOMPARE(seq.run(m_home->path(), {}), StartUpResult::Running);
            const QString folder = separateFolder ? bin.path() : m_home->path();
            QCOMPARE(GetAppSetting(QStringLiteral("mvxbrxspecial"), QStringLiteral("User"), QStringLiteral("InstallPath"), {}),
                     QDir::cleanPath(folder) + QLatin1Char('/'));
            QCOMPARE(GetAppSetting(QStringLiteral("mvxbrxspecial"), QStringLiteral("User"), QStringLiteral("NotebookFile"), {}),
                     QDir::cleanPath(m_home->path()) + QStringLiteral("/notebook/brxspecial_note"));
            seq.shutDown();
        }
    }

    void wordSoundLibrarySources_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("source");
        QTest::addColumn<bool>("copyForm");
        QTest::addRow("own folder") << "own" << 3 << false;
        QTest::addRow("own folder beats a disc") << "own+disc" << 3 << false;
        QTest::addRow("disc") << "disc" << 3 << false;
        QTest::addRow("sibling word program") << "vocabra" << 1 << false;
        QTest::addRow("second sibling word program") << "palmlex" << 1 << false;
        QTest::addRow("sentence program") << "sentra" << 2 << false;
        QTest::addRow("none, hint off") << "hint-off" << 0 << false;
    }

    void wordSoundLibrarySources()
    {
        QFETCH(QString, where);
        QFETCH(int, source);
        QFETCH(bool, copyForm);
        const QString idx = QStringLiteral("snd/vocabranewsnd.idx");
        if (where.contains(QLatin1String("own")))
            touch(m_home->filePath(idx));
        if (where.contains(QLatin1String("disc")))
            touch(m_volume->filePath(idx));
        QTemporaryDir sibling;
        if (where == QLatin1String("vocabra") || where == QLatin1String("palmlex")) {
            touch(sibling.filePath(idx));
            SaveAppSetting(where == QLatin1String("vocabra") ? QStringLiteral("vocabra7") : QStringLiteral("PalmLex"),
                           QStringLiteral("user"), QStringLiteral("InstallPath"), sibling.path() + QLatin1Char('/'));
        }
        if (where == QLatin1String("sentra")) {
            touch(sibling.filePath(QStringLiteral("sndlib/vocabranewsnd.idx")));
            SaveAppSetting(QStringLiteral("SOFTWARE\\MorvexSoft\\Sentra"), {}, QStringLiteral("InstallPath"), sibling.path());
        }
        if (where == QLatin1String("hint-off"))
            SaveUserSetting(QStringLiteral("CopySndHint"), QStringLiteral("0"));

        FakePlatform platform;
        Recorder r;
        StartUpSequence seq(platform, r, r);
        QCOMPARE(seq.run(m_home->path(), {}), StartUpResult::Running);
        QCOMPARE(App().wordSndLibSource, source);
        QCOMPARE(r.log.contains(QStringLiteral("copy-form")), copyForm);
        if (where.startsWith(QLatin1String("own")))
            QCOMPARE(App().wordSndLibDir, m_home->path() + QStringLiteral("/snd/"));
        if (where == QLatin1String("disc"))
            QCOMPARE(App().wordSndLibDir, m_volume->path() + QStringLiteral("/snd/"));
        seq.shutDown();
    }

    void refusals_data()
    {
        QTest::addColumn<bool>("engine");
        QTest::addColumn<bool>("otherInstance");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("lastCall");
        QTest::addRow("HTML engine unusable") << false << false << int(StartUpResult::RefusedBrowser) << "browser-notice";
        QTest::addRow("second instance") << true << true << int(StartUpResult::RefusedSecondInstance)
                                         << "message 您已经启动了一份 Morvex英语Lentoria  如果您不知道如何继续，请重新启动计算机";
    }

    void refusals()
    {
        QFETCH(bool, engine);
        QFETCH(bool, otherInstance);
        QFETCH(int, result);
        QFETCH(QString, lastCall);
        SingleInstance first(QStringLiteral("mvxbrxspecial"));
        if (otherInstance)
            QVERIFY(first.tryAcquire());
        FakePlatform platform;
        platform.engine = engine;
        Recorder r;
        StartUpSequence seq(platform, r, r);
        QCOMPARE(int(seq.run(m_home->path(), {})), result);
        QCOMPARE(r.log.last(), lastCall);
        // Neither the sound centre nor the dictionary is opened before a refusal.
        QVERIFY(!r.log.contains(QStringLiteral("snd-open")));
        QVERIFY(!r.log.join(QLatin1Char(',')).contains(QStringLiteral("dict ")));
    }

    void compatibilityQuestionOnVersion6()
    {
        FakePlatform platform;
        platform.version6 = true;
        Recorder r;
        r.answerYes = true;
        {
            StartUpSequence seq(platform, r, r);
            seq.run(m_home->path(), {});
            seq.shutDown();
        }
        QCOMPARE(r.log.first(), QStringLiteral("ask"));
        QVERIFY(r.log.contains(QStringLiteral("voice Microsoft Anna")));
        QCOMPARE(GetUserSetting(QStringLiteral("VistaHint"), {}), QStringLiteral("1"));
        r.log.clear();
        r.answerYes = false;
        {
            StartUpSequence seq(platform, r, r);
            seq.run(m_home->path(), {});
            seq.shutDown();
        }
        QCOMPARE(GetUserSetting(QStringLiteral("VistaHint"), {}), QStringLiteral("0"));
        r.log.clear();
        StartUpSequence seq(platform, r, r);
        seq.run(m_home->path(), {});
        seq.shutDown();
        QVERIFY(!r.log.contains(QStringLiteral("ask")));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("forArticle");
        QTest::addRow("exactly LoadArticle") << QStringList{QStringLiteral("LoadArticle")} << true;
        QTest::addRow("other case") << QStringList{QStringLiteral("loadarticle")} << false;
        QTest::addRow("more words") << QStringList{QStringLiteral("LoadArticle"), QStringLiteral("x")} << false;
        QTest::addRow("none") << QStringList{} << false;
    }

    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, forArticle);
        FakePlatform platform;
        Recorder r;
        StartUpSequence seq(platform, r, r);
        seq.run(m_home->path(), args);
        QCOMPARE(App().startedForArticle, forArticle);
        seq.shutDown();
    }

    void shutDownClosesAndCleans()
    {
        FakePlatform platform;
        Recorder r;
        StartUpSequence seq(platform, r, r);
        seq.run(m_home->path(), {});
        touch(m_home->filePath(QStringLiteral("alltmpfile/rndsnd123.wav")));
        touch(m_home->filePath(QStringLiteral("alltmpfile/rndsnd9.mp3")));
        touch(m_home->filePath(QStringLiteral("alltmpfile/tmpehtml.htm")));
        r.log.clear();
        seq.shutDown();
        QCOMPARE(r.log, (QStringList{QStringLiteral("dict-close 3"), QStringLiteral("snd-close 7")}));
        QVERIFY(!QFile::exists(m_home->filePath(QStringLiteral("alltmpfile/rndsnd123.wav"))));
        QVERIFY(!QFile::exists(m_home->filePath(QStringLiteral("alltmpfile/rndsnd9.mp3"))));
        QVERIFY(QFile::exists(m_home->filePath(QStringLiteral("alltmpfile/tmpehtml.htm"))));
        QVERIFY(!SingleInstance::isHeldElsewhere(QStringLiteral("mvxbrxspecial")));
    }

private:
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_volume;
};

QTEST_GUILESS_MAIN(TestCoreStartup)
#include "test_core_startup.moc"
