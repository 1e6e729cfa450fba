// The lesson range the player opens the notebook with: first after the title line, last
// the lesson's own last sentence (never the next lesson's first).
#include "EventsFakes.h"

#include "core/AppState.h"
#include "player/events/PlayerNotebook.h"

#include <QTest>

using namespace mvx;
using namespace eventsfakes;

class TestEventsNotebook : public QObject
{
    Q_OBJECT

private slots:
    void lessonRange_data()
    {
        QTest::addColumn<bool>("title");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("book");
        QTest::addColumn<QString>("range");
        QTest::addRow("with a title line") << true << 6 << "/home/x/文化习俗.dat" << "#kbt|文化习俗.dat|101|105";
        QTest::addRow("without") << false << 6 << "文化习俗.dat" << "#kbt|文化习俗.dat|100|105";
        QTest::addRow("one sentence after the title") << true << 2 << "a.dat" << "#kbt|a.dat|101|101";
        QTest::addRow("only a title") << true << 1 << "a.dat" << "";
        QTest::addRow("no book") << false << 6 << "" << "";
    }
    void lessonRange()
    {
        QFETCH(bool, title);
        QFETCH(int, count);
        QFETCH(QString, book);
        QFETCH(QString, range);
        Log log;
        FakePlayer player(log);
        player.count = count;
        player.first = 100;
        App().noteProductTag = QStringLiteral("kbt");
        PlayerNotebook notebook(player, [&] { return book; }, [&] { return title; });
        QCOMPARE(notebook.LessonRange(), range);
    }
};

QTEST_MAIN(TestEventsNotebook)
#include "test_events_notebook.moc"
