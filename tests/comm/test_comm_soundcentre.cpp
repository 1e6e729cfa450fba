// Sound centre: look-up order between libraries and speech, bad indexes, voice choice,
// and the library the build tool makes from the bundled lessons.
#include "CommTestUtil.h"
#include "SoundLibraryBuilder.h"
#include "comm/CommLib.h"
#include "comm/SoundCentre.h"
#include "comm/VoiceCatalog.h"

#include <QFile>
#include <QTest>

using namespace mvx;
using namespace commtest;

class TestSoundCentre : public QObject
{
    Q_OBJECT

    QString m_dir;
    int m_centre = 0;

    // A library folder with one tone per word (each library its own pitch, to tell them apart).
    QString makeLibrary(const QString &name, const QStringList &words, int amplitude, const QString &indexFolder = {})
    {
        const QString data = m_dir + QLatin1Char('/') + name;
        QDir().mkpath(data + QStringLiteral("/snd"));
        QStringList lines{QStringLiteral("MVXSNDLIB\t1"), QStringLiteral("# test library")};
        for (const QString &w : words) {
            const QString file = QStringLiteral("snd/") + w + QStringLiteral(".wav");
            WriteSound(data + QLatin1Char('/') + file, Tone(22050, 300, amplitude), 22050, 1);
            lines << w + QLatin1Char('\t') + file;
        }
        lines << QStringLiteral("line without a tab");
        const QString indexDir = indexFolder.isEmpty() ? data : indexFolder;
        QDir().mkpath(indexDir);
        const QString index = indexDir + QLatin1Char('/') + name + QStringLiteral(".idx");
        QFile f(index);
        f.open(QIODevice::WriteOnly);
        f.write(lines.join(QLatin1Char('\n')).toUtf8());
        return index;
    }

    static int PeakOf(const QString &wav)
    {
        int peak = 0;
        for (qint16 s : ReadAll(wav))
            peak = std::max(peak, std::abs(int(s)));
        return peak;
    }

private slots:
    void initTestCase()
    {
        m_dir = Scratch(QStringLiteral("soundcentre"));
        m_centre = vcSndCenter_Open(-1, 16, 22050, 1);
        QVERIFY(m_centre > 0);
        QCOMPARE(vcSndCenter_AddSndLib(m_centre, makeLibrary(QStringLiteral("first"), {"apple", "river"}, 8000),
                                       m_dir + QStringLiteral("/first"), 2),
                 1);
        // The second library's index lies apart from its sounds, in another folder.
        QCOMPARE(vcSndCenter_AddSndLib(m_centre,
                                       makeLibrary(QStringLiteral("second"), {"river", "mountain"}, 20000,
                                                   m_dir + QStringLiteral("/elsewhere")),
                                       m_dir + QStringLiteral("/second"), 0),
                 1);
    }
    void cleanupTestCase() { vcSndCenter_Close(m_centre); }

