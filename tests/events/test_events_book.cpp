// The page events over a real sentence book and a real notebook: Ctrl+left / Ctrl+right marks,
// sentence marks and stored meanings written at once and still there after the book is closed
// and reopened; a looked-up word saved to the notebook with its meaning and sentence.
#include "EventsFakes.h"
#include "../pages/PagesFixture.h"

#include "libs/notedict/NoteDictLib.h"
#include "libs/notedict/NotebookStore.h"
#include "libs/sentra/SentraFacade.h"
#include "player/events/DisplayMarks.h"
#include "player/events/NoteDictDictionary.h"
#include "player/events/PageEventHandler.h"
#include "player/events/SentraBookMarks.h"

#include <QtTest>

using namespace mvx;
using namespace eventsfakes;

class TestEventsBook : public QObject
{
    Q_OBJECT

    QString m_dir;
    QString m_book;
    int m_handle = -1;

    std::optional<sentra::SentenceData> Stored(int noInAll)
    {
        sentra::SentraBook book;
        if (!book.open(m_book, false)) {
            return std::nullopt;
        }
        return book.sentence(noInAll);
    }

private slots:
    void init()
    {
        m_dir = qEnvironmentVariable("MVX_TEST_TMP", QDir::tempPath()) + QStringLiteral("/events book");
        QDir(m_dir).removeRecursively();
        QVERIFY(QDir().mkpath(m_dir));
        QVERIFY(QDir::setCurrent(m_dir));
        m_book = m_dir + QStringLiteral("/文化习俗.dat");
        QVERIFY(pagesfixture::MakeBook(m_book, {pagesfixture::MakeLesson("First lesson", 6)}));
        m_handle = bcSentraBook_Open(m_book, QStringLiteral("r+b"));
        QVERIFY(m_handle > 0);
    }
    void cleanup()
    {
        bcSentraBook_Close(m_handle);
    }

    void marksSurviveReopening()
    {
        Log log;
        FakePlayer player(log);
        player.first = 0;
        FakePages pages(log);
        FakeDict dict(log);
        FakeSound sound(log);
        FakeReloader reloader(log);
        SentraBookMarks book([this] { return m_handle; }, [this] { return m_book; });
        PageEventHandler handler(player, pages, book, dict, sound);
        DisplayMarks marks(player, pages, book, reloader);

        // "Sentence 1 tells the news of the day & more.": word 2 ("1") is a key word.
        handler.Handle(Word("EHtmlEventHandler", 1, 2, "1", 1, true));      // unmark key word
        handler.Handle(Word("EHtmlEventHandler", 1, 5, "news", 1, true));   // new key word
        handler.Handle(Word("EHtmlEventHandler", 4, 6, "of", 2, true));     // new word
        handler.Handle(Word("EHtmlEventHandler", 1, 5, "wrong", 1, true));  // text does not fit: refused
        player.cur = 4;
        marks.btMarkSentence_Click();
        QCOMPARE(log.calls.filter("StyleWord").size(), 3);

        bcSentraBook_Close(m_handle);
        m_handle = -1;
        const auto s1 = Stored(1);
        const auto s4 = Stored(4);
        QVERIFY(s1 && s4);
        QCOMPARE(s1->keywords, QList<int>{5});
        QCOMPARE(s4->newwords, QList<int>{6});
        QCOMPARE(s4->degree, 1);

        // Reopened, the same clicks find the marks and toggle them back.
        m_handle = bcSentraBook_Open(m_book, QStringLiteral("r+b"));
        QVERIFY(m_handle > 0);
        pages.degrees[4] = 1;
        marks.btMarkSentence_Click();
        handler.Handle(Word("EHtmlEventHandler", 4, 6, "of", 2, true));
        QCOMPARE(log.calls.last(),
                 QStringLiteral("StyleWord English ste4 6 {\"fontWeight\":\"normal\",\"textDecoration\":\"\"}"));
        bcSentraBook_Close(m_handle);
        m_handle = -1;
        QVERIFY(Stored(4)->newwords.isEmpty());
        QCOMPARE(Stored(4)->degree, 0);
    }

