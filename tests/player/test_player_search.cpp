// Search and printing in the player with the real pages and a real book: SearchWord through
// the real view (wrap, whole word, case, Chinese, phrases across anchors, literal text,
// messages), the search dialog, and printing each layout to PDF read back with pdftotext.
#include "../support/BuiltHome.h"
#include "../sentra/SentraFixtures.h"

#include "core/AppState.h"
#include "core/UserSettings.h"
#include "player/events/PlayerTextSide.h"
#include "player/events/SearchForm.h"
#include "player/events/PrintModeForm.h"
#include "player/form/PlayLessonForm.h"
#include "player/pages/HtmlView.h"
#include "player/pages/LessonPages.h"
#include "player/pages/PagePrinting.h"
#include "player/playback/PageSide.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QDirIterator>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace mvx;

namespace {

sentra::LessonData searchLesson()
{
    using fixtures::sentence;
    sentra::LessonData l;
    l.title = QStringLiteral("Port News");
    l.sound = fixtures::toneFile(22050, 1, 5.0);
    auto t = sentence(0, 1000, QStringLiteral("Port News"), QStringLiteral("港口新闻"));
    t.isTitle = true;
    l.sentences.append(t);
    auto s1 = sentence(1000, 2000, QStringLiteral("The Prime Minister read the report."), QStringLiteral("总理读了报告。"));
    s1.keywords = {2}; // "Prime"
    l.sentences.append(s1);
    l.sentences.append(sentence(2000, 3000, QStringLiteral("Ships left the port at noon."),
                                QStringLiteral("船在中午离开了港口。")));
    l.sentences.append(sentence(3000, 4000, QStringLiteral("He said \"no\" to C:\\path </script> plans."),
                                QStringLiteral("他说“不”。")));
    return l;
}

struct Layout
{
    bool english, chinese, mixed;
};

} // namespace

class TestPlayerSearch : public QObject
{
    Q_OBJECT

    QString m_book;
    QStringList m_messages;
    std::unique_ptr<PlayLessonForm> m_shared; // one window for the table of searches

    static bool WaitFor(const std::function<bool()> &pred, int ms = 10000) { return QTest::qWaitFor(pred, ms); }

    static pages::HtmlView &View(PlayLessonForm &form) { return *static_cast<pages::HtmlView *>(form.ScriptView()); }

    std::unique_ptr<PlayLessonForm> Open(Layout layout)
    {
        SaveUserBool(QString::fromLatin1(Key::ShouldShowEnglish), layout.english);
        SaveUserBool(QString::fromLatin1(Key::ShouldShowChinese), layout.chinese);
        SaveUserBool(QString::fromLatin1(Key::EnglishChineseMix), layout.mixed);
        auto form = std::make_unique<PlayLessonForm>();
        form->OpenLesson(m_book, 0, true);
        form->resize(1000, 700);
        form->show();
        return form;
    }

    // Where the current selection of the frame starts ("ste1") and its text, blanks folded.
    static QString Selection(PlayLessonForm &form, const QString &frame)
    {
        return View(form)
            .runAndWait(QStringLiteral("(function(){var s=__mvxAgent.win('%1').getSelection();"
                                       "if(!s.rangeCount)return '';var n=s.anchorNode;"
                                       "var e=n.nodeType===1?n:n.parentElement;var l=e.closest('label');"
                                       "return (l?l.id:'?')+':'+String(s).replace(/\\s+/g,' ');})()")
                            .arg(frame),
                        5000)
            .toString();
    }

    // Runs action; when a modal dialog comes up, hands it to onDialog.
    void WithDialog(const std::function<void()> &action, const std::function<void(QWidget *)> &onDialog)
    {
        bool seen = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (QWidget *w = QApplication::activeModalWidget(); w && !seen) {
                seen = true;
                onDialog(w);
            }
        });
        poll.start(50);
        action();
        QVERIFY(seen);
    }

    // The first page of the PDF as pixels (pdftoppm at 100 dpi).
    static QImage PdfPage(const QString &pdf, const QString &stem)
    {
        QProcess p;
        p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-f"),
                                             QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), pdf, stem});
        if (!p.waitForFinished(30000) || p.exitCode() != 0)
            return {};
        return QImage(stem + QStringLiteral("-1.ppm"));
    }

    // Pixels of the page within reach of the colour, and the longest horizontal run of them
    // (an underline is a long run; letters make short ones).
    static QPair<int, int> ColourPixels(const QImage &page, const QColor &colour)
    {
        int count = 0;
        int longest = 0;
        for (int y = 0; y < page.height(); ++y) {
            int run = 0;
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                const bool near = std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green())
                                      + std::abs(c.blue() - colour.blue())
                                  < 90;
                count += near ? 1 : 0;
                run = near ? run + 1 : 0;
                longest = std::max(longest, run);
            }
        }
        return {count, longest};
    }

    static QString PdfText(const QString &pdf)
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        if (!p.waitForFinished(30000))
            return {};
        return QString::fromUtf8(p.readAllStandardOutput());
    }

