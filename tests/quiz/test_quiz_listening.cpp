// The quiz's listening by a virtual clock, over a real sentence book: which sentences play,
// the end message, the sound files deleted before each new one, nothing re-entering a wait,
// nothing playing after the end, and books that cannot play.
#include "quiz/QuizListening.h"

#include "PlayerFakes.h"
#include "SentraFixtures.h"
#include "libs/sentra/SentraFacade.h"

#include <QTest>

using namespace mvx;
using namespace fakes;

namespace {

// Hands the sounds to the fake and checks, before each one, that every earlier sentence's
// ".wav" and ".mp3" are gone.
class CheckingSounds final : public SentenceSoundSource
{
public:
    explicit CheckingSounds(FakeSounds &fake) : m_fake(fake) {}
    QStringList bases;
    QStringList leftovers; // earlier files still there when a new sound was made
    QHash<QString, int> noInAllByWave;

    bool MakeSentenceSound(int book, int noInAll, const QString &base) override
    {
        for (const QString &b : std::as_const(bases))
            for (const char *ext : {".wav", ".mp3"})
                if (QFile::exists(b + QLatin1String(ext)))
                    leftovers << b + QLatin1String(ext);
        bases << base;
        noInAllByWave.insert(base + QStringLiteral(".wav"), noInAll);
        QFile mp3(base + QStringLiteral(".mp3")); // as an older sound maker left beside it
        if (mp3.open(QIODevice::WriteOnly))
            mp3.write("ID3");
        return m_fake.MakeSentenceSound(book, noInAll, base);
    }
    int MakeAndOpenDigest(const QString &w, const QString &d) override { return m_fake.MakeAndOpenDigest(w, d); }
    void CloseDigest(int h) override { m_fake.CloseDigest(h); }

private:
    FakeSounds &m_fake;
};

// A titled lesson of two sentences (numbers 0-1 in the book), an untitled one of two (2-3)
// and a lesson that is only its title (4).
QString makeQuizBook()
{
    using sentra::LessonData;
    auto lesson = [](bool titled, int sentences) {
        LessonData l;
        l.title = QStringLiteral("Lesson");
        l.sound = fixtures::toneFile(22050, 1, 1.0 + sentences);
        for (int i = 0; i < sentences; ++i) {
            auto s = fixtures::sentence(i * 1000, (i + 1) * 1000, QStringLiteral("Sentence %1.").arg(i));
            s.isTitle = titled && i == 0;
            l.sentences.append(s);
        }
        return l;
    };
    return fixtures::makeBook(QStringLiteral("quiz.dat"), {lesson(true, 2), lesson(false, 2), lesson(true, 1)});
}

} // namespace

class TestQuizListening : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void playsTheArticleOnce_data();
    void playsTheArticleOnce();
    void nothingReentersAWait();
    void theOwnersWaitHoldsClicksBack();
    void booksThatCannotPlay_data();
    void booksThatCannotPlay();

private:
    // Runs until the end message or maxMs of virtual time.
    bool runToMessage(qint64 maxMs = 30000)
    {
        return m_clock->RunUntil([this] { return !m_messages.isEmpty(); }, maxMs);
    }

    QString m_book;
    QString m_home;
    std::unique_ptr<VirtualClock> m_clock;
    std::unique_ptr<FakeMedia> m_media;
    std::unique_ptr<FakeSounds> m_fake;
    std::unique_ptr<CheckingSounds> m_sounds;
    std::unique_ptr<QuizListening> m_listening;
    QStringList m_messages;
    QList<int> m_heard; // sentences (numbers in the book) in the order they were heard
};

void TestQuizListening::initTestCase()
{
    m_book = makeQuizBook();
    m_home = fixtures::tmpDir() + QStringLiteral("/home");
    QDir().mkpath(m_home);
    QFile blank(m_home + QStringLiteral("/blank.wav"));
    QVERIFY(blank.open(QIODevice::WriteOnly));
    blank.write("RIFF");
}

