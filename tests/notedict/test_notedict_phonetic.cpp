// The phonetic shown beside a looked-up word and saved with it: the word's own, else its base
// word's named after it; words saved earlier without one get it when the notebook shows them.
#include "notedict/DictPopupModel.h"
#include "notedict/NoteDictLib.h"
#include "notedict/NotebookModel.h"
#include "notedict/NotebookStore.h"

#include "EcDictBuilder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace mvx;

class TestNotedictPhonetic : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp{QString::fromLocal8Bit(qgetenv("MVX_TEST_TMP")) + QStringLiteral("/phonXXXXXX")};
    int m_dict = 0;

private slots:
    // As in ECDICT: "doctors" has an entry of its own without a phonetic, "went" one with its
    // own, "children" none at all (only the lemma list names its base).
    void initTestCase()
    {
        const QString csv = m_tmp.filePath(QStringLiteral("ph.csv"));
        QFile f(csv);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("word,phonetic,definition,translation,pos,collins,oxford,tag,bnc,frq,exchange,detail,audio\n"
                "doctor,'d\xc9\x92kt\xd3\x99,n. physician,\"n. \xe5\x8c\xbb\xe7\x94\x9f\",,5,1,zk gk,500,600,s:doctors,,\n"
                "doctors,,,doctor\xe7\x9a\x84\xe5\xa4\x8d\xe6\x95\xb0,,,,,0,0,0:doctor/1:s,,\n"
                "go,g\xc9\x99u,v. move,\"vi. \xe5\x8e\xbb\",,5,1,zk gk,44,35,p:went/d:gone,,\n"
                "went,went,v. moved,go\xe7\x9a\x84\xe8\xbf\x87\xe5\x8e\xbb\xe5\xbc\x8f,,,,,0,0,0:go/1:p,,\n"
                "child,t\xca\x83\x61ild,n. a young person,\"n. \xe5\xad\xa9\xe5\xad\x90\",,5,1,zk gk,114,115,s:children,,\n");
        f.close();
        const QString lemma = m_tmp.filePath(QStringLiteral("lemma.txt"));
        QFile l(lemma);
        QVERIFY(l.open(QIODevice::WriteOnly));
        l.write("child/50 -> children\n");
        l.close();
        EcDictBuilder b;
        const QString base = m_tmp.filePath(QStringLiteral("ph"));
        QVERIFY2(b.build(csv, lemma, base), qPrintable(b.errorText()));
        m_dict = bcEcDict_Open(base + QStringLiteral(".idx"), base + QStringLiteral(".lib"));
        QVERIFY(m_dict > 0);
        bcNoteDictInitEx(-1, m_dict, QStringLiteral("test"), {}, 0);
    }

    void shownAndSaved_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("saved");
        QTest::addRow("own entry without one") << "doctors" << "['dɒktә] (doctor)" << "'dɒktә (doctor)";
        QTest::addRow("own entry with one") << "went" << "[went]" << "went";
        QTest::addRow("no entry, base from the lemma list") << "children" << "[tʃaild] (child)" << "tʃaild (child)";
        QTest::addRow("a head word") << "doctor" << "['dɒktә]" << "'dɒktә";
    }
    void shownAndSaved()
    {
        QFETCH(QString, word);
        QFETCH(QString, shown);
        QFETCH(QString, saved);
        DictPopupModel popup(nullptr, m_dict, word, {});
        QCOMPARE(popup.phonetic(), shown);
        popup.saveToNotebook();
        QString w, meaning, third;
        QVERIFY(bcDictDll_GetSavedWord(w, meaning, &third));
        QCOMPARE(third, saved);
        QCOMPARE(ShownPhonetic(word), saved);
    }

    // A word saved without a phonetic shows one in the notebook; a saved one is kept.
    void notebookFillsMissingOnes()
    {
        const QString note = m_tmp.filePath(QStringLiteral("brxspecial_note"));
        NotebookStore store;
        QVERIFY(store.open(note, note + QStringLiteral(".lib"), true));
        QVERIFY(store.addWord("doctors", "医生", {}, {}, {}) == NotebookStore::AddResult::Added);
        QVERIFY(store.addWord("went", "去了", "kept as saved", {}, {}) == NotebookStore::AddResult::Added);
        store.close();
        NotebookModel model;
        QCOMPARE(model.load(nullptr, note, note + QStringLiteral(".lib"), {}), 2);
        QCOMPARE(model.rows().at(0).third, QStringLiteral("'dɒktә (doctor)"));
        QCOMPARE(model.rows().at(1).third, QStringLiteral("kept as saved"));
    }
};

QTEST_GUILESS_MAIN(TestNotedictPhonetic)
#include "test_notedict_phonetic.moc"
