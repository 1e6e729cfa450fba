// The dictionary: ECDICT conversion, look-ups of inflected forms, phrases, page
// punctuation, nearest spellings, damaged files, the real built dictionary and the
// mvxbrx-dict command.
#include "EcDictBuilder.h"
#include "notedict/EcDictionary.h"
#include "notedict/NoteDictLib.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace mvx;

class TestNotedictDict : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp{QString::fromLocal8Bit(qgetenv("MVX_TEST_TMP")) + QStringLiteral("/dictXXXXXX")};
    QString m_base;
    EcDictionary m_dict;

    QString buildFixture(const QString &name)
    {
        EcDictBuilder b;
        const QString base = m_tmp.filePath(name);
        if (!b.build(QStringLiteral(MVX_TEST_DATA "/mini_ecdict.csv"), QStringLiteral(MVX_TEST_DATA "/mini_lemma.txt"), base))
            qWarning() << b.errorText();
        return base;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        EcDictBuilder b;
        m_base = m_tmp.filePath(QStringLiteral("mini"));
        QVERIFY2(b.build(QStringLiteral(MVX_TEST_DATA "/mini_ecdict.csv"), QStringLiteral(MVX_TEST_DATA "/mini_lemma.txt"), m_base),
                 qPrintable(b.errorText()));
        QCOMPARE(b.stats().rows, 19);
        QCOMPARE(b.stats().skippedRows, 1);
        QCOMPARE(b.stats().entries, 18);
        QVERIFY(m_dict.open(m_base + ".idx", m_base + ".lib"));
    }

    void lookup_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("head");      // head word of the entry shown first
        QTest::addColumn<QString>("meaning");   // a text the meaning lines must hold
        QTest::addRow("past tense with own entry") << "went" << "go" << "went: go 的过去式";
        QTest::addRow("base entry shown with it") << "went" << "go" << "vi. 去, 走";
        QTest::addRow("form only named by its base") << "studies" << "study" << "studies: study 的复数、第三人称单数";
        QTest::addRow("form only in the lemma list") << "taught" << "teach" << "taught: teach 的变形";
        QTest::addRow("irregular plural") << "mice" << "mouse" << "n. 老鼠, 鼠标";
        QTest::addRow("own entry keeps its meaning") << "better" << "better" << "better: good 的比较级";
        QTest::addRow("two form codes") << "reported" << "reported" << "reported: report 的过去分词、过去式";
        QTest::addRow("capital at sentence start") << "Government" << "government" << "n. 政府, 内阁";
        QTest::addRow("possessive and comma") << "government's," << "government" << "n. 政府, 内阁";
        QTest::addRow("typographic possessive") << QString::fromUtf8("Government\u2019s") << "government" << "n. 政府, 内阁";
        QTest::addRow("quoted word") << QString::fromUtf8("\u201cChina\u201d") << "China" << "n. 中国, 瓷器";
        QTest::addRow("phrase with extra blanks") << " GIVE   up " << "give up" << "放弃, 停止";
        QTest::addRow("abbreviation keeps its dot") << "U.S." << "U.S." << "美国";
        QTest::addRow("accented word") << QString::fromUtf8("Caf\u00e9") << QString::fromUtf8("caf\u00e9") << "n. 咖啡馆, 小餐馆";
        QTest::addRow("quoted CSV field with comma and quotes") << "quote" << "quote" << "n. 引用, \"语录\"";
        QTest::addRow("escaped line break splits lines") << "quote" << "quote" << "vt. 引述";
    }
    void lookup()
    {
        QFETCH(QString, asked);
        QFETCH(QString, head);
        QFETCH(QString, meaning);
        const DictLookup r = m_dict.lookup(asked);
        QVERIFY2(r.found(), qPrintable(asked));
        QCOMPARE(r.mainEntry().headWord, head);
        QVERIFY2(r.meaningLines().contains(meaning), qPrintable(r.meaningLines().join(" | ")));
        QVERIFY(r.suggestions.isEmpty());
    }

    void notFoundGivesNearestSpellings_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("first");
        QTest::addRow("missing letter") << "goverment" << "government";
        QTest::addRow("swapped letters") << "zerba" << "zebra";
        QTest::addRow("nothing close") << "qqqqqqqqq" << "";
        QTest::addRow("only punctuation") << "--,;" << "";
    }
    void notFoundGivesNearestSpellings()
    {
        QFETCH(QString, asked);
        QFETCH(QString, first);
        const DictLookup r = m_dict.lookup(asked);
        QVERIFY(!r.found());
        QCOMPARE(r.suggestions.value(0), first);
    }

    void damagedOrMismatchedFilesAreRefused()
    {
        const QString other = buildFixture(QStringLiteral("other"));
        EcDictionary d;
        QVERIFY(!d.open(m_base + ".idx", other + ".lib")); // a pair from two builds
        QVERIFY(d.errorText().contains(QStringLiteral("不配套")));

        QFile::copy(m_base + ".lib", m_tmp.filePath("cut.lib"));
        QFile cut(m_tmp.filePath("cut.lib"));
        QVERIFY(cut.resize(cut.size() / 2));
        QVERIFY(!d.open(m_base + ".idx", cut.fileName()));

        QFile junk(m_tmp.filePath("junk.idx"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(200, 'x'));
        junk.close();
        QVERIFY(!d.open(junk.fileName(), m_base + ".lib"));
        QVERIFY(!d.open(m_tmp.filePath("absent.idx"), m_base + ".lib"));
        QVERIFY(!d.isOpen());
        QVERIFY(!d.lookup("go").found()); // a closed dictionary answers, it does not crash
    }

    void builderRefusesWhatIsNotEcdict()
    {
        QFile f(m_tmp.filePath("plain.csv"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("a,b,c\n1,2,3\n");
        f.close();
        EcDictBuilder b;
        QVERIFY(!b.build(f.fileName(), {}, m_tmp.filePath("plain")));
        QVERIFY(!QFile::exists(m_tmp.filePath("plain.idx")));
        QVERIFY(!b.build(m_tmp.filePath("absent.csv"), {}, m_tmp.filePath("absent")));
    }

    void facadeHandles()
    {
        const int h = bcEcDict_Open(m_base + ".idx", m_base + ".lib");
        QVERIFY(h > 0);
        QVERIFY(EcDictFromHandle(h));
        QCOMPARE(bcEcDict_Open(m_tmp.filePath("none.idx"), m_tmp.filePath("none.lib")), 0);
        QVERIFY(!EcDictLastError().isEmpty());
        bcEcDict_Close(h);
        QVERIFY(!EcDictFromHandle(h));
        bcEcDict_Close(h);   // twice, and unknown handles: nothing happens
        bcEcDict_Close(-1);
    }

    // The dictionary the build stages into the program home, from the real ECDICT.
    void realDictionary_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("chinese");
        QTest::addRow("reported") << "reported" << "reported" << "报告";
        QTest::addRow("studies") << "studies" << "studies" << "研究";
        QTest::addRow("went") << "went" << "go" << "去";
        QTest::addRow("better") << "better" << "better" << "较好";
        QTest::addRow("children") << "children" << "children" << "孩子";
        QTest::addRow("mice") << "mice" << "mice" << "老鼠";
        QTest::addRow("government's") << "government's" << "government" << "n. 政府, 内阁";
        QTest::addRow("phrase") << "give up" << "give up" << "放弃";
        QTest::addRow("capitalised") << "Economy" << "economy" << "经济";
    }
    void realDictionary()
    {
        QFETCH(QString, asked);
        QFETCH(QString, head);
        QFETCH(QString, chinese);
        EcDictionary d;
        QVERIFY2(d.open(MVX_HOME "/mvxdictec.idx", MVX_HOME "/mvxdictec.lib"), qPrintable(d.errorText()));
        QVERIFY(d.keyCount() > 700000);
        const DictLookup r = d.lookup(asked);
        QVERIFY(r.found());
        QCOMPARE(r.mainEntry().headWord, head);
        QVERIFY2(r.meaningLines().join(' ').contains(chinese), qPrintable(r.meaningLines().join(" | ")));
    }

    void realDictionarySuggests()
    {
        EcDictionary d;
        QVERIFY(d.open(MVX_HOME "/mvxdictec.idx", MVX_HOME "/mvxdictec.lib"));
        const DictLookup r = d.lookup("goverment");
        QVERIFY(!r.found());
        QCOMPARE(r.suggestions.value(0), QStringLiteral("government"));
    }

    void commandLine()
    {
        QProcess p;
        p.start(MVX_HOME "/mvxbrx-dict", {"went", "government's"});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        const QStringList went = lines.at(0).split('\t');
        QCOMPARE(went.size(), 4);
        QCOMPARE(went.at(0), QStringLiteral("went"));
        QCOMPARE(went.at(1), QStringLiteral("go"));
        QVERIFY(!went.at(2).isEmpty());
        QVERIFY(went.at(3).startsWith(QStringLiteral("went: go 的过去式 / ")));
        QCOMPARE(lines.at(1).split('\t').at(1), QStringLiteral("government"));

        p.start(MVX_HOME "/mvxbrx-dict", {"go", "goverment"});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 1);
        const QStringList miss = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(miss.size(), 2);
        QVERIFY(miss.at(1).startsWith(QStringLiteral("goverment\t\t\t未找到")));
        QVERIFY(miss.at(1).contains(QStringLiteral("government")));

        p.start(MVX_HOME "/mvxbrx-dict", {"--dict", m_tmp.filePath("none"), "go"});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(TestNotedictDict)
#include "test_notedict_dict.moc"