void TestQuizListening::init()
{
    QDir(m_home + QStringLiteral("/alltmpfile")).removeRecursively();
    m_messages.clear();
    m_heard.clear();
    m_clock = std::make_unique<VirtualClock>();
    m_clock->SetInterval(PlayerTimer::Position, 20);
    m_media = std::make_unique<FakeMedia>(*m_clock);
    m_media->setAutoStart(true);
    m_fake = std::make_unique<FakeSounds>(*m_media, *m_clock);
    m_sounds = std::make_unique<CheckingSounds>(*m_fake);
    m_listening = std::make_unique<QuizListening>(*m_media, *m_sounds, *m_clock, m_home);
    m_listening->SetMessageHandler([this](const QString &text) { m_messages << text; });
    m_clock->afterTick = [this] {
        if (!m_media->playing)
            return;
        const int n = m_sounds->noInAllByWave.value(m_media->path(), -1);
        if (n >= 0 && (m_heard.isEmpty() || m_heard.last() != n))
            m_heard << n;
    };
}

void TestQuizListening::cleanup()
{
    m_listening.reset();
    m_clock->afterTick = {};
}

void TestQuizListening::playsTheArticleOnce_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<int>("firstLengthMs");
    QTest::addColumn<QList<int>>("made"); // sentence sounds made, by number in the book
    QTest::addColumn<QList<int>>("heard");
    QTest::addRow("titled, two sentences: only sentence 1") << 0 << 3000 << QList<int>{1, 1} << QList<int>{1};
    QTest::addRow("untitled: sentences 0 and 1") << 1 << 3000 << QList<int>{2, 3, 2} << QList<int>{2, 3};
    // Shorter than the end margin: over at the first tick, and never playing by itself after the end.
    QTest::addRow("first sentence under 100 ms") << 1 << 80 << QList<int>{2, 3, 2} << QList<int>{3};
}

void TestQuizListening::playsTheArticleOnce()
{
    QFETCH(int, lesson);
    QFETCH(int, firstLengthMs);
    QFETCH(QList<int>, made);
    QFETCH(QList<int>, heard);
    m_fake->lengthByNoInAll.insert(made.first(), firstLengthMs);
    QVERIFY(m_listening->OpenLesson(m_book, lesson));
    QVERIFY(m_messages.isEmpty());
    const int first = made.first() - m_listening->GetSentenceNoInAll(0);
    QCOMPARE(m_listening->CurSentence(), first);
    QVERIFY(m_listening->PlayEnabled() && !m_listening->StopEnabled());

    m_listening->btPlay_Click();
    QVERIFY(!m_listening->PlayEnabled() && m_listening->StopEnabled());
    QVERIFY(runToMessage());
    QCOMPARE(m_messages, QStringList{"文章播放完毕，请做题"});
    QCOMPARE(m_heard, heard);
    // Ready to play it again from the top, with nothing running.
    QCOMPARE(m_listening->CurSentence(), first);
    QVERIFY(m_listening->PlayEnabled() && !m_listening->StopEnabled());
    QVERIFY(!m_clock->IsTimerOn(PlayerTimer::Position));
    QCOMPARE(m_fake->made, made);

    // Nothing plays by itself after the end, even a first sentence shorter than the end margin.
    m_clock->Advance(3000);
    QCOMPARE(m_heard, heard);
    QCOMPARE(m_fake->made, made);
    QVERIFY(!m_media->playing);
    QCOMPARE(m_messages.size(), 1);

    // Every sound was made after the previous sentence's files were deleted, and no file
    // vanished while the back end opened it.
    QCOMPARE(m_sounds->leftovers, QStringList());
    QCOMPARE(m_media->openedMissing, QStringList());

    // Played again: the same sentences once more.
    m_messages.clear();
    m_heard.clear();
    m_listening->btPlay_Click();
    QVERIFY(runToMessage());
    QCOMPARE(m_heard, heard);
    QCOMPARE(m_messages, QStringList{"文章播放完毕，请做题"});
}

