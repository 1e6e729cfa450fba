// Splitting the mixed English-Chinese page into its two halves, and the font fallbacks.
#include "player/pages/EcHtmlSplitter.h"
#include "player/pages/FontFallback.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTest>

using namespace mvx::pages;

class TestPagesSplit : public QObject
{
    Q_OBJECT

private slots:
    void splitsLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("english");
        QTest::addColumn<QStringList>("chinese");
        const QString open = QStringLiteral("<table border=\"0\" width=\"100%\" id=\"table1\"  ");
        QTest::addRow("English line ends the row in the English half")
            << "<tr><td><label id=No1>1. </label><label id=ste1 style=\"x\">A</label><br>"
            << QStringList{"<tr><td><label id=No1>1. </label><label id=ste1 style=\"x\">A</label><br></td></tr>"}
            << QStringList{};
        QTest::addRow("Chinese line begins the row in the Chinese half")
            << "<label id=stc1 style=\"x\">甲</label></td></tr>" << QStringList{}
            << QStringList{"<tr><td><label id=stc1 style=\"x\">甲</label></td></tr>"};
        QTest::addRow("line with both labels goes to the Chinese half only")
            << "<label id=ste2>B</label><label id=stc2>乙</label>" << QStringList{}
            << QStringList{"<tr><td><label id=ste2>B</label><label id=stc2>乙</label>"};
        QTest::addRow("table opening replaced with each half's font")
            << "<table border=\"0\" width=\"100%\" id=\"table1\" style=\"FONT-SIZE: 12pt\">"
            << QStringList{open + "style=\" FONT-SIZE: 12pt; FONT-FAMILY: DejaVu Sans\">"}
            << QStringList{open + "style=\" FONT-SIZE: 10.5pt; FONT-FAMILY: Noto Serif CJK SC\">"};
        QTest::addRow("table later in the line copied unchanged")
            << "<div><table id=x>" << QStringList{"<div><table id=x>"} << QStringList{"<div><table id=x>"};
        QTest::addRow("other lines go to both halves")
            << "<meta charset=\"utf-8\">" << QStringList{"<meta charset=\"utf-8\">"}
            << QStringList{"<meta charset=\"utf-8\">"};
    }

    void splitsLines()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, english);
        QFETCH(QStringList, chinese);
        const auto h = EcHtmlSplitter::SplitLines({line}, {"DejaVu Sans", 12}, {"Noto Serif CJK SC", 10.5});
        QCOMPARE(h.english, english);
        QCOMPARE(h.chinese, chinese);
    }

    void splitsAFileIntoTwoValidHalves()
    {
        const QString dir = qEnvironmentVariable("MVX_TEST_TMP", QDir::tempPath()) + "/split";
        QDir(dir).removeRecursively();
        QVERIFY(QDir().mkpath(dir));
        QFile mixed(dir + "/tmpechtml.htm");
        QVERIFY(mixed.open(QIODevice::WriteOnly));
        // A sentence far longer than the old 4,900-character line limit keeps its closing markup.
        const QString longText(6000, QLatin1Char('w'));
        mixed.write(QStringLiteral("<html><body>\r\n<table border=\"0\" id=\"table1\" style=\"a\">\r\n"
                                   "<tr><td><label id=ste0>%1</label><br>\r\n<label id=stc0>中文</label></td></tr>\r\n"
                                   "</table>\r\n</body></html>\r\n")
                        .arg(longText)
                        .toUtf8());
        mixed.close();
        QVERIFY(EcHtmlSplitter::SplitFile(dir + "/tmpechtml.htm", dir + "/e.htm", dir + "/c.htm", {"A", 12},
                                          {"B", 11}));
        QFile e(dir + "/e.htm");
        QVERIFY(e.open(QIODevice::ReadOnly));
        const QString eText = QString::fromUtf8(e.readAll());
        QVERIFY(eText.contains(longText + "</label><br></td></tr>\r\n"));
        QVERIFY(!eText.contains("stc0"));
        QFile c(dir + "/c.htm");
        QVERIFY(c.open(QIODevice::ReadOnly));
        const QString cText = QString::fromUtf8(c.readAll());
        QVERIFY(cText.contains("<tr><td><label id=stc0>中文</label></td></tr>\r\n"));
        QVERIFY(cText.contains("FONT-FAMILY: B\">"));
        QVERIFY(cText.endsWith("</table>\r\n</body></html>\r\n"));

        // An unreadable mixed page leaves no stale halves behind.
        QString error;
        QVERIFY(!EcHtmlSplitter::SplitFile(dir + "/missing.htm", dir + "/e.htm", dir + "/c.htm", {"A", 12},
                                           {"B", 11}, &error));
        QVERIFY(error.contains("missing.htm"));
        QVERIFY(!QFile::exists(dir + "/e.htm"));
        QVERIFY(!QFile::exists(dir + "/c.htm"));
    }

    void fontsFallBackToInstalledFamilies_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<QString>("expected");
        QTest::addRow("MS Sans Serif") << "MS Sans Serif" << false << "DejaVu Sans";
        QTest::addRow("Song style 宋体") << "宋体" << true << "Noto Serif CJK SC";
        QTest::addRow("Hei style 黑体") << "黑体" << true << "Noto Sans CJK SC";
        QTest::addRow("installed English family kept") << "DejaVu Serif" << false << "DejaVu Serif";
        QTest::addRow("installed Chinese family kept") << "Noto Sans CJK SC" << true << "Noto Sans CJK SC";
    }

    void fontsFallBackToInstalledFamilies()
    {
        QFETCH(QString, stored);
        QFETCH(bool, chinese);
        QFETCH(QString, expected);
        if (!FontFallback::IsInstalled(expected)) {
            QSKIP("the expected family is not installed here");
        }
        QCOMPARE(chinese ? FontFallback::ChineseFamily(stored) : FontFallback::EnglishFamily(stored), expected);
    }
};

QTEST_MAIN(TestPagesSplit)
#include "test_pages_split.moc"
