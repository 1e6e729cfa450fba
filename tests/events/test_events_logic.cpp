// The page-event handling and the marks / display switches over recording fakes: what each
// click, key and report does to the player, the pages and the book, and what bad input does
// not do.
#include "EventsFakes.h"

#include "core/AppState.h"
#include "player/events/DisplayMarks.h"
#include "player/events/PageEventHandler.h"

#include <QtTest>

using namespace mvx;
using namespace eventsfakes;

namespace {
const QString E = QStringLiteral("EHtmlEventHandler");
const QString C = QStringLiteral("CHtmlEventHandler");
const QString Cmt = QStringLiteral("CmtHtmlEventHandler");
const QString ECur = QStringLiteral("ECurSentenceHtmlEventHandler");
const QString CCur = QStringLiteral("CCurSentenceHtmlEventHandler");
const QString Script = QStringLiteral("ScriptHtmlEventHandler");
} // namespace

class TestEventsLogic : public QObject
{
    Q_OBJECT

    struct Rig
    {
        Log log;
        FakePlayer player{log};
        FakePages pages{log};
        FakeBook book{log};
        FakeDict dict{log};
        FakeSound sound{log};
        FakeReloader reloader{log};
        PageEventHandler handler{player, pages, book, dict, sound};
        DisplayMarks marks{player, pages, book, reloader};
    };

private slots:
    void initTestCase()
    {
        App().display.keywordColor = 0x0000FF;  // red, low byte first
        App().display.englishColor = 0x000000;
    }

    void clickSentenceByStatus_data()
    {
        QTest::addColumn<QString>("sink");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("autoNext");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<QStringList>("expected");
        // The pages hand a click on a sentence to the player's one way of going there, which
        // decides by status (the playback tests and the page-click tests cover what it does).
        const QStringList move{"SetCurSentence 3", "SetCurrentPos 0"};
        const QStringList go{"GoToSentence 3"};
        for (int status : {int(Stopped), int(Playing), int(Repeating), int(AutoRepeating), int(Previewing)}) {
            QTest::addRow("english page, status %d", status) << E << status << true << 3 << go;
            QTest::addRow("chinese page, status %d", status) << C << status << false << 3 << go;
        }
        QTest::addRow("comment page, stopped") << Cmt << int(Stopped) << false << 3 << move;
        QTest::addRow("comment page, playing: beeps") << Cmt << int(Playing) << true << 3 << QStringList{"Beep"};
    }
    void clickSentenceByStatus()
    {
        QFETCH(QString, sink);
        QFETCH(int, status);
        QFETCH(bool, autoNext);
        QFETCH(int, clicked);
        QFETCH(QStringList, expected);
        Rig r;
        r.player.status = status;
        r.player.autoNext = autoNext;
        const QString prefix = sink == E ? "ste" : sink == C ? "stc" : "stz";
        r.handler.Handle(Label(sink, prefix + QString::number(clicked)));
        QCOMPARE(r.log.calls, expected);
        // A click on a word of the sentence acts like a click on its label.
        Rig w;
        w.player.status = status;
        w.player.autoNext = autoNext;
        w.handler.Handle(Word(sink, clicked, 2, "news", 1, false, false, prefix));
        QCOMPARE(w.log.calls, expected);
    }

    void doubleClickPlaysTheSentence()
    {
        Rig r;
        r.handler.Handle(Label(E, "ste2"));
        r.handler.Handle(Label(E, "ste2", 1, false, false, "dblclick"));
        QCOMPARE(r.log.calls, (QStringList{"GoToSentence 2", "btPlaySentence"}));
        r.log.calls.clear();
        r.handler.Handle(Label(Cmt, "stz2", 1, false, false, "dblclick"));
        QVERIFY(r.log.calls.isEmpty());
    }

    void ctrlClicksToggleMarksInTheBook()
    {
        Rig r;
        r.handler.Handle(Word(E, 2, 3, "news", 1, true));
        r.handler.Handle(Word(E, 2, 3, "news", 1, true));
        r.handler.Handle(Word(E, 2, 4, "today", 2, true));
        r.handler.Handle(Word(E, 2, 4, "today", 2, true));
        QCOMPARE(r.log.calls, (QStringList{
                                  "Setk 102 3 len4 -> 1", "StyleWord English ste2 3 {\"color\":\"#FF0000\"}",
                                  "Setk 102 3 len4 -> 0", "StyleWord English ste2 3 {\"color\":\"\"}",
                                  "Setn 102 4 len5 -> 1",
                                  "StyleWord English ste2 4 {\"fontWeight\":\"bold\",\"textDecoration\":\"underline\"}",
                                  "Setn 102 4 len5 -> 0",
                                  "StyleWord English ste2 4 {\"fontWeight\":\"normal\",\"textDecoration\":\"\"}"}));
        // Refused by the book: the page is not restyled.
        r.log.calls.clear();
        r.book.refuse = true;
        r.handler.Handle(Word(E, 2, 3, "news", 1, true));
        QVERIFY(r.log.calls.isEmpty());
    }

