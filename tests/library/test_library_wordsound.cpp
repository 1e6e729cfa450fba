// The word-sound library: copying it into the home through a staging folder (complete,
// cancelled, failed, short of space), and the logic of the two word-sound windows
// (status texts, voice names, the start-up reminder, registering a library found late).
#include "core/AppState.h"
#include "core/UserSettings.h"
#include "libs/comm/CommLib.h"
#include "library/WordSoundCopy.h"
#include "library/WordSoundManager.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "WavBytes.h"

using namespace mvx;

namespace {

QByteArray toneWav(int ms)
{
    return testing::wavBytes(ms, true);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A word-sound library: the index, one sound at the top and one in a sub-folder, and a
// large file so that a copy takes several blocks.
void makeLibrary(const QString &folder, const QByteArray &marker = "new")
{
    writeFile(folder + "/vocabranewsnd.idx", "MVXSNDLIB\t1\nhello\thello.wav\nworld\tw/world.wav\n# " + marker + "\n");
    writeFile(folder + "/hello.wav", toneWav(300));
    writeFile(folder + "/w/world.wav", toneWav(200));
    writeFile(folder + "/zz_big.bin", QByteArray(3 << 20, 'x'));
}

} // namespace

class TestLibraryWordSound : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_source, m_home, m_snd;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>(qEnvironmentVariable("MVX_TEST_TMP") + "/sndXXXXXX");
        m_source = m_dir->path() + "/disc/snd";
        m_home = m_dir->path() + "/home";
        m_snd = m_home + "/snd";
        QDir().mkpath(m_home);
        makeLibrary(m_source);
        App().appPath = m_home;
        App().wordSndLibFound = false;
        App().wordSndLibDir.clear();
        App().wordSndLibSource = 0;
        SaveUserSetting(QString::fromLatin1(Key::CopySndHint), "1");
    }

    void aCompleteCopyPutsEveryFileInPlace()
    {
        WordSoundCopy copy(m_source, m_snd);
        qint64 last = -1, total = 0;
        QCOMPARE(copy.run([&](qint64 done, qint64 all) {
                     last = done;
                     total = all;
                     return true;
                 }),
                 WordSoundCopy::Result::Copied);
        QCOMPARE(last, total);
        for (const char *name : {"vocabranewsnd.idx", "hello.wav", "w/world.wav", "zz_big.bin"})
            QCOMPARE(readFile(m_snd + "/" + name), readFile(m_source + "/" + name));
        QVERIFY(!QFileInfo::exists(WordSoundCopy::StagingFolderFor(m_snd)));
    }

    void anUnfinishedCopyLeavesTheOldStateAlone_data()
    {
        QTest::addColumn<bool>("oldLibrary");
        QTest::addColumn<bool>("cancel"); // else the source vanishes during the copy
        QTest::addColumn<int>("expected");
        QTest::addRow("cancelled, no library before") << false << true << int(WordSoundCopy::Result::Cancelled);
        QTest::addRow("cancelled, old library kept") << true << true << int(WordSoundCopy::Result::Cancelled);
        QTest::addRow("failed, no library before") << false << false << int(WordSoundCopy::Result::Failed);
        QTest::addRow("failed, old library kept") << true << false << int(WordSoundCopy::Result::Failed);
    }

    void anUnfinishedCopyLeavesTheOldStateAlone()
    {
        QFETCH(bool, oldLibrary);
        QFETCH(bool, cancel);
        QFETCH(int, expected);
        if (oldLibrary)
            makeLibrary(m_snd, "old");
        const QByteArray oldIndex = readFile(m_snd + "/vocabranewsnd.idx");
        int calls = 0;
        WordSoundCopy copy(m_source, m_snd);
        const auto result = copy.run([&](qint64 done, qint64) {
            ++calls;
            if (done == 0)
                return true;
            if (cancel)
                return false; // after the first block: part of the files are staged
            QDir(m_source).removeRecursively(); // the files not copied yet cannot be opened
            return true;
        });
        QCOMPARE(int(result), expected);
        QVERIFY(calls >= 2);
        QVERIFY(!QFileInfo::exists(WordSoundCopy::StagingFolderFor(m_snd)));
        if (oldLibrary)
            QCOMPARE(readFile(m_snd + "/vocabranewsnd.idx"), oldIndex);
        else
            QVERIFY(!QFileInfo::exists(m_snd));
        QCOMPARE(copy.errorText().isEmpty(), cancel);
    }

    void tooLittleSpaceCopiesNothing()
    {
        makeLibrary(m_snd, "old");
        WordSoundCopy copy(m_source, m_snd);
        copy.setFreeSpaceQuery([](const QString &) { return qint64(1024); });
        QCOMPARE(copy.run(), WordSoundCopy::Result::NoSpace);
        QVERIFY(copy.errorText().contains("MB"));
        QVERIFY(readFile(m_snd + "/vocabranewsnd.idx").contains("old"));
        QVERIFY(!QFileInfo::exists(WordSoundCopy::StagingFolderFor(m_snd)));
    }

    void replacingALibraryKeepsTheLearnersOtherFiles()
    {
        makeLibrary(m_snd, "old");
        writeFile(m_snd + "/mine/readme.txt", "my notes");
        // A staging folder left by a crash is not mistaken for part of the new library.
        writeFile(WordSoundCopy::StagingFolderFor(m_snd) + "/stale.wav", "stale");
        QCOMPARE(WordSoundCopy(m_source, m_snd).run(), WordSoundCopy::Result::Copied);
        QVERIFY(readFile(m_snd + "/vocabranewsnd.idx").contains("new"));
        QCOMPARE(readFile(m_snd + "/mine/readme.txt"), QByteArray("my notes"));
        QVERIFY(!QFileInfo::exists(m_snd + "/stale.wav"));
        QVERIFY(!QFileInfo::exists(m_snd + ".old"));
    }

    void aFolderWithoutTheIndexIsRefused()
    {
        QDir().mkpath(m_dir->path() + "/empty");
        WordSoundCopy copy(m_dir->path() + "/empty", m_snd);
        QCOMPARE(copy.run(), WordSoundCopy::Result::Failed);
        QVERIFY(copy.errorText().contains("vocabranewsnd.idx"));
        QVERIFY(!QFileInfo::exists(m_snd));
    }

    void theLearnersChoiceOfFolder_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("library");
        QTest::addRow("the snd folder itself") << "disc/snd" << "disc/snd";
        QTest::addRow("the folder above it") << "disc" << "disc/snd";
        QTest::addRow("a folder without sounds") << "home" << "";
    }

    void theLearnersChoiceOfFolder()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, library);
        const QString found = WordSoundCopy::LibraryFolderIn(m_dir->path() + "/" + chosen);
        QCOMPARE(found, library.isEmpty() ? QString() : m_dir->path() + "/" + library);
    }

    void aVolumeCarryingTheLibraryIsFound()
    {
        qputenv("MVX_EXTRA_VOLUMES", (m_dir->path() + "/disc").toUtf8());
        QCOMPARE(WordSoundCopy::DiscLibraryFolder(), m_dir->path() + "/disc/snd");
        qunsetenv("MVX_EXTRA_VOLUMES");
    }

    void statusTexts_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("text");
        QTest::addRow("none") << 0 << "目前状态：单词真人发音无";
        QTest::addRow("word program") << 1 << "目前状态：使用《Vocabra》的单词真人发音";
        QTest::addRow("sentence program") << 2 << "目前状态：使用《Sentra》的单词真人发音";
        QTest::addRow("own folder or disc") << 3 << "目前状态：单词真人发音有";
    }

    void statusTexts()
    {
        QFETCH(int, source);
        QFETCH(QString, text);
        QCOMPARE(WordSoundManager::StatusText(source), text);
    }

    void theOwnLibraryOutranksAnotherSource()
    {
        App().wordSndLibSource = 1;
        WordSoundManager manager;
        QCOMPARE(manager.openCopyForm(), QString("目前状态：单词真人发音无"));
        manager.openManage();
        QCOMPARE(manager.status(), QString("目前状态：使用《Vocabra》的单词真人发音"));
        makeLibrary(m_snd);
        QCOMPARE(manager.openCopyForm(), QString("目前状态：单词真人发音有"));
        manager.openManage();
        QCOMPARE(manager.status(), QString("目前状态：单词真人发音有"));
        QCOMPARE(App().wordSndLibSource, 3);
        QCOMPARE(App().wordSndLibDir, m_snd + "/");
    }

    void voiceNames_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("name");
        QTest::addRow("description with language") << "Microsoft Anna - English (United States)" << "Microsoft Anna";
        QTest::addRow("engine name") << "English (America)" << "English (America)";
        QTest::addRow("spaces around") << "  Microsoft Mary -English" << "Microsoft Mary";
    }

    void voiceNames()
    {
        QFETCH(QString, entry);
        QFETCH(QString, name);
        QCOMPARE(WordSoundManager::VoiceNameFromEntry(entry), name);
    }

    void theVoiceEntryShownFirst()
    {
        const QStringList entries = {"English (Scotland)", "English (America)", "English (America, New York City)"};
        QCOMPARE(WordSoundManager::VoiceEntryFor(entries, "English (America)"), 1);
        QCOMPARE(WordSoundManager::VoiceEntryFor(entries, "Microsoft Mary"), 0);
        QCOMPARE(WordSoundManager::VoiceEntryFor({}, "English (America)"), -1);
    }

    void theStartUpReminder_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QString>("saved");
        QTest::addRow("off, kept off") << "0" << true << true << "0";
        QTest::addRow("off, switched on") << "0" << true << false << "-1";
        QTest::addRow("default, switched off") << "1" << false << true << "0";
    }

    void theStartUpReminder()
    {
        QFETCH(QString, stored);
        QFETCH(bool, ticked);
        QFETCH(bool, tick);
        QFETCH(QString, saved);
        SaveUserSetting(QString::fromLatin1(Key::CopySndHint), stored);
        WordSoundManager manager;
        manager.openManage();
        QCOMPARE(manager.noCopyHint(), ticked);
        QVERIFY(manager.confirm(-1, tick).isEmpty());
        QCOMPARE(GetUserSetting(QString::fromLatin1(Key::CopySndHint), "1"), saved);
    }

    void confirmingAVoiceStoresItsName()
    {
        App().wordSoundCentre = vcSndCenter_Open(-1, 16, 22050, 1);
        if (!vcSndCenter_IsTtsAvailable(App().wordSoundCentre))
            QSKIP("espeak-ng has no voice here");
        WordSoundManager manager;
        manager.openManage();
        QVERIFY(manager.voices().size() > 1);
        const int last = int(manager.voices().size()) - 1;
        QVERIFY(manager.confirm(last, false).isEmpty());
        const QString stored = GetUserSetting(QString::fromLatin1(Key::TtsVoiceName), {});
        QCOMPARE(stored, App().ttsVoiceName);
        QVERIFY(!stored.isEmpty());
        QVERIFY(manager.voices()[last].startsWith(stored));
        // The next opening shows the stored voice.
        WordSoundManager again;
        again.openManage();
        QVERIFY(again.voices()[again.initialVoice()].contains(stored));
        vcSndCenter_Close(App().wordSoundCentre);
        App().wordSoundCentre = -1;
    }

    void continueRegistersALibraryFoundNow()
    {
        App().wordSoundCentre = vcSndCenter_Open(-1, 16, 22050, 1);
        const QString out = m_dir->path() + "/word";
        int ms = 0;
        const bool tts = vcSndCenter_IsTtsAvailable(App().wordSoundCentre) != 0;
        QCOMPARE(vcSndCenter_GetSndFile(App().wordSoundCentre, "hello", 0, out, 0, 0, ms, {}), tts ? 2 : -1);
        WordSoundManager manager;
        manager.continueCopyForm(); // nothing found yet: nothing registered
        QCOMPARE(App().wordSndLibSource, 0);
        qputenv("MVX_EXTRA_VOLUMES", (m_dir->path() + "/disc").toUtf8()); // the disc goes in
        manager.continueCopyForm();
        qunsetenv("MVX_EXTRA_VOLUMES");
        QCOMPARE(App().wordSndLibSource, 3);
        QCOMPARE(vcSndCenter_GetSndFile(App().wordSoundCentre, "hello", 0, out, 0, 0, ms, {}), 1);
        QVERIFY(ms >= 290 && ms <= 310);
        vcSndCenter_Close(App().wordSoundCentre);
        App().wordSoundCentre = -1;
    }
};

QTEST_GUILESS_MAIN(TestLibraryWordSound)
#include "test_library_wordsound.moc"
