// A newer installation's article lines merged into the learner's index.
#include "core/IndexMerge.h"

#include <QtTest>

using namespace mvx;

class TestCoreIndexMerge : public QObject
{
    Q_OBJECT

private slots:
    void merges_data()
    {
        QTest::addColumn<QStringList>("learner");
        QTest::addColumn<QStringList>("shipped");
        QTest::addColumn<QStringList>("last"); // "-" alone: no shipped index seen before
        QTest::addColumn<QStringList>("want");
        const QStringList base{"CLAS0001Science||brx", "CLAS0002Animals", "FILEFrogs|sentra|a.dat|0|0",
                               "CLAS0002Space", "FILEMoon|sentra|a.dat|1|0"};
        QTest::newRow("into an existing sub-category, before the next one")
            << base
            << QStringList{"CLAS0001Science||brx", "CLAS0002Animals", "FILEFrogs|sentra|a.dat|0|0",
                           "FILEBees|sentra|b.dat|0|0", "CLAS0002Space", "FILEMoon|sentra|a.dat|1|0"}
            << base
            << QStringList{"CLAS0001Science||brx", "CLAS0002Animals", "FILEFrogs|sentra|a.dat|0|0",
                           "FILEBees|sentra|b.dat|0|0", "CLAS0002Space", "FILEMoon|sentra|a.dat|1|0"};
        QTest::newRow("a new sub-category at the end of its top category")
            << base + QStringList{"CLAS0001Life||brx", "FILESleep|sentra|c.dat|0|0"}
            << QStringList{"CLAS0001Science||brx", "CLAS0002Plants", "FILETrees|sentra|t.dat|0|0"} << QStringList{"-"}
            << base + QStringList{"CLAS0002Plants", "FILETrees|sentra|t.dat|0|0", "CLAS0001Life||brx",
                                  "FILESleep|sentra|c.dat|0|0"};
        QTest::newRow("a new top category at the end, blank lines kept last")
            << QStringList{"CLAS0001Science||brx", "FILEFrogs|sentra|a.dat|0|0", "", ""}
            << QStringList{"CLAS0001Culture||brx", "CLAS0002Food", "FILETea|sentra|tea.dat|2|0"} << QStringList{"-"}
            << QStringList{"CLAS0001Science||brx", "FILEFrogs|sentra|a.dat|0|0", "CLAS0001Culture||brx",
                           "CLAS0002Food", "FILETea|sentra|tea.dat|2|0", "", ""};
        QTest::newRow("a lesson the learner retitled or moved is not added again")
            << QStringList{"CLAS0001Mine||brx", "FILEMy frogs|sentra|a.dat|0|0"}
            << QStringList{"CLAS0001Science||brx", "CLAS0002Animals", "FILEFrogs|sentra|a.dat|0|0"} << QStringList{"-"}
            << QStringList{"CLAS0001Mine||brx", "FILEMy frogs|sentra|a.dat|0|0"};
        QTest::newRow("the same book in another library folder is another lesson")
            << QStringList{"CLAS0001Science||brx", "FILEFrogs|sentra|a.dat|0|0"}
            << QStringList{"CLAS0001Extra||more", "FILEFrogs|sentra|a.dat|0|0"} << QStringList{"-"}
            << QStringList{"CLAS0001Science||brx", "FILEFrogs|sentra|a.dat|0|0", "CLAS0001Extra||more",
                           "FILEFrogs|sentra|a.dat|0|0"};
        QTest::newRow("shipped before and removed by the learner: stays removed")
            << QStringList{"CLAS0001Science||brx"}
            << QStringList{"CLAS0001Science||brx", "FILEFrogs|sentra|a.dat|0|0", "FILEBees|sentra|b.dat|0|0"}
            << QStringList{"CLAS0001Science||brx", "FILEFrogs|sentra|a.dat|0|0"}
            << QStringList{"CLAS0001Science||brx", "FILEBees|sentra|b.dat|0|0"};
        QTest::newRow("the learner's malformed and foreign lines are left as they are")
            << QStringList{"CLAS0001Science||brx", "FILEbroken", "; a note", "CLAS0003Skipped level"}
            << QStringList{"CLAS0001Science||brx", "FILEFrogs|sentra|a.dat|0|0"} << QStringList{"-"}
            << QStringList{"CLAS0001Science||brx", "FILEbroken", "; a note", "CLAS0003Skipped level",
                           "FILEFrogs|sentra|a.dat|0|0"};
        QTest::newRow("nothing new: unchanged") << base << base << base << base;
    }
    void merges()
    {
        QFETCH(QStringList, learner);
        QFETCH(QStringList, shipped);
        QFETCH(QStringList, last);
        QFETCH(QStringList, want);
        const bool hasLast = last != QStringList{"-"};
        int added = -1;
        const QStringList merged = IndexMerge::Merge(learner, shipped, hasLast ? last : QStringList(), hasLast, &added);
        QCOMPARE(merged, want);
        int articles = 0; // article lines the merge brought
        for (const QString &line : want)
            articles += line.startsWith("FILE") && line.count('|') >= 3 ? 1 : 0;
        for (const QString &line : learner)
            articles -= line.startsWith("FILE") && line.count('|') >= 3 ? 1 : 0;
        QCOMPARE(added, articles);
        // Merging again adds nothing.
        int again = -1;
        QCOMPARE(IndexMerge::Merge(merged, shipped, hasLast ? last : QStringList(), hasLast, &again), merged);
        QCOMPARE(again, 0);
    }
};

QTEST_GUILESS_MAIN(TestCoreIndexMerge)
#include "test_core_indexmerge.moc"