void TestQuizListening::nothingReentersAWait()
{
    QVERIFY(m_listening->OpenLesson(m_book, 1));
    m_listening->btPlay_Click();
    // The learner presses Stop, then Play, then Stop while the next sentence's sound opens;
    // the position ticks keep coming during that wait.
    m_clock->Post([this] {
        QVERIFY(m_listening->IsBusy());
        m_listening->btStop_Click();
        m_listening->btPlay_Click();
        m_listening->btStop_Click();
        QVERIFY(m_listening->StopEnabled()); // held back, not run inside the wait
    });
    QVERIFY(m_clock->RunUntil([this] { return !m_listening->StopEnabled(); }, 10000));
    QCOMPARE(m_listening->CurSentence(), 1); // the change finished first
    QVERIFY(!m_listening->IsBusy());
    QVERIFY(!m_media->playing);
    QVERIFY(!m_clock->IsTimerOn(PlayerTimer::Position));
    QCOMPARE(m_fake->made, (QList<int>{2, 3}));
    m_clock->Advance(5000);
    QCOMPARE(m_fake->made, (QList<int>{2, 3}));
    QCOMPARE(m_media->openedMissing, QStringList());
    QVERIFY(m_messages.isEmpty());
}

void TestQuizListening::theOwnersWaitHoldsClicksBack()
{
    bool ownerWaits = false;
    m_listening->SetOwnerBusy([&ownerWaits] { return ownerWaits; });
    QVERIFY(m_listening->OpenLesson(m_book, 1));
    ownerWaits = true;
    m_listening->btPlay_Click();
    QVERIFY(m_listening->PlayEnabled() && !m_media->playing);
    ownerWaits = false;
    m_listening->RunDeferred();
    QVERIFY(m_listening->StopEnabled() && m_media->playing);
    // A tick while the owner waits does nothing; the next one after it goes on.
    m_clock->Advance(1000);
    ownerWaits = true;
    const int pos = m_listening->CurPos();
    m_clock->Advance(500);
    QCOMPARE(m_listening->CurPos(), pos);
    ownerWaits = false;
    m_clock->Advance(100);
    QVERIFY(m_listening->CurPos() > pos);
}

void TestQuizListening::booksThatCannotPlay_data()
{
    QTest::addColumn<QString>("book"); // "" = the quiz book
    QTest::addColumn<int>("lesson");
    QTest::addColumn<int>("neverOpens");
    QTest::addColumn<QString>("message");
    const QString missing = fixtures::tmpDir() + QStringLiteral("/missing.dat");
    QTest::addRow("missing book") << missing << 0 << -1
                                  << QStringLiteral("无法打开课文：%1（第 0 课）。\n可以直接做题。").arg(missing);
    QTest::addRow("no such lesson") << QString() << 9 << -1 << QStringLiteral("无法打开课文：%1（第 9 课）。\n可以直接做题。");
    QTest::addRow("only the title") << QString() << 2 << -1 << QStringLiteral("这篇文章没有可以播放的句子。\n可以直接做题。");
    QTest::addRow("first sound never opens") << QString() << 1 << 2 << QStringLiteral("声音文件打不开：");
}

void TestQuizListening::booksThatCannotPlay()
{
    QFETCH(QString, book);
    QFETCH(int, lesson);
    QFETCH(int, neverOpens);
    QFETCH(QString, message);
    if (book.isEmpty())
        book = m_book;
    if (neverOpens >= 0)
        m_fake->unopenable.insert(neverOpens);
    QVERIFY(!m_listening->OpenLesson(book, lesson));
    QCOMPARE(m_messages.size(), 1);
    const QString expected = message.contains(QLatin1String("%1")) ? message.arg(book) : message;
    QVERIFY2(m_messages.first().startsWith(expected), qPrintable(m_messages.first()));
    QVERIFY(!m_listening->PlayEnabled() && !m_listening->StopEnabled());
    m_listening->btPlay_Click();
    m_clock->Advance(2000);
    QVERIFY(!m_media->playing);
    QVERIFY(!m_clock->IsTimerOn(PlayerTimer::Position));
    QCOMPARE(m_messages.size(), 1);
}

QTEST_GUILESS_MAIN(TestQuizListening)
#include "test_quiz_listening.moc"
