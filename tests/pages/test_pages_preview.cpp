// The display settings' trial look on the real engine: the pages restyled by their own
// styling code with the candidate settings, taken back exactly (every frame's markup and
// scroll) on cancel, and matching what a reload with the settings draws on OK. Also the
// night look and the missing texture picture.
#include "PagesFixture.h"
#include "core/AppState.h"
#include "core/PageLook.h"
#include "player/pages/HtmlView.h"
#include "player/pages/LessonPages.h"

#include <QApplication>
#include <QImage>
#include <QTest>

using namespace mvx;
using namespace mvx::pages;

class TestPagesPreview : public QObject
{
    Q_OBJECT

private:
    HtmlView *m_view = nullptr;
    LessonPages *m_pages = nullptr;
    QString m_home;
    QString m_book;

    QVariant js(const QString &script) { return m_view->runAndWait(script, 10000); }
    QString computed(const QString &frame, const QString &id, const QString &prop)
    {
        return js(QStringLiteral("__mvxAgent.computed('%1','%2','%3')").arg(frame, id, prop)).toString();
    }
    QString bodyStyle(const QString &frame, const QString &prop)
    {
        return js(QStringLiteral("(function(){var d=__mvxAgent.doc('%1');return d.defaultView.getComputedStyle(d.body)['%2'];})()")
                      .arg(frame, prop))
            .toString();
    }
    // Every bound frame's whole markup and every scroll offset in it.
    QStringList snapshot()
    {
        QStringList out;
        for (const QString &frame : frames()) {
            out << frame
                       + js(QStringLiteral("(function(){var d=__mvxAgent.doc('%1');var s=[];"
                                           "var a=d.getElementsByTagName('*');for(var i=0;i<a.length;++i)"
                                           "if(a[i].scrollTop||a[i].scrollLeft)s.push(i+':'+a[i].scrollTop);"
                                           "return d.documentElement.outerHTML+'|'+s.join(',');})()")
                                .arg(frame))
                             .toString();
        }
        return out;
    }
    QStringList frames() const
    {
        QStringList f;
        for (SentenceText t : {SentenceText::English, SentenceText::Chinese, SentenceText::Comment})
            if (!m_pages->FrameOf(t).isEmpty() && !f.contains(m_pages->FrameOf(t)))
                f << m_pages->FrameOf(t);
        return f;
    }
    bool load(bool mixed)
    {
        PageShowState s;
        s.englishShown = true;
        s.chineseShown = true;
        s.commentShown = !mixed;
        s.mixedLayout = mixed;
        m_pages->SetShowState(s);
        LessonPagesResult r;
        if (m_pages->LoadLessonPages(m_book, 1, true, r) != 1)
            return false;
        m_pages->ApplyDisplayOptions();
        // A current sentence, scrolled into the middle of the lesson.
        for (SentenceText t : {SentenceText::English, SentenceText::Chinese, SentenceText::Comment})
            m_pages->ShowCurSentence(t, 41, true);
        m_pages->ScrollSentence(SentenceText::English, 41, true);
        m_pages->ScrollSentence(SentenceText::Chinese, 41, true);
        js("0"); // the styling above has run
        return true;
    }
    static DisplaySettings Candidate()
    {
        DisplaySettings d;
        d.backgroundColor = 0xE0F0FF; // a pale tint, red in the low byte
        d.englishColor = 0x004000;
        d.chineseColor = 0x400000;
        d.commentColor = 0x000040;
        d.keywordColor = 0x0080FF;
        d.curSentenceColor = 0x008000;
        d.englishFontSize = 15;
        d.chineseFontSize = 14;
        d.textureIdx = 3;
        return d;
    }
    static QString Rgb(const QString &hex)
    {
        const QColor c(hex);
        return QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
    }

private slots:
    void initTestCase()
    {
        m_home = pagesfixture::MakeHome(qEnvironmentVariable("MVX_TEST_TMP", QDir::tempPath()) + "/preview");
        m_book = m_home + QStringLiteral("/book.dat");
        QVERIFY(pagesfixture::MakeBook(m_book, {pagesfixture::MakeLesson("Short", 6), pagesfixture::MakeLesson("Long", 60)}));
        QImage tile(16, 16, QImage::Format_ARGB32);
        tile.fill(QColor(128, 128, 128, 20));
        QVERIFY(tile.save(m_home + "/alltmpfile/3.png"));
        App().display = DisplaySettings();
        App().display.textureIdx = 1; // the default: no picture ships for it
        NightLookOn() = false;
        m_view = new HtmlView;
        m_view->setAllowedFolders({m_home});
        m_view->resize(900, 500);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view));
        m_pages = new LessonPages(*m_view, m_home);
    }

    void cleanupTestCase()
    {
        delete m_pages;
        delete m_view;
    }

    // No picture for texture 1: the page gets no background image at all.
    void missingTextureMeansNoPicture()
    {
        QVERIFY(load(false));
        QCOMPARE(bodyStyle("English", "backgroundImage"), QStringLiteral("none"));
    }

    void cancelPutsEveryFrameBack_data()
    {
        QTest::addColumn<bool>("mixed");
        QTest::addColumn<bool>("night");
        QTest::addRow("side by side") << false << false;
        QTest::addRow("mixed") << true << false;
        QTest::addRow("side by side, night") << false << true;
    }
    void cancelPutsEveryFrameBack()
    {
        QFETCH(bool, mixed);
        QFETCH(bool, night);
        QVERIFY(load(mixed));
        const QStringList before = snapshot();
        const DisplaySettings kept = App().display;
        const QString eFrame = m_pages->FrameOf(SentenceText::English);
        m_pages->Show(DisplaySettings(), false);
        m_pages->Show(Candidate(), night); // two changes in one turn: one batch, the last wins
        QTest::qWait(50);
        const PageLook look(Candidate(), night);
        QCOMPARE(computed(eFrame, "ste5", "color"), Rgb(look.English()));
        QCOMPARE(computed(eFrame, "ste41", "color"), Rgb(look.CurSentence()));
        QCOMPARE(bodyStyle(eFrame, "backgroundColor"), Rgb(look.Background()));
        QVERIFY(bodyStyle(eFrame, "backgroundImage").contains("3.png"));
        QCOMPARE(computed(eFrame, "ste5", "fontSize"), QStringLiteral("20px")); // 15 pt
        QVERIFY(m_pages->Previewing());
        QVERIFY(snapshot() != before);
        // The settings in force are untouched.
        QCOMPARE(App().display.englishColor, kept.englishColor);
        QCOMPARE(NightLookOn(), false);
        m_pages->End(false);
        js("0");
        QCOMPARE(snapshot(), before);
        QVERIFY(!m_pages->Previewing());
    }

    // What the trial look shows is what the pages show after OK and the reload.
    void previewMatchesTheReload_data()
    {
        QTest::addColumn<bool>("night");
        QTest::addRow("day") << false;
        QTest::addRow("night") << true;
    }
    void previewMatchesTheReload()
    {
        QFETCH(bool, night);
        QVERIFY(load(false));
        m_pages->Show(Candidate(), night);
        QTest::qWait(50);
        const QStringList probes = {"ste5", "ste41", "ste2"};
        const QStringList props = {"color", "fontSize", "fontFamily", "textDecorationLine"};
        auto read = [&] {
            QStringList out;
            for (const QString &id : probes)
                for (const QString &p : props)
                    out << id + "." + p + "=" + computed("English", id, p);
            for (const QString &id : {QStringLiteral("stc5"), QStringLiteral("stc41")})
                out << id + ".color=" + computed("Chinese", id, "color") + " " + computed("Chinese", id, "fontSize");
            out << "stz5.color=" + computed("Comment", "stz5", "color");
            for (const QString &f : {QStringLiteral("English"), QStringLiteral("Chinese"), QStringLiteral("Comment")})
                out << f + ".bg=" + bodyStyle(f, "backgroundColor") + " " + bodyStyle(f, "backgroundImage").section('/', -1);
            return out;
        };
        const QStringList previewed = read();
        const PageLook look(Candidate(), night);
        QVERIFY(previewed.contains("ste5.color=" + Rgb(look.English())));
        QVERIFY(previewed.contains("ste41.color=" + Rgb(look.CurSentence())));
        QVERIFY(previewed.contains("stz5.color=" + Rgb(look.Comment())));
        for (const QString &entry : previewed)
            QVERIFY2(!entry.endsWith('=') && !entry.contains("= "), qPrintable(entry));
        m_pages->End(true);
        const DisplaySettings kept = App().display;
        App().display = Candidate();
        NightLookOn() = night;
        QVERIFY(load(false));
        const QStringList reloaded = read();
        App().display = kept;
        NightLookOn() = false;
        QCOMPARE(previewed, reloaded);
    }
};

QTEST_MAIN(TestPagesPreview)
#include "test_pages_preview.moc"
