// The drill windows beside the spelling window, headless over real books, the real media back
// end and a real dictionary: the word summary, sentence browsing, the shuffled recitation and
// the speaking drill (recording through SDL's disk driver), with the learner's corrections.
#include "../sentra/SentraFixtures.h"
#include "EcDictBuilder.h"

#include "notedict/BrowseModel.h"
#include "notedict/DrillBook.h"
#include "notedict/NoteDictLib.h"
#include "notedict/ShuffleSession.h"
#include "notedict/WordSummaryModel.h"
#include "notedict/ui/BrowseForm.h"
#include "notedict/ui/DrillWindows.h"
#include "notedict/ui/SentenceEditForm.h"
#include "notedict/ui/ShuffleForm.h"
#include "notedict/ui/SoundShape.h"
#include "notedict/ui/SpeakForm.h"
#include "notedict/ui/WordSummaryForm.h"
#include "core/AppState.h"
#include "libs/sentra/SentenceWords.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>

#include <cmath>

using namespace mvx;

namespace {

// Two lessons: the sample one with key words (Farmers, rain, prices), new words (rain, good)
// and a stored meaning of "rain"; then a second sample lesson.
QString MakeDrillBook(const QString &name)
{
    sentra::LessonData first = fixtures::sampleLesson();
    first.sentences[1].newwords = {7};
    first.sentences[2].newwords = {7};
    first.sentences[3].keywords = {2};
    const QString path = fixtures::makeBook(name, {first, fixtures::sampleLesson(QStringLiteral("Second"))});
    sentra::SentraBook book;
    if (!book.open(path, true) || !book.setWordMeaning(1, QStringLiteral("rain"), QStringLiteral("雨（本句）")))
        qFatal("cannot store a meaning");
    return path;
}

QStringList WordsOf(const WordSummaryModel &m)
{
    QStringList out;
    for (const SummaryWord &w : m.Words())
        out << w.word + (w.keyword ? QStringLiteral("+k") : QString()) + (w.newword ? QStringLiteral("+n") : QString());
    return out;
}

bool WaitOpened(const MediaPlayer &media, const QString &file)
{
    return QTest::qWaitFor([&] {
        return media.openState() == MediaPlayerInterface::MediaOpen && QFileInfo(media.filePath()).fileName() == file;
    }, 5000);
}

// The documentation's pictures of the windows, when MVX_DRILL_SCREENSHOTS names a folder.
void Shot(QWidget &window, const char *name)
{
    const QString folder = qEnvironmentVariable("MVX_DRILL_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QTest::qWait(300);
    window.grab().save(folder + u'/' + QLatin1String(name));
}

} // namespace

class TestNotedictDrills : public QObject
{
    Q_OBJECT

    QString m_book;
    QString m_capture; // what the disk driver's capture device reads
    QStringList m_messages;

private slots:
    void initTestCase()
    {
        // The speaking drill records through SDL's disk driver from a known sound; playing
        // goes to a file nobody reads. Set before SDL starts.
        m_capture = fixtures::tmpDir() + QStringLiteral("/capture.raw");
        QFile raw(m_capture);
        QVERIFY(raw.open(QIODevice::WriteOnly));
        for (int i = 0; i < 22050 * 3; ++i) {
            const auto v = qint16(std::lround(12000 * std::sin(2 * M_PI * 330.0 * i / 22050)));
            raw.write(reinterpret_cast<const char *>(&v), sizeof v);
        }
        raw.close();
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILEIN", QFile::encodeName(m_capture));
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(fixtures::tmpDir() + QStringLiteral("/played.raw")));

