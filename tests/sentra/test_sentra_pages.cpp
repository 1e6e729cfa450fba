// Lesson pages as text: ids, colours, escaping, the comment page's line breaks and edit link,
// and the mixed page's two-line rows that the player splits into an English and a Chinese half.
#include "SentraFixtures.h"
#include "libs/sentra/SentraFacade.h"

#include <QRegularExpression>
#include <QtTest>

#include <array>

using namespace mvx::sentra;

namespace {

struct Pages
{
    QString english, chinese, comment, mixed;
    int first = -1, count = -1, title = 0;
};

QString readUtf8(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

Pages makePages(int h, int lesson, int eColour = 0x000080, int cColour = 0x008000,
                int zColour = 0x404040, int kColour = 0xFF0000)
{
    const QString d = fixtures::tmpDir();
    Pages p;
    std::array<int, MaxSentencesPerLesson> degrees{};
    if (bcSentraBook_MakeHtml(h, d + "/tmpehtml.htm", d + "/tmpchtml.htm", d + "/tmpcommenthtml.htm",
                              d + "/tmpechtml.htm", lesson, -1, eColour, cColour, zColour, kColour,
                              -1, -1, &p.first, &p.count, &p.title, degrees,
                              QStringLiteral("FONT-SIZE: 12pt; FONT-FAMILY: Arial"),
                              QStringLiteral("FONT-SIZE: 11pt; FONT-FAMILY: 宋体"), 0)
        != 1)
        return p;
    p.english = readUtf8(d + "/tmpehtml.htm");
    p.chinese = readUtf8(d + "/tmpchtml.htm");
    p.comment = readUtf8(d + "/tmpcommenthtml.htm");
    p.mixed = readUtf8(d + "/tmpechtml.htm");
    return p;
}

// The player's split of the mixed page, line by line.
void splitMixed(const QString &mixed, QStringList &eHalf, QStringList &cHalf)
{
    for (const QString &line : mixed.split(QStringLiteral("\r\n"))) {
        if (line.contains(QLatin1String("<label id=stc"))) {
            cHalf << QStringLiteral("<tr><td>") + line;
        } else if (line.contains(QLatin1String("<label id=ste"))) {
            eHalf << line + QStringLiteral("</td></tr>");
        } else if (line.startsWith(QLatin1String("<table"))) {
            eHalf << QStringLiteral("<table>");
            cHalf << QStringLiteral("<table>");
        } else {
            eHalf << line;
            cHalf << line;
        }
    }
}

} // namespace

class TestSentraPages : public QObject
{
    Q_OBJECT

private slots:
    void bookTextsShowAsText_data();
    void bookTextsShowAsText();
    void labelsCarryIdsAndColours();
    void commentPageBreaksAndEditLink();
    void mixedPageSplitsIntoTwoTables_data();
    void mixedPageSplitsIntoTwoTables();
};

void TestSentraPages::bookTextsShowAsText_data()
{
    // The whole text escaped (Chinese and comment labels hold it as one), and the escaped
    // piece that stands between the word anchors of the English label.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("escaped");
    QTest::addColumn<QString>("between");
    QTest::addRow("script") << "<script>alert(1)</script>" << "&lt;script&gt;alert(1)&lt;/script&gt;" << "&lt;/";
    QTest::addRow("ampersand") << "Tom & Jerry" << "Tom &amp; Jerry" << "</a> &amp; <a";
    QTest::addRow("quote") << "He said \"yes\"" << "He said &quot;yes&quot;" << "</a> &quot;<a";
    QTest::addRow("fake label") << "a <label id=stc9> b" << "a &lt;label id=stc9&gt; b" << "</a> &lt;<a";
    QTest::addRow("entity") << "&lt; stays" << "&amp;lt; stays" << "&amp;<a";
}

void TestSentraPages::bookTextsShowAsText()
{
    QFETCH(QString, text);
    QFETCH(QString, escaped);
    QFETCH(QString, between);
    LessonData l = fixtures::sampleLesson();
    l.sentences[2].english = text;
    l.sentences[2].chinese = text;
    l.sentences[2].comment = text;
    const QString path = fixtures::makeBook(QStringLiteral("escape.dat"), {l});
    const int h = bcSentraBook_Open(path, QStringLiteral("rb"));
    const Pages p = makePages(h, 0);
    for (const QString *page : {&p.chinese, &p.comment, &p.mixed})
        QVERIFY(page->contains(escaped));
    for (const QString *page : {&p.english, &p.mixed})
        QVERIFY(page->contains(between));
    for (const QString *page : {&p.english, &p.chinese, &p.comment, &p.mixed})
        QVERIFY(!page->contains(text));
    const QString e = bcSentence_MakeEHtml(h, 2, 2, 0, 0, -1, -1, 0, 0);
    QVERIFY(e.contains(between));
    QVERIFY(!e.contains(text));
    QVERIFY(bcSentence_MakeCHtml(h, 2, 2, 0, 0).contains(escaped));
    QCOMPARE(bcSentence_MakeCommentHtml(h, 2, 2, QStringLiteral("InnerHtmlOnly"), 0), escaped);
    bcSentraBook_Close(h);
}

void TestSentraPages::labelsCarryIdsAndColours()
{
    LessonData l = fixtures::sampleLesson();
    l.sentences[3].newwords = {2};
    l.sentences[3].keywords = {2, 8};
    const QString path = fixtures::makeBook(QStringLiteral("ids.dat"), {l, l});
    const int h = bcSentraBook_Open(path, QStringLiteral("rb"));
    const Pages p = makePages(h, 1, 0x000080, 0x008000, 0x404040, 0xFF0000);
    QCOMPARE(p.first, 4);
    QCOMPARE(p.count, 4);
    for (int n = 0; n < 4; ++n) {
        // Ids count within the lesson, written without quotes, one label per sentence.
        QCOMPARE(p.english.count(QStringLiteral("<label id=ste%1 ").arg(n)), 1);
        QCOMPARE(p.chinese.count(QStringLiteral("<label id=stc%1 ").arg(n)), 1);
        QCOMPARE(p.comment.count(QStringLiteral("<label id=stz%1 ").arg(n)), 1);
    }
    QVERIFY(!p.english.contains(QLatin1String("ste4")));
    QVERIFY(p.english.contains(QLatin1String("style=\"color:#000080; FONT-SIZE: 12pt; FONT-FAMILY: Arial")));
    QVERIFY(p.chinese.contains(QStringLiteral("style=\"color:#008000; FONT-SIZE: 11pt; FONT-FAMILY: 宋体\">北方的农民说雨来得早。")));
    const QString e = bcSentence_MakeEHtml(h, 7, 3, 0x000080, 0x00FF00, -1, -1, 0, 0);
    QVERIFY(e.startsWith(QLatin1String("<label id=ste3 style=\"color:#000080\"><span></span><a id=wrd1>Rice</a> ")));
    QVERIFY(e.contains(QLatin1String("<a id=wrd2 style=\"color:#00FF00; text-decoration:underline; font-weight:bold\">prices</a>")));
    QVERIFY(e.contains(QLatin1String("<a id=wrd4>3.5</a>% <a id=wrd5>in</a>")));
    QVERIFY(e.contains(QLatin1String("<a id=wrd8 style=\"color:#00FF00\">market</a>.</label>")));
    // The Chinese current-sentence colour comes in the settings' order: 255 is red.
    QCOMPARE(bcSentence_MakeCHtml(h, 7, 3, 255, 0),
             QStringLiteral("<label id=stc3 style=\"color:#FF0000\">美国市场米价下跌了3.5%。</label>"));
    // The title is bold, the other sentences are not.
    QVERIFY(bcSentence_MakeEHtml(h, 4, 0, 0, 0, -1, -1, 0, 0).contains(QLatin1String("font-weight:bold\"><span>")));
    QVERIFY(!bcSentence_MakeEHtml(h, 5, 1, 0, 0, -1, -1, 0, 0).contains(QLatin1String("font-weight:bold\"><span>")));
    bcSentraBook_Close(h);
}

void TestSentraPages::commentPageBreaksAndEditLink()
{
    LessonData l = fixtures::sampleLesson();
    l.sentences[3].comment = QStringLiteral("line one\nline two");
    const QString path = fixtures::makeBook(QStringLiteral("comments.dat"), {l});
    const int h = bcSentraBook_Open(path, QStringLiteral("r+b"));
    Pages p = makePages(h, 0);
    QVERIFY(p.comment.contains(QStringLiteral("href=\"http://%1/").arg(QLatin1String(CommentEditMarker))));
    QVERIFY(QString::fromLatin1(CommentEditMarker).endsWith(QLatin1String(".invalid")));
    QCOMPARE(p.comment.count(QLatin1String("<br id=br")), 2);
    QVERIFY(p.comment.contains(QStringLiteral(">early: 早</label><br id=br1>\r\n")));
    QVERIFY(p.comment.contains(QLatin1String(">line one<br>line two</label><br id=br3>\r\n")));
    QVERIFY(p.comment.contains(QLatin1String("<label id=stz2 style=\"color:#404040\"></label>\r\n")));

    // The player adds a comment to sentence 2 and asks for the label's new inner markup.
    QCOMPARE(bcSentence_Modify(h, 2, std::nullopt, std::nullopt, QStringLiteral("好 & 坏")), 0);
    QCOMPARE(bcSentence_MakeCommentHtml(h, 2, 2, QStringLiteral("InnerHtmlOnly"), 0x404040),
             QStringLiteral("好 &amp; 坏"));
    QCOMPARE(bcSentence_MakeCommentHtml(h, 2, 2, QString(), 0x404040),
             QStringLiteral("<label id=stz2 style=\"color:#404040\">好 &amp; 坏</label><br id=br2>"));
    p = makePages(h, 0);
    QCOMPARE(p.comment.count(QLatin1String("<br id=br")), 3);
    QCOMPARE(bcSentence_Modify(h, 1, std::nullopt, std::nullopt, QString()), 0);
    p = makePages(h, 0);
    QVERIFY(!p.comment.contains(QLatin1String("<br id=br1>")));
    bcSentraBook_Close(h);
}

void TestSentraPages::mixedPageSplitsIntoTwoTables_data()
{
    QTest::addColumn<bool>("withTitle");
    QTest::addRow("lesson with a title") << true;
    QTest::addRow("lesson without a title") << false;
}

void TestSentraPages::mixedPageSplitsIntoTwoTables()
{
    QFETCH(bool, withTitle);
    LessonData l = fixtures::sampleLesson();
    l.sentences[0].isTitle = withTitle;
    // Texts that would break a line-based split if they were written as they are.
    l.sentences[1].english = QStringLiteral("First line\r\nsecond line <table> here.");
    l.sentences[1].chinese = QStringLiteral("第一行\n第二行");
    l.sentences[1].keywords.clear();
    l.sentences[2].english = QStringLiteral("<label id=stc2>");
    const QString path = fixtures::makeBook(QStringLiteral("mixed.dat"), {l});
    const int h = bcSentraBook_Open(path, QStringLiteral("rb"));
    const Pages p = makePages(h, 0);
    QCOMPARE(p.title, withTitle ? -1 : 0);

    const QStringList lines = p.mixed.split(QStringLiteral("\r\n"));
    int tableLines = 0;
    for (const QString &line : lines)
        tableLines += line.startsWith(QLatin1String("<table")) ? 1 : 0;
    QCOMPARE(tableLines, 1);

    QStringList eHalf, cHalf;
    splitMixed(p.mixed, eHalf, cHalf);
    const QString e = eHalf.join(u'\n'), c = cHalf.join(u'\n');
    for (int n = 0; n < 4; ++n) {
        // Every row is whole in both halves: one label of its language per row.
        const QRegularExpression eRow(QStringLiteral("^<tr><td>(<label id=No\\d+ [^\\n]*</label>)?<label id=ste%1 [^\\n]*</label><br></td></tr>$").arg(n),
                                      QRegularExpression::MultilineOption);
        const QRegularExpression cRow(QStringLiteral("^<tr><td><label id=stc%1 [^\\n]*</label></td></tr>$").arg(n),
                                      QRegularExpression::MultilineOption);
        QVERIFY2(e.contains(eRow), qPrintable(e));
        QVERIFY2(c.contains(cRow), qPrintable(c));
    }
    QVERIFY(!e.contains(QLatin1String("<label id=stc")));
    QVERIFY(!c.contains(QLatin1String("<label id=ste")));
    QCOMPARE(e.count(QLatin1String("<tr>")), 4);
    QCOMPARE(c.count(QLatin1String("<tr>")), 4);

    // "No" + k numbers the sentences after the title from 1, just before their English label.
    const int firstNumbered = withTitle ? 1 : 0;
    QCOMPARE(p.mixed.count(QLatin1String("<label id=No")), 4 - firstNumbered);
    for (int n = firstNumbered; n < 4; ++n) {
        const int k = n - firstNumbered + 1;
        QVERIFY(p.mixed.contains(QStringLiteral("<tr><td><label id=No%1 ").arg(k)));
        QVERIFY(p.mixed.contains(QRegularExpression(QStringLiteral("<label id=No%1 [^>]*>%1\\. </label><label id=ste%2 ").arg(k).arg(n))));
    }
    bcSentraBook_Close(h);
}

QTEST_GUILESS_MAIN(TestSentraPages)
#include "test_sentra_pages.moc"