    void lookUpOrder_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("peak"); // 0: synthesised, any loudness
        QTest::addRow("only in the first library") << "apple" << 1 << 8000;
        QTest::addRow("in both: the first added wins") << "river" << 1 << 8000;
        QTest::addRow("only in the second library") << "mountain" << 1 << 20000;
        QTest::addRow("case and punctuation ignored") << "Mountain," << 1 << 20000;
        QTest::addRow("in no library: synthesised") << "butterfly" << 2 << 0;
    }
    void lookUpOrder()
    {
        QFETCH(QString, word);
        QFETCH(int, source);
        QFETCH(int, peak);
        if (source == 2 && !vcSndCenter_IsTtsAvailable(m_centre))
            QFAIL("espeak-ng must be available in the test environment");
        const QString base = m_dir + QStringLiteral("/word");
        int lengthMs = -1;
        QCOMPARE(vcSndCenter_GetSndFile(m_centre, word, 0, base, -1, -1, lengthMs, QString()), source);
        const SoundInfo info = Probe(base + QStringLiteral(".wav"));
        QCOMPARE(info.rate, 22050);
        QCOMPARE(info.channels, 1);
        QCOMPARE(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        QCOMPARE(lengthMs, int(info.frames * 1000 / 22050));
        if (peak)
            QVERIFY2(std::abs(PeakOf(base + QStringLiteral(".wav")) - peak) <= 2, qPrintable(word));
        else
            QVERIFY(lengthMs > 100 && PeakOf(base + QStringLiteral(".wav")) > 1000);
    }

    void relativePathsWithBackslashes()
    {
        // As start-up registers the lesson library: relative to the current folder, "\\" separators.
        const QString before = QDir::currentPath();
        QDir::setCurrent(m_dir);
        const int centre = vcSndCenter_Open(-1, 16, 22050, 1);
        QCOMPARE(vcSndCenter_AddSndLib(centre, QStringLiteral("first\\first.idx"), QStringLiteral("first\\"), 2), 1);
        int len = 0;
        QCOMPARE(vcSndCenter_GetSndFile(centre, QStringLiteral("apple"), 0, QStringLiteral("rel"), -1, -1, len, QString()),
                 1);
        QVERIFY(QFile::exists(m_dir + QStringLiteral("/rel.wav")));
        vcSndCenter_Close(centre);
        QDir::setCurrent(before);
    }

    void libraryFileInAnotherFormatIsConverted()
    {
        const QString data = m_dir + QStringLiteral("/flac");
        QDir().mkpath(data);
        QVector<qint16> stereo;
        for (qint16 s : Tone(44100, 500, 12000))
            stereo << s << s;
        QVERIFY(WriteSound(data + QStringLiteral("/ocean.flac"), stereo, 44100, 2, SF_FORMAT_FLAC | SF_FORMAT_PCM_16));
        QFile idx(data + QStringLiteral("/flac.idx"));
        QVERIFY(idx.open(QIODevice::WriteOnly));
        idx.write("MVXSNDLIB\t1\r\nocean\tocean.flac\r\n");
        idx.close();
        const int centre = vcSndCenter_Open(-1, 16, 22050, 1);
        QCOMPARE(vcSndCenter_AddSndLib(centre, idx.fileName(), QString(), 0), 1);
        int lengthMs = 0;
        QCOMPARE(vcSndCenter_GetSndFile(centre, QStringLiteral("ocean"), 0, m_dir + QStringLiteral("/o"), -1, -1,
                                        lengthMs, QString()),
                 1);
        const SoundInfo info = Probe(m_dir + QStringLiteral("/o.wav"));
        QCOMPARE(info.rate, 22050);
        QCOMPARE(info.channels, 1);
        QVERIFY(std::abs(lengthMs - 500) <= 1);
        vcSndCenter_Close(centre);
    }

    void badIndexesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addRow("missing index") << QByteArray();
        QTest::addRow("wrong first line") << QByteArray("apple\tsnd/apple.wav\n");
        QTest::addRow("unknown version") << QByteArray("MVXSNDLIB\t9\napple\tsnd/apple.wav\n");
        QTest::addRow("binary junk") << QByteArray("\x00\xff\xfe\x01garbage", 12);
    }
    void badIndexesAreRefused()
    {
        QFETCH(QByteArray, content);
        const QString index = m_dir + QStringLiteral("/bad.idx");
        QFile::remove(index);
        if (!content.isEmpty()) {
            QFile f(index);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        const int centre = vcSndCenter_Open(-1, 16, 22050, 1);
        QCOMPARE(vcSndCenter_AddSndLib(centre, index, m_dir, 0), 0);
        vcSndCenter_Close(centre);
    }

    void entryWithDamagedSoundFallsThrough()
    {
        // A library entry whose file is no sound must not hide the word from later sources.
        const QString data = m_dir + QStringLiteral("/broken");
        QDir().mkpath(data);
        QFile junk(data + QStringLiteral("/apple.wav"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("RIFF....not a wave");
        junk.close();
        QFile idx(data + QStringLiteral("/broken.idx"));
        QVERIFY(idx.open(QIODevice::WriteOnly));
        idx.write("MVXSNDLIB\t1\napple\tapple.wav\n");
        idx.close();
        SoundCentre centre(22050, 1, nullptr);
        QVERIFY(centre.addLibrary(idx.fileName(), data, 0));
        QVERIFY(centre.addLibrary(m_dir + QStringLiteral("/first/first.idx"), m_dir + QStringLiteral("/first"), 0));
        QCOMPARE(centre.writeWordSound(QStringLiteral("apple"), m_dir + QStringLiteral("/fall")),
                 SoundCentre::FromLibrary);
        QVERIFY(std::abs(PeakOf(m_dir + QStringLiteral("/fall.wav")) - 8000) <= 2);
    }

    void noSoundRemovesStaleFile()
    {
        // Without speech, a word no library has gives -1 and leaves no old sound behind.
        SoundCentre centre(22050, 1, nullptr);
        const QString base = m_dir + QStringLiteral("/stale");
        QVERIFY(WriteSound(base + QStringLiteral(".wav"), Tone(22050, 100, 500), 22050, 1));
        QCOMPARE(centre.writeWordSound(QStringLiteral("zebra"), base), SoundCentre::None);
        QVERIFY(!QFile::exists(base + QStringLiteral(".wav")));
        int len = 7;
        QCOMPARE(vcSndCenter_GetSndFile(m_centre, QStringLiteral(" ... "), 0, base, -1, -1, len, QString()), -1);
        QCOMPARE(len, 0);
    }

    void invalidHandleDoesNothing()
    {
        int len = 0;
        QString voice = QStringLiteral("Microsoft Mary");
        QCOMPARE(vcSndCenter_GetSndFile(9999, QStringLiteral("apple"), 0, m_dir + QStringLiteral("/x"), -1, -1, len,
                                        QString()),
                 -1);
        QCOMPARE(vcSndCenter_AddSndLib(9999, m_dir + QStringLiteral("/first/first.idx"), QString(), 0), 0);
        QCOMPARE(vcSndCenter_SetTtsVoiceName(9999, voice), 0);
        QCOMPARE(voice, QStringLiteral("Microsoft Mary"));
        QCOMPARE(vcSndCenter_IsTtsAvailable(9999), 0);
        QCOMPARE(vcSndCenter_Open(-1, 8, 22050, 1), 0);
        vcSndCenter_Close(9999);
    }

    void voiceRules_data()
    {
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("expected");
        QTest::addRow("exact name") << "English (Great Britain)" << "English (Great Britain)";
        QTest::addRow("name with underscores, other case") << "english_(great_britain)" << "English (Great Britain)";
        QTest::addRow("language code keeps the full name") << "en-us" << "English (America)";
        QTest::addRow("identifier") << "gmw/en-GB-scotland" << "English (Scotland)";
        QTest::addRow("identifier's last part") << "en-GB-scotland" << "English (Scotland)";
        QTest::addRow("beginning of a name") << "German" << "German";
        QTest::addRow("unknown old voice: default") << "Microsoft Mary" << "English (America)";
        QTest::addRow("empty: default") << "" << "English (America)";
    }
    void voiceRules()
    {
        QFETCH(QString, requested);
        QFETCH(QString, expected);
        const QList<VoiceInfo> voices = {
            {"German", "gmw/de", {"de"}},
            {"English (Great Britain)", "gmw/en", {"en-gb", "en"}},
            {"English (Scotland)", "gmw/en-GB-scotland", {"en-gb-scotland", "en"}},
            {"English (America)", "gmw/en-US", {"en-us", "en"}},
        };
        QCOMPARE(voices.at(VoiceCatalog::Resolve(voices, requested)).name, expected);
    }

    void realVoicesAreListedAndRewritten()
    {
        QVERIFY(vcSndCenter_IsTtsAvailable(m_centre));
        const QStringList list = vcSndCenter_GetTtsVoiceList(m_centre);
        QVERIFY(list.contains(QStringLiteral("English (America)")));
        QCOMPARE(QSet<QString>(list.begin(), list.end()).size(), list.size());
        for (const QString &entry : list) {
            QVERIFY2(!entry.contains(QLatin1String("mbrola"), Qt::CaseInsensitive), qPrintable(entry));
            // An entry is a whole voice name: chosen as it is, it comes back unchanged.
            QString chosen = entry;
            QCOMPARE(vcSndCenter_SetTtsVoiceName(m_centre, chosen), 1);
            QCOMPARE(chosen, entry);
        }
        QString voice = QStringLiteral("Microsoft Mary");
        QCOMPARE(vcSndCenter_SetTtsVoiceName(m_centre, voice), 1);
        QCOMPARE(voice, QStringLiteral("English (America)"));
        voice = QStringLiteral("English (Great Britain)");
        QCOMPARE(vcSndCenter_SetTtsVoiceName(m_centre, voice), 1);
        QCOMPARE(voice, QStringLiteral("English (Great Britain)"));
        int len = 0;
        QCOMPARE(vcSndCenter_GetSndFile(m_centre, QStringLiteral("lighthouse"), 0, m_dir + QStringLiteral("/gb"), -1,
                                        -1, len, QString()),
                 2);
        QVERIFY(len > 200);
    }

    void bundledLessonKeyWordsBuildAndAreFound()
    {
        // The tool's builder over the real lesson sources, then the sound centre finds a key word.
        const QString out = m_dir + QStringLiteral("/bundle/brxspecial");
        SoundLibraryBuilder builder(out + QStringLiteral("/brxspecial.idx"), QString());
        const QDir articles(QStringLiteral(MVX_SOURCE_DIR "/data/library/articles"));
        const QStringList sources = articles.entryList({QStringLiteral("*.txt")}, QDir::Files);
        QVERIFY(!sources.isEmpty());
        for (const QString &name : sources)
            QVERIFY(builder.addWordList(articles.filePath(name), true));
        QVERIFY2(builder.build(QString(), 140, false), qPrintable(builder.errorText()));
        QVERIFY(builder.entryCount() >= 8);

        SoundCentre centre(22050, 1, nullptr); // no speech: the sound must come from the library
        QVERIFY(centre.addLibrary(out + QStringLiteral("/brxspecial.idx"), out, 2));
        QCOMPARE(centre.writeWordSound(QStringLiteral("shop"), m_dir + QStringLiteral("/shop")),
                 SoundCentre::FromLibrary);
        QVERIFY(Probe(m_dir + QStringLiteral("/shop.wav")).frames > 22050 / 10);

        // A second build reuses the sounds it made.
        SoundLibraryBuilder again(out + QStringLiteral("/brxspecial.idx"), QString());
        for (const QString &name : sources)
            QVERIFY(again.addWordList(articles.filePath(name), true));
        QVERIFY(again.build(QString(), 140, false));
        QCOMPARE(again.synthesisedCount(), 0);
        QCOMPARE(again.entryCount(), builder.entryCount());
    }

    void rebuildRemovesOnlyItsOwnOldSounds()
    {
        // The learner's own sound beside the synthesised ones survives a rebuild; the sound
        // of a word that left the list goes.
        const QString lib = m_dir + QStringLiteral("/mixed");
        SoundLibraryBuilder first(lib + QStringLiteral("/mine.idx"), QString());
        QDir().mkpath(first.soundFolder());
        const QString own = first.soundFolder() + QStringLiteral("hello.wav");
        QVERIFY(WriteSound(own, Tone(22050, 200, 3000), 22050, 1));
        first.addFolder(first.soundFolder());
        first.addWord(QStringLiteral("ocean"));
        QVERIFY(first.build(QString(), 140, false));
        const QString oceanFile = first.soundFolder() + SoundLibraryBuilder::FileNameFor(QStringLiteral("ocean"));
        QVERIFY(QFile::exists(oceanFile));

        SoundLibraryBuilder second(lib + QStringLiteral("/mine.idx"), QString());
        second.addFolder(second.soundFolder()); // picks up hello.wav and the old ocean file
        second.addWord(QStringLiteral("river"));
        QVERIFY(second.build(QString(), 140, false));
        QVERIFY(QFile::exists(own));
        SoundCentre centre(22050, 1, nullptr);
        QVERIFY(centre.addLibrary(lib + QStringLiteral("/mine.idx"), QString(), 0));
        QCOMPARE(centre.writeWordSound(QStringLiteral("hello"), m_dir + QStringLiteral("/mh")), SoundCentre::FromLibrary);
        QCOMPARE(centre.writeWordSound(QStringLiteral("river"), m_dir + QStringLiteral("/mr")), SoundCentre::FromLibrary);

        SoundLibraryBuilder third(lib + QStringLiteral("/mine.idx"), QString());
        third.addWord(QStringLiteral("river"));
        QVERIFY(third.build(QString(), 140, false));
        QVERIFY(!QFile::exists(oceanFile));
        QVERIFY(QFile::exists(own));
    }

    void builderIndexesAFolderOfSounds()
    {
        const QString sounds = m_dir + QStringLiteral("/mysounds");
        QDir().mkpath(sounds + QStringLiteral("/b"));
        QVERIFY(WriteSound(sounds + QStringLiteral("/hello.wav"), Tone(22050, 200, 3000), 22050, 1));
        QVERIFY(WriteSound(sounds + QStringLiteral("/b/good_morning.flac"), Tone(22050, 200, 3000), 22050, 1,
                           SF_FORMAT_FLAC | SF_FORMAT_PCM_16));
        QFile(sounds + QStringLiteral("/notes.txt")).open(QIODevice::WriteOnly);
        // The index in another folder than the sounds.
        SoundLibraryBuilder builder(m_dir + QStringLiteral("/idxonly/my.idx"), QString());
        QCOMPARE(builder.addFolder(sounds), 2);
        QVERIFY(builder.build(QString(), 140, false));
        SoundCentre centre(22050, 1, nullptr);
        QVERIFY(centre.addLibrary(m_dir + QStringLiteral("/idxonly/my.idx"), QString(), 0));
        QCOMPARE(centre.writeWordSound(QStringLiteral("Good morning"), m_dir + QStringLiteral("/gm")),
                 SoundCentre::FromLibrary);
        QCOMPARE(centre.writeWordSound(QStringLiteral("hello"), m_dir + QStringLiteral("/h")),
                 SoundCentre::FromLibrary);
    }
};

QTEST_GUILESS_MAIN(TestSoundCentre)
#include "test_comm_soundcentre.moc"