    void ctrlAndAltOnALabelDoNothing_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<bool>("alt");
        QTest::addColumn<QStringList>("expected");
        for (int s : {int(Stopped), int(Playing), int(Repeating), int(AutoRepeating)}) {
            QTest::addRow("ctrl, status %d", s) << s << true << false << QStringList{};
        }
        QTest::addRow("alt while stopped") << int(Stopped) << false << true << QStringList{};
        QTest::addRow("alt ignored while repeating")
            << int(Repeating) << false << true
            << QStringList{"GoToSentence 4"};
    }
    void ctrlAndAltOnALabelDoNothing()
    {
        QFETCH(int, status);
        QFETCH(bool, ctrl);
        QFETCH(bool, alt);
        QFETCH(QStringList, expected);
        Rig r;
        r.player.status = status;
        r.handler.Handle(Label(E, "ste4", 1, ctrl, alt));
        QCOMPARE(r.log.calls, expected);
    }

    void altClickSpeaksTheWordWhileStopped()
    {
        Rig r;
        r.handler.Handle(Word(E, 2, 1, "Prices", 1, false, true));
        QCOMPARE(r.log.calls, QStringList{"Speak Prices"});
    }

    void rightClickLooksTheWordUp()
    {
        Rig r;
        r.book.means["102news"] = QStringLiteral("新闻");
        r.handler.Handle(Word(E, 2, 3, "news", 2));
        r.handler.Handle(Word(E, 2, 5, "rose", 4)); // any other button counts as right
        r.handler.Handle(Label(E, "ste2", 2));     // a label: nothing
        QCOMPARE(r.log.calls, (QStringList{"Pop news 10,20 [新闻]", "Pop rose 10,20 []"}));
        QCOMPARE(r.handler.LookupWord(), QStringLiteral("rose"));
        QCOMPARE(r.handler.LookupSentence(), 2);
        QCOMPARE(r.handler.LookupWordIdx(), 5);
        // The Chinese page ignores other buttons.
        r.log.calls.clear();
        r.handler.Handle(Label(C, "stc2", 2));
        QVERIFY(r.log.calls.isEmpty());
    }

    void currentSentencePages()
    {
        Rig r;
        r.handler.Handle(Label(ECur, "CurESentence"));
        r.handler.Handle(Label(CCur, "CurCSentence"));
        r.handler.Handle(Word(ECur, 1, 2, "word", 1));        // plain left click: nothing
        r.handler.Handle(Word(ECur, 1, 2, "word", 1, true));  // ctrl: key word
        r.handler.Handle(Word(ECur, 1, 2, "word", 1, true));  // unmarked: the English colour
        r.handler.Handle(Word(ECur, 1, 2, "word", 2));        // look-up
        QCOMPARE(r.log.calls, (QStringList{"EDoc 1", "CDoc 1", "Setk 101 2 len4 -> 1",
                                           "StyleWord English ste1 2 {\"color\":\"#FF0000\"}",
                                           "Setk 101 2 len4 -> 0",
                                           "StyleWord English ste1 2 {\"color\":\"#000000\"}", "Pop word 10,20 []"}));
    }

    void functionKeys_data()
    {
        QTest::addColumn<bool>("englishShown");
        QTest::addColumn<bool>("chineseShown");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("swallowed");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("F3, chinese hidden") << true << false << 114 << true << QStringList{"CDoc 1"};
        QTest::addRow("F3, chinese shown") << true << true << 114 << true << QStringList{};
        QTest::addRow("F5, english hidden") << false << true << 116 << true << QStringList{"EDoc 1"};
        QTest::addRow("F11, english hidden: auto show on") << false << true << 122 << true << QStringList{"EDoc 1"};
        QTest::addRow("F11, english shown: only swallowed") << true << true << 122 << true << QStringList{};
        QTest::addRow("F12, chinese hidden: auto show on") << true << false << 123 << true << QStringList{"CDoc 1"};
        QTest::addRow("other key: left to the page") << false << false << 65 << false << QStringList{};
    }
    void functionKeys()
    {
        QFETCH(bool, englishShown);
        QFETCH(bool, chineseShown);
        QFETCH(int, key);
        QFETCH(bool, swallowed);
        QFETCH(QStringList, expected);
        Rig r;
        r.pages.show.englishShown = englishShown;
        r.pages.show.chineseShown = chineseShown;
        QCOMPARE(r.handler.HandleHtmlKeyEvent(key), swallowed);
        QCOMPARE(r.log.calls, expected);
        // The same key from every sink's document reaches the same handling.
        for (const QString &sink : {Script, E, C, Cmt, ECur, CCur}) {
            Rig s;
            s.pages.show = r.pages.show;
            s.handler.Handle(Key(sink, key));
            QCOMPARE(s.log.calls, expected);
        }
    }

    void f11TogglesBackAndForth()
    {
        Rig r;
        r.pages.show.englishShown = false;
        r.handler.HandleHtmlKeyEvent(122);
        r.handler.HandleHtmlKeyEvent(122);
        QCOMPARE(r.log.calls, (QStringList{"EDoc 1", "EDoc 0"}));
        QVERIFY(!r.pages.autoE);
    }

    void maskedWordsUncoverFirst()
    {
        Rig r;
        r.pages.show.maskActive = true;
        r.handler.SetWordFlags(2, 3, PageEventHandler::KeywordFlag);
        r.handler.Handle(Word(E, 2, 3, "news", 2));
        r.handler.Handle(Word(E, 2, 3, "news", 2));
        QCOMPARE(r.log.calls, (QStringList{"StyleWord English ste2 3 {\"backgroundColor\":\"\",\"color\":\"#FF0000\"}",
                                           "Pop news 10,20 []"}));
    }

    void f5WithMaskUncoversAndAdvancesButNotPastTheLast()
    {
        Rig r;
        r.pages.show.maskActive = true;
        r.pages.words = 3; // lead + 2 words
        r.player.cur = 5;  // the last
        r.handler.SetWordFlags(5, 2, PageEventHandler::KeywordFlag);
        r.handler.HandleHtmlKeyEvent(116);
        QCOMPARE(r.log.calls, (QStringList{"StyleWord English ste5 1 {\"backgroundColor\":\"\",\"color\":\"\"}",
                                           "StyleWord English ste5 2 {\"backgroundColor\":\"\",\"color\":\"#FF0000\"}"}));
        QVERIFY(r.handler.WordRevealed(5, 1) && r.handler.WordRevealed(5, 2));
        r.log.calls.clear();
        r.player.cur = 4;
        r.handler.HandleHtmlKeyEvent(116);
        QCOMPARE(r.log.calls.last(), QStringLiteral("SetCurSentence 5"));
    }

    void badInputDoesNothing_data()
    {
        QTest::addColumn<mvx::pages::PageEvent>("event");
        QTest::addRow("label without number") << Label(E, "ste");
        QTest::addRow("label id not a number") << Label(E, "stexyz");
        QTest::addRow("label of another page") << Label(E, "stc2");
        QTest::addRow("label without id") << Label(E, "");
        QTest::addRow("sentence past the lesson") << Label(E, "ste6");
        QTest::addRow("negative sentence") << Label(E, "ste-1");
        QTest::addRow("word number 0") << Word(E, 2, 0, "x", 1, true);
        QTest::addRow("word number past 500") << Word(E, 2, 501, "x", 2);
        QTest::addRow("word without text") << Word(E, 2, 3, "", 1, true);
        QTest::addRow("word in a sentence past the lesson") << Word(E, 9, 3, "news", 1, true);
        QTest::addRow("word without a parent label") << Word(E, 2, 3, "news", 2, false, false, "");
        pages::PageEvent odd = Word(E, 2, 3, "news", 2);
        odd.srcId = QStringLiteral("abc3");
        QTest::addRow("anchor that is not a word") << odd;
        pages::PageEvent div = Label(E, "ste2");
        div.srcTag = QStringLiteral("DIV");
        QTest::addRow("element neither word nor label") << div;
        QTest::addRow("unknown sink") << Label(QStringLiteral("Nope"), "ste2");
        QTest::addRow("comment label of the english page") << Label(Cmt, "ste2");
    }
    void badInputDoesNothing()
    {
        QFETCH(mvx::pages::PageEvent, event);
        Rig r;
        r.handler.Handle(event);
        event.type = QStringLiteral("dblclick");
        r.handler.Handle(event);
        QCOMPARE(r.log.calls, QStringList{});
        QVERIFY(r.book.marks.isEmpty());
    }

    void eventsWhileBusyAreDropped()
    {
        Rig r;
        r.player.busy = true;
        r.handler.Handle(Label(E, "ste2"));
        r.handler.Handle(Word(E, 2, 3, "news", 1, true));
        QVERIFY(r.log.calls.isEmpty());
    }

    void wordSavedToNotebookAndMeaningStored()
    {
        Rig r;
        r.handler.Handle(Word(E, 2, 3, "news", 2));
        r.dict.hasSaved = true;
        r.dict.savedWord = QStringLiteral("news");
        r.dict.savedMeaning = QStringLiteral("n. 新闻");
        r.dict.savedThird = QStringLiteral("[nju:z]");
        r.log.calls.clear();
        QCOMPARE(r.handler.MakeNewwordNote(), 1);
        QCOMPARE(r.log.calls,
                 (QStringList{"Setn 102 3 len4 -> 1",
                              "StyleWord English ste2 3 {\"fontWeight\":\"bold\",\"textDecoration\":\"underline\"}",
                              "AddToNotebook news|n. 新闻|[nju:z]|#kbt|b.dat|102|example 102"}));
        // Saving it again keeps the mark (it sets, never toggles).
        r.log.calls.clear();
        r.handler.MakeNewwordNote();
        QCOMPARE(r.log.calls.first(), QStringLiteral("Setn 102 3 len4 -> 1"));
        r.log.calls.clear();
        QCOMPARE(r.handler.SaveWordMean(), int(PageEventHandler::MeanStored));
        QCOMPARE(r.log.calls, QStringList{"SetWordMean 102 news n. 新闻"});
    }

    void reportsWithoutALookUpOrWordWriteNothingToTheBook()
    {
        Rig r;
        r.dict.hasSaved = true;
        r.dict.savedWord = QStringLiteral("typed");
        QCOMPARE(r.handler.SaveWordMean(), int(PageEventHandler::MeanNoSentence));
        r.handler.MakeNewwordNote();
        QCOMPARE(r.log.calls, QStringList{"AddToNotebook typed||||"});
        r.log.calls.clear();
        r.dict.hasSaved = false;
        QCOMPARE(r.handler.MakeNewwordNote(), 0);
        QVERIFY(r.log.calls.isEmpty());
    }

    void aPossessiveIsSavedUnderThePagesWord()
    {
        Rig r;
        r.handler.Handle(Word(E, 2, 3, "minister's", 2)); // looked up by a right click
        r.dict.hasSaved = true;
        r.dict.savedWord = QStringLiteral("minister"); // the dictionary's cleaned form
        r.dict.savedMeaning = QStringLiteral("n. 部长");
        r.pages.englishFrame = QStringLiteral("EnglishChinese"); // the layout changed meanwhile
        r.log.calls.clear();
        r.handler.MakeNewwordNote();
        QCOMPARE(r.log.calls.mid(0, 2),
                 (QStringList{"Setn 102 3 len10 -> 1", "StyleWord EnglishChinese ste2 3 "
                                                       "{\"fontWeight\":\"bold\",\"textDecoration\":\"underline\"}"}));
        r.log.calls.clear();
        QCOMPARE(r.handler.SaveWordMean(), int(PageEventHandler::MeanStored));
        QCOMPARE(r.log.calls, QStringList{"SetWordMean 102 minister's n. 部长"});
        // The next look-up of the page's word finds it.
        r.log.calls.clear();
        r.handler.Handle(Word(E, 2, 3, "minister's", 2));
        QVERIFY2(r.log.calls.size() == 1 && r.log.calls[0].endsWith("[n. 部长]"), qPrintable(r.log.calls.join(';')));
    }

    void savingAMeaningSaysWhatHappened_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("meaning");
        QTest::addColumn<bool>("lookedUp");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("calls");
        QTest::addRow("stored") << "news" << "n. 新闻" << true << false << int(PageEventHandler::MeanStored)
                                << QStringList{"SetWordMean 102 news n. 新闻"};
        QTest::addRow("a typed word under itself") << "report" << "n. 报道" << true << false
                                                   << int(PageEventHandler::MeanStored)
                                                   << QStringList{"SetWordMean 102 report n. 报道"};
        QTest::addRow("empty meaning removes") << "news" << "  " << true << false << int(PageEventHandler::MeanRemoved)
                                               << QStringList{"SetWordMean 102 news "};
        QTest::addRow("read-only book") << "news" << "n. 新闻" << true << true << int(PageEventHandler::MeanRefused)
                                        << QStringList{};
        QTest::addRow("nothing looked up") << "news" << "n. 新闻" << false << false
                                           << int(PageEventHandler::MeanNoSentence) << QStringList{};
    }
    void savingAMeaningSaysWhatHappened()
    {
        QFETCH(QString, word);
        QFETCH(QString, meaning);
        QFETCH(bool, lookedUp);
        QFETCH(bool, refused);
        QFETCH(int, result);
        QFETCH(QStringList, calls);
        Rig r;
        if (lookedUp)
            r.handler.Handle(Word(E, 2, 3, "news", 2));
        r.dict.hasSaved = true;
        r.dict.savedWord = word;
        r.dict.savedMeaning = meaning;
        r.book.refuse = refused;
        r.log.calls.clear();
        QCOMPARE(r.handler.SaveWordMean(), result);
        QCOMPARE(r.log.calls, calls);
    }

    void markingSentences()
    {
        Rig r;
        r.player.cur = 2;
        r.marks.btMarkSentence_Click();
        r.marks.btMarkSentence_Click();
        QCOMPARE(r.log.calls, (QStringList{"SetDegree 102 1", "Mark 0 2 1", "Mark 1 2 1", "SetDegree 102 0",
                                           "Mark 0 2 0", "Mark 1 2 0"}));
        // Mixed layout: the English label only; marked while MarkedShown is off too.
        r.log.calls.clear();
        r.pages.show.mixedLayout = true;
        r.pages.marked = false;
        r.marks.btMarkSentence_Click();
        QCOMPARE(r.log.calls, (QStringList{"SetDegree 102 1", "Mark 0 2 1"}));
        // The title, no current sentence, a refused write: nothing.
        r.log.calls.clear();
        r.player.cur = 0;
        r.marks.btMarkSentence_Click();
        r.player.cur = -1;
        r.marks.btMarkSentence_Click();
        r.player.cur = 3;
        r.book.refuse = true;
        r.marks.btMarkSentence_Click();
        QVERIFY(r.log.calls.isEmpty());
        QCOMPARE(r.pages.degrees.value(3), 0);
    }

    void altHAndAltE()
    {
        Rig r;
        r.marks.ToggleMarkedSentences();
        r.marks.ToggleMarkedSentences();
        QVERIFY(r.marks.ToggleChineseHighlight());
        QVERIFY(r.marks.ToggleChineseHighlight());
        QCOMPARE(r.log.calls, (QStringList{"AllMarked 0", "AllMarked 1", "Cur 1 1 0", "Cur 1 1 1"}));
        r.log.calls.clear();
        r.pages.show.mixedLayout = true;
        QVERIFY(!r.marks.ToggleChineseHighlight()); // mixed with English shown
        r.pages.show.englishShown = false;
        QVERIFY(r.marks.ToggleChineseHighlight());
        r.pages.show.chineseShown = false;
        QVERIFY(!r.marks.ToggleChineseHighlight());
        QCOMPARE(r.log.calls, QStringList{"Cur 1 1 0"});
    }

    void showAndLayoutSwitchesReload()
    {
        Rig r;
        QVERIFY(r.marks.SetTextShown(SentenceText::Comment, false));
        QVERIFY(r.marks.SetMixedLayout(true));
        QVERIFY(!r.marks.SetMixedLayout(true));
        QCOMPARE(r.log.calls, (QStringList{"btStop", "btStop", "SetShowState E1 C1 Z0 M0", "Reload 1", "btStop",
                                           "btStop", "SetShowState E1 C1 Z0 M1", "Reload 1"}));
        r.log.calls.clear();
        r.pages.show.maskActive = true;
        QVERIFY(!r.marks.SetTextShown(SentenceText::English, false));
        QVERIFY(!r.marks.SetMixedLayout(false));
        QCOMPARE(r.log.calls, (QStringList{"Message 正在全文背诵的时候，不能改变显示的布局",
                                           "Message 正在全文背诵的时候，不能改变显示的布局"}));
    }
};

QTEST_GUILESS_MAIN(TestEventsLogic)
#include "test_events_logic.moc"
