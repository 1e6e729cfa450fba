#include "core/AppState.h"
#include "core/SettingsStore.h"
#include "core/UserSettings.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace mvx;

class TestCoreSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Start from a fresh per-user store (the store opens lazily, on first use).
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(SettingsStore::defaultPath() + QLatin1String(suffix));
    }

    void freshStoreLoadsDefaults()
    {
        SettingsStore store(m_dir.filePath(QStringLiteral("fresh.sqlite")));
        QCOMPARE(store.value(QStringLiteral("mvxbrxspecial"), QStringLiteral("user"), QStringLiteral("LastArticle")),
                 std::nullopt);
        LoadDisplaySettings();
        LoadPlaybackSettings();
        const DisplaySettings &d = App().display;
        QCOMPARE(d.backgroundColor, 16777215);
        QCOMPARE(d.keywordColor, 255);
        QCOMPARE(d.curSentenceColor, 16711680);
        QCOMPARE(d.englishFontName, QStringLiteral("MS Sans Serif"));
        QCOMPARE(d.englishFontSize, 12.0);
        QCOMPARE(d.chineseFontName, QStringLiteral("宋体"));
        QCOMPARE(d.chineseFontSize, 11.0);
        QCOMPARE(App().playback.autoRepeatTimes, 2);
        QCOMPARE(App().playback.viewWave, 1);
        QCOMPARE(App().playback.previewLen, 1);
        QCOMPARE(App().playback.autoRepeatGapSetting, 0);
        QCOMPARE(DefaultFor(QStringLiteral("ttsvoicename")), QStringLiteral("Microsoft Mary"));
    }

    void valueForms_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("asBool");
        QTest::addColumn<int>("asInt");
        QTest::addRow("true as -1") << "-1" << true << -1;
        QTest::addRow("false as 0") << "0" << false << 0;
        QTest::addRow("old true as 1") << "1" << true << 1;
        QTest::addRow("letters read as default") << "abc" << true << 7;
        QTest::addRow("empty reads as default") << "" << true << 7;
        QTest::addRow("blue colour") << "16711680" << true << 16711680;
        QTest::addRow("out of 32-bit range") << "99999999999" << true << 7;
    }

    void valueForms()
    {
        QFETCH(QString, stored);
        QFETCH(bool, asBool);
        QFETCH(int, asInt);
        SaveUserSetting(QStringLiteral("FormKey"), stored);
        QCOMPARE(GetUserBool(QStringLiteral("FormKey"), true), asBool);
        QCOMPARE(GetUserInt(QStringLiteral("FormKey"), 7), asInt);
    }

    void writtenFormsReadBack()
    {
        SaveUserBool(QStringLiteral("B"), true);
        QCOMPARE(GetUserSetting(QStringLiteral("B"), {}), QStringLiteral("-1"));
        SaveUserReal(QStringLiteral("R"), 10.5);
        QCOMPARE(GetUserSetting(QStringLiteral("R"), {}), QStringLiteral("10.5"));
        QCOMPARE(GetUserReal(QStringLiteral("R"), 0), 10.5);
        SaveUserReal(QStringLiteral("R"), 12);
        QCOMPARE(GetUserSetting(QStringLiteral("R"), {}), QStringLiteral("12"));
        // Texts are kept exactly, Chinese and surrounding blanks included.
        SaveUserSetting(QStringLiteral("T"), QStringLiteral(" 宋体 \t"));
        QCOMPARE(GetUserSetting(QStringLiteral("T"), {}), QStringLiteral(" 宋体 \t"));
    }

    void namesCompareWithoutCase()
    {
        SaveAppSetting(QStringLiteral("mvxbrxspecial"), QStringLiteral("user"), QStringLiteral("PlayLesson"), QStringLiteral("0"));
        QCOMPARE(GetAppSetting(QStringLiteral("MVXBRXSPECIAL"), QStringLiteral("User"), QStringLiteral("playlesson"), QStringLiteral("1")),
                 QStringLiteral("0"));
        SaveAppSetting(QStringLiteral("vocabra7"), QStringLiteral("user"), QStringLiteral("InstallPath"), QStringLiteral("/opt/v/"));
        QCOMPARE(GetAppSetting(QStringLiteral("Vocabra7"), QStringLiteral("USER"), QStringLiteral("installpath"), {}),
                 QStringLiteral("/opt/v/"));
        // A registry value: application = key path, empty section, key = value name.
        SaveAppSetting(QStringLiteral("SOFTWARE\\MorvexSoft\\Sentra"), QString(), QStringLiteral("Version"), QStringLiteral("3.1"));
        bool found = false;
        QCOMPARE(GetRegistryValue(QStringLiteral("software\\morvexsoft\\sentra"), QStringLiteral("version"), &found),
                 QStringLiteral("3.1"));
        QVERIFY(found);
    }

    void displaySettingsRoundTrip()
    {
        App().display.chineseColor = 255;
        App().display.englishFontSize = 10.5;
        App().display.chineseFontName = QStringLiteral("Noto Sans CJK SC");
        App().playback.autoRepeatGapSetting = 2;
        SaveDisplaySettings();
        App().display = DisplaySettings();
        App().playback = PlaybackSettings();
        LoadDisplaySettings();
        QCOMPARE(App().display.chineseColor, 255);
        QCOMPARE(App().display.englishFontSize, 10.5);
        QCOMPARE(App().display.chineseFontName, QStringLiteral("Noto Sans CJK SC"));
        QCOMPARE(App().playback.autoRepeatGapSetting, 2);
    }

    void damagedStoreIsSetAsideOnce_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addRow("damaged pages") << QByteArray("SQLite format 3\0", 16) + QByteArray(4000, '\x5a');
        QTest::addRow("not a database") << QByteArray("[user]\nLastArticle=x\n").repeated(200);
    }
    void damagedStoreIsSetAsideOnce()
    {
        QFETCH(QByteArray, content);
        const QString path = m_dir.filePath(QStringLiteral("damaged%1.sqlite").arg(QTest::currentDataTag()[0] == 'd'));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        SettingsStore store(path);
        QCOMPARE(store.value(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("dflt")),
                 QStringLiteral("dflt"));
        QVERIFY(store.setValue(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("v")));
        QCOMPARE(store.value(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), {}), QStringLiteral("v"));
        const QString notice = store.takeNotice();
        QVERIFY(notice.contains(QStringLiteral("damaged-")));
        QVERIFY(store.takeNotice().isEmpty());
        const QStringList aside = QDir(m_dir.path()).entryList({QFileInfo(path).fileName() + QStringLiteral(".damaged-*")});
        QCOMPARE(aside.size(), 1);
        QFile kept(m_dir.filePath(aside.first()));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), content);
    }

    // Another program holding the store in a long exclusive transaction does not make it
    // "damaged": it stays where it is, this run writes nothing, and its values survive.
    void aLockedStoreIsLeftInPlace()
    {
        const QString path = m_dir.filePath(QStringLiteral("locked.sqlite"));
        const QString app = QStringLiteral("mvxbrxspecial");
        const QString user = QStringLiteral("user");
        {
            SettingsStore earlier(path);
            QVERIFY(earlier.setValue(app, user, QStringLiteral("LastArticle"), QStringLiteral("kept")));
        }
        QProcess holder;
        holder.start(QStringLiteral(CORE_TEST_HELPER), {QStringLiteral("hold-store-exclusive"), path});
        QVERIFY(holder.waitForReadyRead(20000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));

        SettingsStore store(path);
        QCOMPARE(store.value(app, user, QStringLiteral("LastArticle"), QStringLiteral("dflt")), QStringLiteral("dflt"));
        QVERIFY(!store.setValue(app, user, QStringLiteral("LastArticle"), QStringLiteral("lost")));
        QVERIFY(!store.isWritable());
        const QString notice = store.takeNotice();
        QVERIFY2(notice.contains(QStringLiteral("不会保存")), qPrintable(notice));
        QVERIFY(store.takeNotice().isEmpty());
        QVERIFY(QDir(m_dir.path()).entryList({QStringLiteral("locked.sqlite.damaged-*")}).isEmpty());

        holder.kill();
        QVERIFY(holder.waitForFinished(10000));
        QVERIFY(!store.setValue(app, user, QStringLiteral("LastArticle"), QStringLiteral("lost"))); // until the next start
        SettingsStore nextStart(path);
        QCOMPARE(nextStart.value(app, user, QStringLiteral("LastArticle"), {}), QStringLiteral("kept"));
        QVERIFY(nextStart.isWritable());
        QVERIFY(nextStart.takeNotice().isEmpty());
    }

    void twoProcessesWritingLoseNothing()
    {
        const int count = 150;
        QProcess a, b;
        a.start(QStringLiteral(CORE_TEST_HELPER), {QStringLiteral("write-settings"), QStringLiteral("a"), QString::number(count)});
        b.start(QStringLiteral(CORE_TEST_HELPER), {QStringLiteral("write-settings"), QStringLiteral("b"), QString::number(count)});
        QVERIFY(a.waitForFinished(60000));
        QVERIFY(b.waitForFinished(60000));
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);
        SettingsStore reader(SettingsStore::defaultPath());
        for (int i = 0; i < count; ++i) {
            QCOMPARE(reader.value(QStringLiteral("race"), QStringLiteral("user"), QStringLiteral("a%1").arg(i), {}), QString::number(i));
            QCOMPARE(reader.value(QStringLiteral("race"), QStringLiteral("user"), QStringLiteral("b%1").arg(i), {}), QString::number(i));
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCoreSettings)
#include "test_core_settings.moc"