private slots:
    void initTestCase()
    {
        testhome::UseBuiltHome();
        m_book = fixtures::makeBook(QStringLiteral("search.dat"), {searchLesson()});
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return -1;
        });
    }

    void init() { m_messages.clear(); }

    void searchesWalkThePage_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<QStringList>("found"); // the selection after each search
        QTest::addRow("found once, found again by wrapping") << "English" << "noon" << false
                                                              << QStringList{"ste2:noon", "ste2:noon"};
        QTest::addRow("inside a longer word") << "English" << "port" << false
                                              << QStringList{"ste0:Port", "ste1:port", "ste2:port", "ste0:Port"};
        QTest::addRow("whole word skips it") << "English" << "port" << true
                                             << QStringList{"ste0:Port", "ste2:port", "ste0:Port"};
        QTest::addRow("phrase across anchors, case") << "English" << "PRIME minister" << false
                                                     << QStringList{"ste1:Prime Minister"};
        QTest::addRow("between sentences one blank") << "English" << "report.   Ships" << false
                                                     << QStringList{"ste1:report. Ships"};
        QTest::addRow("quotes, backslash, script end") << "English" << "\"no\" to C:\\path </script>" << false
                                                       << QStringList{"ste3:\"no\" to C:\\path </script>"};
        QTest::addRow("Chinese") << "Chinese" << "港口" << false << QStringList{"stc0:港口", "stc2:港口"};
        QTest::addRow("Chinese, whole word") << "Chinese" << "报告" << true << QStringList{"stc1:报告"};
    }

    void searchesWalkThePage()
    {
        QFETCH(QString, mode);
        QFETCH(QString, text);
        QFETCH(bool, whole);
        QFETCH(QStringList, found);
        auto &form = m_shared;
        if (!form)
            form = Open({true, true, false});
        QVERIFY(WaitFor([&] { return form->Controller().PlayStatus() == Stopped; }));
        static_cast<pages::LessonPages &>(form->Pages()).DropSearchRanges(); // a new dialog
        const QString frame = mode == QLatin1String("English") ? QStringLiteral("English") : QStringLiteral("Chinese");
        QStringList seen;
        for (int i = 0; i < found.size(); ++i) {
            QVERIFY(form->SearchWord(mode, text, whole));
            seen << Selection(*form, frame);
        }
        QCOMPARE(seen, found);
        QCOMPARE(m_messages, QStringList{});
        // The found text was let through; a selection by the learner is still cancelled.
        const QVariant cancelled = View(*form).runAndWait(
            QStringLiteral("(function(){var d=__mvxAgent.doc('%1');var e=new Event('selectstart',"
                           "{cancelable:true,bubbles:true});d.body.firstElementChild.dispatchEvent(e);"
                           "return [e.defaultPrevented, __mvxAgent.top().state.selectingByProgram];})()")
                .arg(frame),
            5000);
        QCOMPARE(cancelled.toList(), (QVariantList{true, false}));
    }

    void messagesForMissesAndHiddenPages()
    {
        m_shared.reset();
        auto form = Open({true, false, false});
        QVERIFY(!form->SearchWord(QStringLiteral("English"), QStringLiteral("elephant"), false));
        QVERIFY(!form->SearchWord(QStringLiteral("Chinese"), QStringLiteral("报告"), false));
        QCOMPARE(m_messages, (QStringList{"您要查的文字文章里没有。", "必须在译文显示的状态下才能进行译文的查找"}));
        // Side by side the dialog offers both pages; the Chinese one answers that it is hidden.
        m_messages.clear();
        WithDialog([&] { form->btSearch_click(); },
                   [&](QWidget *w) {
                       auto *dialog = qobject_cast<SearchForm *>(w);
                       QVERIFY(dialog);
                       for (QWidget *option : dialog->findChildren<QWidget *>(QStringLiteral("ImgOpMode")))
                           QVERIFY(!option->isHidden());
                       dialog->TextBox()->setText(QStringLiteral("noon"));
                       dialog->SetWholeWord(true);
                       if (const QString dir = qEnvironmentVariable("MVX_DOC_SHOTS"); !dir.isEmpty())
                           dialog->grab().save(dir + QStringLiteral("/search-dialog.png"));
                       dialog->btSearch_click();
                       QVERIFY(dialog->LastFound());
                       dialog->SelectMode(QStringLiteral("Chinese"));
                       dialog->btSearch_click();
                       QVERIFY(!dialog->LastFound());
                       dialog->btCancel_click();
                   });
        QCOMPARE(m_messages, QStringList{"必须在译文显示的状态下才能进行译文的查找"});
    }

    void reloadStartsTheSearchAgain()
    {
        auto form = Open({true, true, false});
        QVERIFY(form->SearchWord(QStringLiteral("English"), QStringLiteral("port"), false));
        QVERIFY(form->SearchWord(QStringLiteral("English"), QStringLiteral("port"), false));
        QCOMPARE(Selection(*form, QStringLiteral("English")), QStringLiteral("ste1:port"));
        form->ReloadLesson(true);
        QVERIFY(form->SearchWord(QStringLiteral("English"), QStringLiteral("port"), false));
        QCOMPARE(Selection(*form, QStringLiteral("English")), QStringLiteral("ste0:Port"));
    }

    void dialogInTheMixedLayout()
    {
        auto form = Open({false, true, true});
        WithDialog([&] { form->btSearch_click(); },
                   [&](QWidget *w) {
                       auto *dialog = qobject_cast<SearchForm *>(w);
                       QVERIFY(dialog);
                       for (QWidget *option : dialog->findChildren<QWidget *>(QStringLiteral("ImgOpMode")))
                           QVERIFY(option->isHidden());
                       QCOMPARE(dialog->SelectedMode(), QStringLiteral("English"));
                       dialog->TextBox()->setText(QStringLiteral("   "));
                       dialog->btSearch_click();
                       dialog->TextBox()->setText(QStringLiteral("港口"));
                       QTest::keyClick(dialog->TextBox(), Qt::Key_Return);
                       QVERIFY(!dialog->LastFound());
                       QTest::keyClick(dialog, Qt::Key_Escape);
                   });
        QCOMPARE(m_messages, (QStringList{"您还没有输入要查的文字", "必须在原文显示的状态下才能进行原文的查找"}));
    }

    // English shown in the mixed layout: its search walks the whole mixed page, Chinese too.
    void mixedPageIsSearchedWhole()
    {
        auto form = Open({true, true, true});
        QVERIFY(form->SearchWord(QStringLiteral("English"), QStringLiteral("港口"), true));
        QCOMPARE(Selection(*form, QStringLiteral("EnglishChinese")), QStringLiteral("stc0:港口"));
        QVERIFY(form->SearchWord(QStringLiteral("English"), QStringLiteral("港口"), true));
        QCOMPARE(Selection(*form, QStringLiteral("EnglishChinese")), QStringLiteral("stc2:港口"));
        QVERIFY(form->SearchWord(QStringLiteral("English"), QStringLiteral("minister"), false));
        QCOMPARE(Selection(*form, QStringLiteral("EnglishChinese")), QStringLiteral("ste1:Minister"));
        QCOMPARE(m_messages, QStringList{});
    }

    void printsWhatIsShown_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<bool>("mixed");
        QTest::addColumn<QString>("choice"); // in the print dialog, when it comes
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::addRow("both, Chinese chosen") << true << true << false << "rbChinese" << QStringList{"总理读了报告"}
                                              << QStringList{"Prime"};
        QTest::addRow("both, English chosen") << true << true << false << "rbEnglish" << QStringList{"Prime Minister"}
                                              << QStringList{"总理读了报告"};
        QTest::addRow("English only") << true << false << false << "" << QStringList{"Prime Minister"}
                                      << QStringList{"总理读了报告"};
        QTest::addRow("Chinese only") << false << true << false << "" << QStringList{"总理读了报告"}
                                      << QStringList{"Prime"};
        QTest::addRow("mixed") << true << true << true << "" << QStringList{"Prime Minister", "总理读了报告"}
                               << QStringList{};
    }

    void printsWhatIsShown()
    {
        QFETCH(bool, english);
        QFETCH(bool, chinese);
        QFETCH(bool, mixed);
        QFETCH(QString, choice);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("page.pdf"));
        auto form = Open({english, chinese, mixed});
        form->TextSide()->Tools().SetPrintOutput(std::make_unique<pages::PdfOutput>(pdf));
        if (choice.isEmpty()) {
            form->TextSide()->RunFeature(QStringLiteral("btPrint"));
        } else {
            WithDialog([&] { form->TextSide()->RunFeature(QStringLiteral("btPrint")); },
                       [&](QWidget *w) {
                           auto *dialog = qobject_cast<PrintModeForm *>(w);
                           QVERIFY(dialog);
                           dialog->SelectMode(choice);
                           if (const QString dir = qEnvironmentVariable("MVX_DOC_SHOTS"); !dir.isEmpty())
                               dialog->grab().save(dir + QStringLiteral("/print-dialog.png"));
                           QTimer::singleShot(0, dialog, [dialog] { dialog->btOk_click(); });
                       });
        }
        QCOMPARE(m_messages, QStringList{});
        const QString text = PdfText(pdf);
        for (const QString &s : present)
            QVERIFY2(text.contains(s), qPrintable(text));
        for (const QString &s : absent)
            QVERIFY2(!text.contains(s), qPrintable(text));
    }

    // The page prints as it is shown: a key word in its colour (pdftoppm's pixels).
    void keyWordsPrintInTheirColour()
    {
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("page.pdf"));
        auto form = Open({true, false, false});
        auto &pages = static_cast<pages::LessonPages &>(form->Pages());
        pages.ShowAllKeyWords(true);
        const QColor keyword(pages::LessonPages::PageColour(App().display.keywordColor));
        form->TextSide()->Tools().SetPrintOutput(std::make_unique<pages::PdfOutput>(pdf));
        form->TextSide()->RunFeature(QStringLiteral("btPrint"));
        QCOMPARE(m_messages, QStringList{});
        QProcess p;
        p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-f"),
                                             QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), pdf,
                                             out.filePath(QStringLiteral("page"))});
        QVERIFY(p.waitForFinished(30000) && p.exitCode() == 0);
        const QImage page(out.filePath(QStringLiteral("page-1.ppm")));
        QVERIFY(!page.isNull());
        int near = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                if (std::abs(c.red() - keyword.red()) + std::abs(c.green() - keyword.green())
                        + std::abs(c.blue() - keyword.blue()) < 60)
                    ++near;
            }
        QVERIFY2(near > 20, qPrintable(QStringLiteral("%1 pixels of %2").arg(near).arg(keyword.name())));
    }

    // The current sentence prints in its highlight colour, and once marked with its underline
    // (a long run of that colour the unmarked print of the same page lacks).
    void markedSentencePrintsAsShown()
    {
        QTemporaryDir out;
        auto form = Open({true, false, false});
        PlaybackController &c = form->Controller();
        c.SetCurSentence(2);
        const QColor current(pages::LessonPages::PageColour(App().display.curSentenceColor));
        const auto print = [&](const QString &name) {
            const QString pdf = out.filePath(name + QStringLiteral(".pdf"));
            form->TextSide()->Tools().SetPrintOutput(std::make_unique<pages::PdfOutput>(pdf));
            form->TextSide()->RunFeature(QStringLiteral("btPrint"));
            return ColourPixels(PdfPage(pdf, out.filePath(name)), current);
        };
        const auto underlined = [&] {
            return View(*form)
                .runAndWait(QStringLiteral("__mvxAgent.el('%1','ste2').style.textDecoration")
                                .arg(static_cast<pages::LessonPages &>(form->Pages()).FrameOf(SentenceText::English)),
                            5000)
                .toString();
        };
        QVERIFY(WaitFor([&] { return underlined() != QLatin1String("underline"); }));
        const QPair<int, int> plain = print(QStringLiteral("plain"));
        form->btMarkSentence_click();
        QVERIFY(WaitFor([&] { return underlined() == QLatin1String("underline"); }));
        const QPair<int, int> marked = print(QStringLiteral("marked"));
        form->btMarkSentence_click(); // the book as it was
        QCOMPARE(m_messages, QStringList{});
        const QString figures = QStringLiteral("plain %1 pixels, run %2; marked %3 pixels, run %4 of %5")
                                    .arg(plain.first)
                                    .arg(plain.second)
                                    .arg(marked.first)
                                    .arg(marked.second)
                                    .arg(current.name());
        QVERIFY2(plain.first > 20, qPrintable(figures));           // the highlighted sentence's letters
        QVERIFY2(plain.second < 40, qPrintable(figures));          // letters only
        QVERIFY2(marked.second >= 60, qPrintable(figures));        // the underline under the sentence
        QVERIFY2(marked.first > plain.first + 100, qPrintable(figures));
    }

    void printingFailuresAreSaid()
    {
        auto form = Open({false, false, false});
        form->TextSide()->RunFeature(QStringLiteral("btPrint"));
        form = Open({true, false, false});
        form->TextSide()->Tools().SetPrintOutput(
            std::make_unique<pages::PdfOutput>(QStringLiteral("/nonexistent-folder/page.pdf")));
        form->TextSide()->RunFeature(QStringLiteral("btPrint"));
        QCOMPARE(m_messages.size(), 2);
        QCOMPARE(m_messages[0], QStringLiteral("原文译文都不显示的时候不能进行打印"));
        QVERIFY2(m_messages[1].startsWith(QStringLiteral("打印失败：")) && m_messages[1].contains("page.pdf"),
                 qPrintable(m_messages[1]));
    }

    // End to end on a bundled lesson: two searches walk on, the English page prints to PDF.
    void bundledLessonSearchedAndPrinted()
    {
        QDirIterator it(QStringLiteral(MVX_HOME "/brxspecial"), {QStringLiteral("*.dat")}, QDir::Files);
        QVERIFY2(it.hasNext(), "the bundled lessons are built into the home");
        const QString bundled = it.next();
        sentra::SentraBook book;
        QVERIFY(book.open(bundled, false));
        const auto lesson = book.readLesson(0, false);
        QVERIFY(lesson && lesson->sentences.size() > 1);
        book.close();
        SaveUserBool(QString::fromLatin1(Key::ShouldShowEnglish), true);
        SaveUserBool(QString::fromLatin1(Key::ShouldShowChinese), false);
        SaveUserBool(QString::fromLatin1(Key::EnglishChineseMix), false);
        PlayLessonForm form;
        form.OpenLesson(bundled, 0, true);
        form.show();
        QCOMPARE(form.Controller().PlayStatus(), int(Stopped));
        const auto position = [&form] {
            return View(form).runAndWait(QStringLiteral("__mvxAgent.ranges.English.pos"), 5000).toInt();
        };
        QVERIFY(form.SearchWord(QStringLiteral("English"), QStringLiteral("the"), true));
        QVERIFY(Selection(form, QStringLiteral("English")).endsWith(QStringLiteral(":the"), Qt::CaseInsensitive));
        const int first = position();
        QVERIFY(form.SearchWord(QStringLiteral("English"), QStringLiteral("the"), true));
        QVERIFY(Selection(form, QStringLiteral("English")).endsWith(QStringLiteral(":the"), Qt::CaseInsensitive));
        QVERIFY2(position() > first, "the second search found a later occurrence");
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("lesson.pdf"));
        form.TextSide()->Tools().SetPrintOutput(std::make_unique<pages::PdfOutput>(pdf));
        form.TextSide()->RunFeature(QStringLiteral("btPrint"));
        QCOMPARE(m_messages, QStringList{});
        const QString text = PdfText(pdf).simplified();
        const QString words = lesson->sentences[1].english.section(u' ', 0, 2);
        QVERIFY2(text.contains(words), qPrintable(words + u'|' + text.left(300)));
    }

    void cleanupTestCase()
    {
        m_shared.reset();
        SaveUserBool(QString::fromLatin1(Key::ShouldShowEnglish), true);
        SaveUserBool(QString::fromLatin1(Key::ShouldShowChinese), true);
        SaveUserBool(QString::fromLatin1(Key::EnglishChineseMix), false);
    }
};

QTEST_MAIN(TestPlayerSearch)
#include "test_player_search.moc"