    void readOnlyBookWritesNothing()
    {
        bcSentraBook_Close(m_handle);
        m_handle = bcSentraBook_Open(m_book, QStringLiteral("rb"));
        QVERIFY(m_handle > 0);
        Log log;
        FakePlayer player(log);
        player.first = 0;
        player.cur = 2;
        FakePages pages(log);
        FakeDict dict(log);
        FakeSound sound(log);
        FakeReloader reloader(log);
        SentraBookMarks book([this] { return m_handle; }, [this] { return m_book; });
        PageEventHandler handler(player, pages, book, dict, sound);
        DisplayMarks marks(player, pages, book, reloader);
        handler.Handle(Word("EHtmlEventHandler", 1, 5, "news", 1, true));
        marks.btMarkSentence_Click();
        QVERIFY(log.calls.isEmpty());
    }

    void lookedUpWordGoesToTheNotebookAndItsMeaningToTheBook()
    {
        Log log;
        FakePlayer player(log);
        player.first = 0;
        FakePages pages(log);
        FakeSound sound(log);
        SentraBookMarks book([this] { return m_handle; }, [this] { return m_book; });
        // The pop-up is recorded; the saved word and the notebook are the real library's.
        class Dict final : public WordDictionary
        {
        public:
            explicit Dict(Log &log) : fake(log) {}
            FakeDict fake;
            NoteDictDictionary real{nullptr, nullptr};
            void PopSearch(const QString &w, const QRectF &r, const QString &m) override { fake.PopSearch(w, r, m); }
            bool SavedWord(QString &w, QString &m, QString &t) override { return real.SavedWord(w, m, t); }
            int AddToNotebook(const QString &w, const QString &m, const QString &t, const QString &s,
                              const QString &e) override
            {
                return real.AddToNotebook(w, m, t, s, e);
            }
        } dict(log);
        PageEventHandler handler(player, pages, book, dict, sound);
        handler.Handle(Word("EHtmlEventHandler", 3, 5, "news", 2));
        QCOMPARE(log.calls, QStringList{"Pop news 10,20 []"});
        SetSavedWord(QStringLiteral("news"), QStringLiteral("n. 新闻，消息"), QStringLiteral("[nju:z]"));
        QCOMPARE(handler.SaveWordMean(), int(PageEventHandler::MeanStored));
        QCOMPARE(handler.MakeNewwordNote(), 1);

        NotebookStore store;
        QVERIFY(store.open(NoteDictDictionary::NoteFile(), NoteDictDictionary::NoteLibFile(), false));
        const NoteWord w = store.find(QStringLiteral("news"));
        QCOMPARE(w.meaning, QStringLiteral("n. 新闻，消息"));
        QCOMPARE(w.third, QStringLiteral("[nju:z]"));
        QCOMPARE(w.source, QStringLiteral("#kbt|文化习俗.dat|3"));
        QVERIFY2(w.example.contains(QStringLiteral("news of the day")), qPrintable(w.example));
        store.close();

        // The meaning comes back in the next look-up of that word in that sentence, after a reopen.
        bcSentraBook_Close(m_handle);
        m_handle = bcSentraBook_Open(m_book, QStringLiteral("r+b"));
        log.calls.clear();
        handler.Handle(Word("EHtmlEventHandler", 3, 5, "news", 2));
        QCOMPARE(log.calls, QStringList{"Pop news 10,20 [n. 新闻，消息]"});
        QCOMPARE(Stored(3)->newwords, (QList<int>{3, 5}));

        // A book open read-only keeps its meaning, and the pop-up is told so.
        bcSentraBook_Close(m_handle);
        m_handle = bcSentraBook_Open(m_book, QStringLiteral("rb"));
        SetSavedWord(QStringLiteral("news"), QStringLiteral("n. 新闻"), QString());
        QCOMPARE(handler.SaveWordMean(), int(PageEventHandler::MeanRefused));
        QCOMPARE(bcSentence_GetWordMean(m_handle, 3, QStringLiteral("news")), QStringLiteral("n. 新闻，消息"));
    }
};

QTEST_MAIN(TestEventsBook)
#include "test_events_book.moc"