        QDir::setCurrent(fixtures::tmpDir());
        App().skinRoot = QStringLiteral(MVX_HOME "/ecminterface");
        EcDictBuilder dict;
        QVERIFY(dict.build(QStringLiteral(MVX_TEST_DATA "/mini_ecdict.csv"), QStringLiteral(MVX_TEST_DATA "/mini_lemma.txt"),
                           fixtures::tmpDir() + QStringLiteral("/dict")));
        m_book = MakeDrillBook(QStringLiteral("drills.dat"));
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return 1;
        });
    }
    void init() { m_messages.clear(); }

    // The summary's words by the asked kinds, in order of appearance, within the lesson.
    void summaryTakesTheAskedKinds_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("words");
        QTest::addRow("both") << 1 << 3 << 2 << QStringList{"Farmers+k", "rain+k+n", "good+n", "prices+k"};
        QTest::addRow("key words") << 1 << 3 << 1 << QStringList{"Farmers+k", "rain+k", "prices+k"};
        QTest::addRow("new words") << 1 << 3 << 0 << QStringList{"rain+n", "good+n"};
        QTest::addRow("past the lesson's end: clipped") << 3 << 2 << 2 << QStringList{"prices+k"};
        QTest::addRow("far past: still this lesson only") << 1 << 50 << 1 << QStringList{"Farmers+k", "rain+k", "prices+k"};
        QTest::addRow("none of the kind") << 3 << 1 << 0 << QStringList{};
    }
    void summaryTakesTheAskedKinds()
    {
        QFETCH(int, first);
        QFETCH(int, count);
        QFETCH(int, mode);
        QFETCH(QStringList, words);
        WordSummaryModel model;
        QString error;
        const int n = model.Build(m_book, first, count, mode, &error);
        QCOMPARE(n, words.isEmpty() ? -1 : int(words.size()));
        QCOMPARE(WordsOf(model), words);
        for (const SummaryWord &w : model.Words())
            for (int no : w.sentences)
                QVERIFY2(no >= first && no <= 3, "a sentence of the asked range of the first lesson");
    }

    // Prepared into the working files, shown with meanings (the sentence's own, else the
    // dictionary's); a click on a sentence plays it.
    void summaryWindowShowsMeaningsAndPlays()
    {
        QString book = m_book;
        QCOMPARE(bcWordSummary_Init(nullptr, book, 1, 3, 2, QStringLiteral("alltmpfile/tmpsummary"),
                                    QStringLiteral("alltmpfile/tmpsummary.lib")),
                 4);
        QCOMPARE(bcWordSummary_Init(nullptr, book, 3, 1, 0, QStringLiteral("alltmpfile/x"), QStringLiteral("alltmpfile/x.lib")), -1);
        QCOMPARE(bcWordSummary_Init(nullptr, book, 99, 2, 2, QStringLiteral("alltmpfile/x"), QStringLiteral("alltmpfile/x.lib")), 0);
        QCOMPARE(m_messages, QStringList{QStringLiteral("要练习的句子不在句子库的范围内。")});
        QVERIFY(!QFileInfo::exists(QStringLiteral("alltmpfile/x")));

        WordSummaryForm form(nullptr);
        QString error;
        QVERIFY2(form.Start(QStringLiteral("alltmpfile/tmpsummary"), QStringLiteral("alltmpfile/tmpsummary.lib"),
                            QStringLiteral("dict.idx"), QStringLiteral("dict.lib"), &error),
                 qPrintable(error));
        form.show();
        QCOMPARE(form.WordList()->count(), 4);
        QCOMPARE(form.WordList()->item(1)->text(), QStringLiteral("rain  〔关键词、生词〕"));
        form.WordList()->setCurrentRow(1);
        QVERIFY(form.MeaningText().contains(QStringLiteral("雨（本句）")));
        QCOMPARE(form.SentenceList()->count(), 1);
        form.WordList()->setCurrentRow(2); // good: from the dictionary
        QVERIFY2(form.MeaningText().contains(QStringLiteral("好的")), qPrintable(form.MeaningText()));
        form.WordList()->setCurrentRow(1);
        Shot(form, "summary-window.png");
        form.WordList()->setCurrentRow(2);
        QVERIFY(form.PlaySentenceRow(0));
        QVERIFY(WaitOpened(form.Sound().Media(), QStringLiteral("summarysentence.wav")));
        QCOMPARE(form.Sound().CutSentence(), 2);
        QVERIFY(!form.PlaySentenceRow(5));
        form.close();
    }

    // Browsing: the range's sentences with Chinese and comments (never past the lesson), the
    // notebook words saved from them only; words and sentences play; corrections are stored.
    void browsingShowsPlaysAndCorrects()
    {
        const QString book = MakeDrillBook(QStringLiteral("browse.dat"));
        const QString note = QStringLiteral("notebook/brxspecial_note");
        QDir().mkpath(QStringLiteral("notebook"));
        QFile::remove(note); // from an earlier run
        QFile::remove(note + QStringLiteral(".lib"));
        QCOMPARE(bcNote_AddWord(note, note + ".lib", "sign", "n. 兆头", "", "#kbt|browse.dat|2", "It's a sign."), 1);
        QCOMPARE(bcNote_AddWord(note, note + ".lib", "market", "n. 市场", "", "#kbt|browse.dat|7", "x"), 1); // other lesson
        QCOMPARE(bcNote_AddWord(note, note + ".lib", "year", "n. 年", "", "#kbt|other.dat|2", "x"), 1);  // other book

        BrowseForm form(nullptr);
        QString error;
        QVERIFY2(form.Start(book, 2, 3, DrillNotebookFile(QStringLiteral("notebook\\brxspecial_note")), &error), qPrintable(error));
        form.show();
        QCOMPARE(form.SentenceList()->count(), 2); // 2 and 3: the next lesson's title is not shown
        QCOMPARE(form.SentenceText(1), QStringLiteral("Rice prices fell 3.5% in the U.S. market.\n美国市场米价下跌了3.5%。"));
        QCOMPARE(form.WordList()->count(), 1);
        QCOMPARE(form.WordList()->item(0)->text(), QStringLiteral("sign　n. 兆头"));
        Shot(form, "browse-window.png");
        QVERIFY(form.PlayWordRow(0));
        QVERIFY(WaitOpened(form.Sound().Media(), QStringLiteral("browsesentence.wav")));
        QCOMPARE(form.Sound().CutSentence(), 2);
        QVERIFY(form.PlaySentenceRow(1));
        QCOMPARE(form.Sound().CutSentence(), 3);

        QVERIFY(!form.Changed());
        QVERIFY(form.Correct(3, QStringLiteral("Rice prices rose 3.5% in the U.S. market."), QStringLiteral("米价上涨了。")).isEmpty());
        QVERIFY(form.Changed());
        QCOMPARE(form.SentenceText(1), QStringLiteral("Rice prices rose 3.5% in the U.S. market.\n米价上涨了。"));
        const QString tooLong = QStringLiteral("word ").repeated(501);
        QCOMPARE(form.Correct(3, tooLong, QString()), QStringLiteral("一个句子最多只能有 500 个单词，修改没有保存。"));
        QCOMPARE(m_messages.last(), QStringLiteral("一个句子最多只能有 500 个单词，修改没有保存。"));
        form.close();
        sentra::SentraBook check;
        QVERIFY(check.open(book, false));
        QCOMPARE(check.sentence(3)->english, QStringLiteral("Rice prices rose 3.5% in the U.S. market."));
        QCOMPARE(check.sentence(3)->chinese, QStringLiteral("米价上涨了。"));
        QCOMPARE(check.sentence(3)->comment, QString()); // kept as it was
    }

    // The correction dialog as the learner uses it: the texts typed into its boxes are stored.
    void correctionDialogStoresTheTypedTexts()
    {
        const QString book = MakeDrillBook(QStringLiteral("edit.dat"));
        QString file = book;
        QCOMPARE(bcBrowse_Init(nullptr, file, 1, 1, QStringLiteral("brxspecial_note")), 1);
        QTimer::singleShot(0, this, [this] {
            auto *browse = qobject_cast<BrowseForm *>(QApplication::activeModalWidget());
            QVERIFY(browse);
            QTimer::singleShot(0, this, [] {
                auto *edit = qobject_cast<SentenceEditForm *>(QApplication::activeModalWidget());
                QVERIFY(edit);
                edit->EnglishBox()->setPlainText(QStringLiteral("Farmers in the south said\nthe rain came late."));
                edit->btOk_click();
            });
            browse->btEdit_click();
            QCOMPARE(browse->SentenceText(0).section(u'\n', 0, 0), QStringLiteral("Farmers in the south said the rain came late."));
            browse->btWinClose_click();
        });
        QCOMPARE(bcBrowse_LoadAndShow(), 1);
        QCOMPARE(bcBrowse_IfSentenceChanged(), 1);
        sentra::SentraBook check;
        QVERIFY(check.open(book, false));
        QCOMPARE(check.sentence(1)->english, QStringLiteral("Farmers in the south said the rain came late."));
        QCOMPARE(check.sentence(1)->chinese, QStringLiteral("北方的农民说雨来得早。"));
        QVERIFY(m_messages.isEmpty());
    }

    // Putting shuffled words back: wrong picks are refused and counted, a word spelt like the
    // next one is as good, a hint places the next word.
    void shuffleTakesWordsOnlyInOrder()
    {
        ShuffleSession s;
        QVERIFY(s.Open(m_book, 1, 3, nullptr, 12345));
        QCOMPARE(s.Count(), 3);
        QVERIFY(s.Pool() != sentra::SentenceWords::words(s.Current().english));
        QStringList sorted = s.Pool();
        sorted.sort();
        QStringList expected = sentra::SentenceWords::words(s.Current().english);
        expected.sort();
        QCOMPARE(sorted, expected);
        const auto pickWord = [&s](const QString &word) {
            const int i = s.Pool().indexOf(word);
            return i >= 0 && s.Pick(i);
        };
        QVERIFY(!pickWord("rain"));
        QCOMPARE(s.Mistakes(), 1);
        for (const char *w : {"Farmers", "in"})
            QVERIFY(pickWord(w));
        // "the" comes twice: the pool's later "the" is as good as the first.
        QCOMPARE(s.Pool().count("the"), 2);
        QVERIFY(s.Pick(s.Pool().lastIndexOf("the")));
        QCOMPARE(s.Pool().count("the"), 1);
        s.Hint();
        QCOMPARE(s.Placed(), (QStringList{"Farmers", "in", "the", "north"}));
        QCOMPARE(s.Mistakes(), 2);
        for (const char *w : {"said", "the", "rain", "came", "early"})
            QVERIFY(pickWord(w));
        QVERIFY(s.Complete());
        QVERIFY(s.Pool().isEmpty());
        QVERIFY(s.Next());
        QCOMPARE(s.Current().noInAll, 2);

        ShuffleSession none;
        QString error;
        QVERIFY(!none.Open(m_book, 6, 5, &error)); // the book has 8 sentences
        QCOMPARE(error, QStringLiteral("要练习的句子不在句子库的范围内。"));
    }

    // The window: words clicked in order complete the sentence, which is then heard; the end
    // of the range tells the result and closes.
    void shuffleWindowCompletesAndPlays()
    {
        ShuffleForm form(nullptr);
        QString error;
        QVERIFY2(form.Start(m_book, 3, 1, &error, 7), qPrintable(error));
        form.show();
        QCOMPARE(form.ChineseText(), QStringLiteral("美国市场米价下跌了3.5%。"));
        const QStringList words = sentra::SentenceWords::words(form.Session().Current().english);
        form.PickWord(form.Session().Pool().indexOf(words[1]));
        QVERIFY(form.FeedbackText().contains(QStringLiteral("顺序不对")));
        form.PickWord(form.Session().Pool().indexOf(words[0]));
        form.PickWord(form.Session().Pool().indexOf(words[1]));
        Shot(form, "shuffle-window.png");
        for (int i = 2; i < words.size(); ++i)
            form.PickWord(form.Session().Pool().indexOf(words[i]));
        QCOMPARE(form.AnswerText(), QStringLiteral("Rice prices fell 3.5% in the U.S. market."));
        QVERIFY(WaitOpened(form.Sound().Media(), QStringLiteral("shufflesentence.wav")));
        QTest::keyClick(&form, Qt::Key_Return);
        QCOMPARE(m_messages, QStringList{QStringLiteral("全部完成：共 1 句，出错 1 次。")});
        QVERIFY(!form.isVisible());
        QVERIFY(!form.Changed());
    }

    // Speaking: the sentence plays on arrival; a recording through the capture device holds
    // the captured sound, is drawn under the sentence's waveform, saved, and played after
    // the sentence in the comparison.
    void speakingRecordsAndCompares()
    {
        SpeakForm form(nullptr);
        QString error;
        QVERIFY2(form.Start(m_book, 2, 2, &error), qPrintable(error));
        form.show();
        QCOMPARE(form.ProgressText(), QStringLiteral("第 1/2 句"));
        QCOMPARE(form.LastPlayed(), QStringLiteral("original"));
        QVERIFY(WaitOpened(form.Sound().Media(), QStringLiteral("speaksentence.wav")));
        const auto &shape = form.OriginalShape()->Peaks();
        QVERIFY(*std::max_element(shape.begin(), shape.end()) > 0.5f);

        form.btRecord_click();
        QVERIFY2(form.Recorder().isRecording(), qPrintable(form.Recorder().errorText()));
        QTest::qWait(400);
        form.btRecord_click();
        QVERIFY(!form.Recorder().isRecording());
        const std::vector<qint16> got = form.Recorder().samples();
        QVERIFY2(got.size() > 2000, qPrintable(QString::number(got.size())));
        // The capture file's sound, sample for sample from its start.
        QFile raw(m_capture);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        const QByteArray bytes = raw.read(qint64(sizeof(qint16)) * 2000);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(got.data()), 2000 * int(sizeof(qint16))), bytes);
        QVERIFY(QFileInfo(form.RecordingFile()).size() > 4000);
        const auto &mine = form.RecordingShape()->Peaks();
        QVERIFY(*std::max_element(mine.begin(), mine.end()) > 0.5f);

        Shot(form, "speak-window.png");
        form.btPlayBoth_click();
        QCOMPARE(form.LastPlayed(), QStringLiteral("original"));
        QVERIFY(QTest::qWaitFor([&] { return form.LastPlayed() == QStringLiteral("recording"); }, 10000));
        QVERIFY(WaitOpened(form.Sound().Media(), QStringLiteral("speakrecording.wav")));

        form.btNext_click();
        QCOMPARE(form.CurrentNoInAll(), 3);
        QVERIFY(form.RecordingShape()->Peaks().empty() || *std::max_element(form.RecordingShape()->Peaks().begin(), form.RecordingShape()->Peaks().end()) == 0.0f);
        QVERIFY(form.Correct(3, QStringLiteral("Rice prices fell."), QStringLiteral("米价下跌。")).isEmpty());
        QCOMPARE(form.EnglishText(), QStringLiteral("Rice prices fell."));
        QVERIFY(form.Changed());
        form.close();
        QVERIFY(!QFileInfo::exists(form.RecordingFile()));
    }

    void badRangesOpenNoWindow_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        QTest::addRow("count 0") << 1 << 0;
        QTest::addRow("past the book") << 7 << 2;
        QTest::addRow("negative first") << -1 << 2;
    }
    void badRangesOpenNoWindow()
    {
        QFETCH(int, first);
        QFETCH(int, count);
        QString book = m_book;
        QCOMPARE(bcSpeak_Init(nullptr, book, first, count, QStringLiteral("brxspecial_note")), 0);
        QCOMPARE(bcSpeak_LoadAndShow(), 0);
        QCOMPARE(bcShuffleRecite_InitEx(nullptr, book, first, count, count, QStringLiteral("brxspecial_note")), 0);
        QCOMPARE(bcShuffleRecite_LoadAndShowNoDegree(0), 0);
        QCOMPARE(m_messages, QStringList(2, QStringLiteral("要练习的句子不在句子库的范围内。")));
        QString missing = QStringLiteral("missing.dat");
        QCOMPARE(bcBrowse_Init(nullptr, missing, 0, 1, QStringLiteral("brxspecial_note")), 0);
        QVERIFY(m_messages.last().startsWith(QStringLiteral("无法打开句子库文件")));
    }
};

QTEST_MAIN(TestNotedictDrills)
#include "test_notedict_drills.moc"
