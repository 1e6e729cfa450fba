// A whole lesson as MP3 + LRC (read back by the book maker), and sentence cards: the CSV
// parsed back, the clips, a cancel, and the cards tool's refusals.
#include "ExcerptFixtures.h"
#include "player/excerpt/ExcerptFiles.h"
#include "player/excerpt/LessonExport.h"
#include "player/excerpt/SentenceCards.h"
#include "libs/sentra/SentraFacade.h"
#include "libs/sentra/SentraFacadeSound.h"

#include <QProcess>
#include <QtTest>

using namespace mvx;
using namespace mvx::excerpt;

namespace {

// Fields of an RFC 4180 CSV line set (quotes doubled inside quoted fields, LF kept).
QList<QStringList> ParseCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            row << field;
            rows << row;
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

class FailingFiles final : public ExcerptFiles
{
public:
    QString failOn;
    bool Write(const QString &path, const QByteArray &bytes) override
    {
        return (failOn.isEmpty() || !path.contains(failOn)) && ExcerptFiles::Write(path, bytes);
    }
};

QStringList Listing(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestExcerptExport : public QObject
{
    Q_OBJECT
    QString m_bookPath;
    QString m_tmp;

private slots:
    void initTestCase()
    {
        m_tmp = fixtures::tmpDir() + QStringLiteral("/export");
        QDir(m_tmp).removeRecursively();
        QVERIFY(QDir().mkpath(m_tmp));
        sentra::LessonData l;
        l.title = QStringLiteral("Ocean Life");
        l.sound = excerptfix::burstWav({{200, 1000, 0.3}, {1300, 2500, 0.3}, {2800, 3900, 0.3}, {4300, 5600, 0.3}}, 6000);
        auto title = fixtures::sentence(100, 1100, QStringLiteral("Ocean Life"), QStringLiteral("海洋生物"));
        title.isTitle = true;
        l.sentences.append(title);
        l.sentences.append(fixtures::sentence(1200, 2600, QStringLiteral("Whales, \"blue\" ones, sing <low>."),
                                              QStringLiteral("蓝鲸，低声唱。"), QStringLiteral("blue whale\n蓝鲸 & more")));
        auto marked = fixtures::sentence(2600, 4000, QStringLiteral("Fish swim far."));
        marked.degree = 1;
        l.sentences.append(marked);
        l.sentences.append(fixtures::sentence(4200, 5700, QStringLiteral("The end of it."), QStringLiteral("完。")));
        m_bookPath = fixtures::makeBook(QStringLiteral("海洋.dat"), {l});
    }

    void lrcRoundTripThroughTheBookMaker()
    {
        sentra::SentraBook book;
        QVERIFY(book.open(m_bookPath, false));
        ExcerptFiles files;
        QString error;
        const QString folder = m_tmp + QStringLiteral("/music");
        const QString mp3 = LessonExport::Export(book, 0, folder, files, &error);
        QVERIFY2(!mp3.isEmpty(), qPrintable(error));
        QCOMPARE(QFileInfo(mp3).fileName(), QStringLiteral("Ocean Life.mp3"));
        QCOMPARE(Listing(folder), (QStringList{QStringLiteral("Ocean Life.lrc"), QStringLiteral("Ocean Life.mp3")}));
        QCOMPARE(qint64(excerptfix::decode(mp3).size()), SampleAt(6000));
        const QByteArray lrc = excerptfix::readAll(folder + QStringLiteral("/Ocean Life.lrc"));
        QVERIFY(lrc.startsWith("[ti:Ocean Life]\r\n[00:00.10]Ocean Life\r\n[00:00.10]海洋生物\r\n"));

        const QString made = m_tmp + QStringLiteral("/madeback.dat");
        QFile::remove(made);
        QProcess p;
        p.start(QStringLiteral(MVX_HOME "/mvxbrx-makebook"),
                {QStringLiteral("--book"), made, QStringLiteral("--audio"), mp3, QStringLiteral("--lrc"),
                 folder + QStringLiteral("/Ocean Life.lrc"), QStringLiteral("--title-line")});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        sentra::SentraBook back;
        QVERIFY(back.open(made, false));
        const auto original = book.readLesson(0);
        const auto read = back.readLesson(0);
        QVERIFY(original && read);
        QCOMPARE(read->sentences.size(), original->sentences.size());
        for (qsizetype i = 0; i < read->sentences.size(); ++i) {
            const auto &a = original->sentences[i];
            const auto &b = read->sentences[i];
            QVERIFY2(std::abs(a.startMs - b.startMs) <= 10, qPrintable(QStringLiteral("start of %1").arg(i)));
            QVERIFY2(std::abs(a.endMs - b.endMs) <= 10, qPrintable(QStringLiteral("end of %1: %2 %3").arg(i).arg(a.endMs).arg(b.endMs)));
            QCOMPARE(b.english, a.english);
            QCOMPARE(b.chinese, a.chinese);
            QCOMPARE(b.isTitle, a.isTitle);
        }
    }

    void lessonExportFailuresLeaveNothing()
    {
        sentra::SentraBook book;
        QVERIFY(book.open(m_bookPath, false));
        QString error;
        // A folder inside a file cannot be made.
        QFile blocker(m_tmp + QStringLiteral("/afile"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        ExcerptFiles files;
        QVERIFY(LessonExport::Export(book, 0, m_tmp + QStringLiteral("/afile/music"), files, &error).isEmpty());
        QVERIFY2(error.contains(QStringLiteral("afile")), qPrintable(error));
        // The LRC cannot be written: neither file is left, the old ones stay.
        const QString folder = m_tmp + QStringLiteral("/music2");
        QVERIFY(!LessonExport::Export(book, 0, folder, files, &error).isEmpty());
        const QByteArray oldMp3 = excerptfix::readAll(folder + QStringLiteral("/Ocean Life.mp3"));
        FailingFiles failing;
        failing.failOn = QStringLiteral(".lrc.part");
        QVERIFY(LessonExport::Export(book, 0, folder, failing, &error).isEmpty());
        QVERIFY2(error.contains(QStringLiteral("Ocean Life.lrc")), qPrintable(error));
        QCOMPARE(Listing(folder), (QStringList{QStringLiteral("Ocean Life.lrc"), QStringLiteral("Ocean Life.mp3")}));
        QCOMPARE(excerptfix::readAll(folder + QStringLiteral("/Ocean Life.mp3")), oldMp3);
        // Cancelled while the sound was made: nothing written, no folder made, nothing said.
        const std::atomic<bool> cancelled{true};
        const QString untouched = m_tmp + QStringLiteral("/music3");
        QVERIFY(LessonExport::Export(book, 0, untouched, files, &error, &cancelled).isEmpty());
        QVERIFY(error.isEmpty());
        QVERIFY(!QFileInfo::exists(untouched));
    }

    void cardsCsvReadsBack()
    {
        sentra::SentraBook book;
        QVERIFY(book.open(m_bookPath, false));
        QString error;
        const QList<int> sentences = SentenceCards::Select(book, 0, {false, 1, 3}, &error);
        QCOMPARE(sentences, (QList<int>{1, 2, 3}));
        const QString dir = m_tmp + QStringLiteral("/cards");
        ExcerptFiles files;
        const std::atomic<bool> cancel{false};
        QList<int> seen;
        QCOMPARE(SentenceCards::Export(book, 0, sentences, dir, 150, files, cancel,
                                       [&](int done, int total) { seen << done * 10 + total; }, &error),
                 3);
        QCOMPARE(seen, (QList<int>{13, 23, 33}));
        const QByteArray bytes = excerptfix::readAll(dir + QStringLiteral("/海洋-0.csv"));
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> rows = ParseCsv(QString::fromUtf8(bytes));
        QCOMPARE(rows.size(), 6);
        QCOMPARE(rows[0], QStringList{QStringLiteral("#separator:Comma")});
        QCOMPARE(rows[1], QStringList{QStringLiteral("#html:true")});
        QCOMPARE(rows[2], (QStringList{QStringLiteral("#columns:English"), QStringLiteral("Chinese"), QStringLiteral("Comment"),
                                       QStringLiteral("Sound")}));
        QCOMPARE(rows[3].mid(0, 3), (QStringList{QStringLiteral("Whales, &quot;blue&quot; ones, sing &lt;low&gt;."),
                                                 QStringLiteral("蓝鲸，低声唱。"), QStringLiteral("blue whale<br>蓝鲸 &amp; more")}));
        for (int i = 3; i < 6; ++i) {
            QCOMPARE(rows[i].size(), 4);
            const QString sound = rows[i][3];
            QVERIFY(sound.startsWith(QStringLiteral("[sound:")) && sound.endsWith(u']'));
            const QString file = sound.mid(7, sound.size() - 8);
            QVERIFY2(!file.contains(u'/') && QFileInfo::exists(dir + u'/' + file), qPrintable(file));
            QVERIFY(!excerptfix::decode(dir + u'/' + file).empty());
        }
        QCOMPARE(Listing(dir).size(), 4); // three clips and the CSV, no temporary file
    }

    // A nudged sentence is cut and timed as the learner hears it, not as the maker set it.
    void nudgedSentenceIsExportedAsHeard()
    {
        const QString path = m_tmp + QStringLiteral("/nudged.dat");
        QFile::remove(path);
        QVERIFY(QFile::copy(m_bookPath, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        {
            sentra::SentraBook writable;
            QVERIFY(writable.open(path, true));
            QVERIFY(writable.nudgeSentence(2, sentra::SentenceEdge::Start, 100));
            QVERIFY(writable.nudgeSentence(2, sentra::SentenceEdge::End, -150));
        }
        sentra::SentraBook book;
        QVERIFY(book.open(path, false));
        QString error;
        ExcerptFiles files;
        const std::atomic<bool> cancel{false};
        const QString dir = m_tmp + QStringLiteral("/nudgedcards");
        QCOMPARE(SentenceCards::Export(book, 0, {2}, dir, 0, files, cancel, [](int, int) {}, &error), 1);
        const QStringList clips = QDir(dir).entryList({QStringLiteral("*.mp3")});
        QCOMPARE(clips.size(), 1);
        QCOMPARE(qint64(excerptfix::decode(dir + u'/' + clips.first()).size()), SampleAt(3850) - SampleAt(2700));

        const QString mp3 = LessonExport::Export(book, 0, m_tmp + QStringLiteral("/nudgedlrc"), files, &error);
        QVERIFY2(!mp3.isEmpty(), qPrintable(error));
        const QByteArray lrc = excerptfix::readAll(m_tmp + QStringLiteral("/nudgedlrc/Ocean Life.lrc"));
        QVERIFY2(lrc.contains("\r\n[00:02.70]Fish swim far.\r\n"), lrc.constData());
    }

    void cardsCancelOrFailureLeaveTheFolderAsItWas_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<QString>("failOn");
        QTest::newRow("cancel, new folder") << false << "";
        QTest::newRow("cancel, existing folder") << true << "";
        QTest::newRow("CSV cannot be written") << true << ".csv.part";
    }
    void cardsCancelOrFailureLeaveTheFolderAsItWas()
    {
        QFETCH(bool, existing);
        QFETCH(QString, failOn);
        sentra::SentraBook book;
        QVERIFY(book.open(m_bookPath, false));
        const QString dir = m_tmp + QStringLiteral("/cancelled");
        QDir(dir).removeRecursively();
        if (existing) {
            QVERIFY(QDir().mkpath(dir));
            QFile old(dir + QStringLiteral("/keep.txt"));
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        const QStringList before = Listing(dir);
        FailingFiles files;
        files.failOn = failOn;
        std::atomic<bool> cancel{false};
        QString error;
        const int result = SentenceCards::Export(book, 0, {1, 2, 3}, dir, 150, files, cancel,
                                                 [&](int done, int) { cancel = failOn.isEmpty() && done == 1; }, &error);
        QCOMPARE(result, -1);
        QCOMPARE(error.isEmpty(), failOn.isEmpty());
        QCOMPARE(QFileInfo::exists(dir), existing);
        QCOMPARE(Listing(dir), before);
    }

    void selectRefusals_data()
    {
        QTest::addColumn<int>("lesson");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QList<int>>("want");
        QTest::addColumn<QString>("message");
        QTest::newRow("marked") << 0 << true << 0 << 0 << QList<int>{2} << "";
        QTest::newRow("one sentence") << 0 << false << 3 << 3 << QList<int>{3} << "";
        QTest::newRow("reversed") << 0 << false << 3 << 2 << QList<int>{} << "句子范围 3-2 不对";
        QTest::newRow("the title line is no card") << 0 << false << 0 << 2 << QList<int>{} << "第 1 到第 3 句";
        QTest::newRow("past the end") << 0 << false << 2 << 4 << QList<int>{} << "第 1 到第 3 句";
        QTest::newRow("no such lesson") << 1 << false << 1 << 1 << QList<int>{} << "书中没有第 1 课";
    }
    void selectRefusals()
    {
        QFETCH(int, lesson);
        QFETCH(bool, marked);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QList<int>, want);
        QFETCH(QString, message);
        sentra::SentraBook book;
        QVERIFY(book.open(m_bookPath, false));
        QString error;
        QCOMPARE(SentenceCards::Select(book, lesson, {marked, first, last}, &error), want);
        QVERIFY2(message.isEmpty() ? error.isEmpty() : error.contains(message), qPrintable(error));
    }

    void cardsToolRefusesBadInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");
        const QString book = QStringLiteral("BOOK");
        QTest::newRow("unknown option") << QStringList{"--book", book, "--lesson", "0", "--marked", "--out", "OUT", "--fast"} << "--fast";
        QTest::newRow("missing --out") << QStringList{"--book", book, "--lesson", "0", "--marked"} << "--out";
        QTest::newRow("missing value") << QStringList{"--book", book, "--lesson", "0", "--marked", "--out"} << "--out";
        QTest::newRow("both selectors") << QStringList{"--book", book, "--lesson", "0", "--marked", "--sentences", "1-2", "--out", "OUT"} << "--marked";
        QTest::newRow("neither selector") << QStringList{"--book", book, "--lesson", "0", "--out", "OUT"} << "--sentences";
        QTest::newRow("not a book") << QStringList{"--book", "NOTBOOK", "--lesson", "0", "--marked", "--out", "OUT"} << "--book";
        QTest::newRow("lesson out of range") << QStringList{"--book", book, "--lesson", "3", "--marked", "--out", "OUT"} << "--lesson 3";
        QTest::newRow("lesson not a number") << QStringList{"--book", book, "--lesson", "x", "--marked", "--out", "OUT"} << "--lesson x";
        QTest::newRow("range reversed") << QStringList{"--book", book, "--lesson", "0", "--sentences", "3-1", "--out", "OUT"} << "--sentences 3-1";
        QTest::newRow("range outside") << QStringList{"--book", book, "--lesson", "0", "--sentences", "2-9", "--out", "OUT"} << "--sentences 2-9";
        QTest::newRow("range not numbers") << QStringList{"--book", book, "--lesson", "0", "--sentences", "a-b", "--out", "OUT"} << "--sentences a-b";
        QTest::newRow("no marked sentences") << QStringList{"--book", "UNMARKED", "--lesson", "0", "--marked", "--out", "OUT"} << "这一课没有标记的句子";
        QTest::newRow("folder not writable") << QStringList{"--book", book, "--lesson", "0", "--marked", "--out", "FILE/OUT"} << "--out";
        QTest::newRow("pad too long") << QStringList{"--book", book, "--lesson", "0", "--marked", "--out", "OUT", "--pad", "1001"} << "--pad 1001";
        QTest::newRow("pad negative") << QStringList{"--book", book, "--lesson", "0", "--marked", "--out", "OUT", "--pad", "-1"} << "--pad -1";
    }
    void cardsToolRefusesBadInput()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, named);
        const QString out = m_tmp + QStringLiteral("/toolout");
        QDir(out).removeRecursively();
        const QString notBook = m_tmp + QStringLiteral("/notabook.dat");
        QFile nb(notBook);
        QVERIFY(nb.open(QIODevice::WriteOnly));
        nb.write("SQLite format 3? no, just text");
        nb.close();
        sentra::LessonData plain;
        plain.title = QStringLiteral("Plain");
        plain.sound = excerptfix::burstWav({{0, 500, 0.3}}, 1000);
        plain.sentences.append(fixtures::sentence(0, 1000, QStringLiteral("Nothing marked.")));
        const QString unmarked = fixtures::makeBook(QStringLiteral("unmarked.dat"), {plain});
        for (QString &a : args) {
            a.replace(QStringLiteral("NOTBOOK"), notBook).replace(QStringLiteral("UNMARKED"), unmarked);
            a.replace(QStringLiteral("BOOK"), m_bookPath).replace(QStringLiteral("FILE"), m_tmp + QStringLiteral("/afile"));
            a.replace(QStringLiteral("OUT"), out);
        }
        QFile(m_tmp + QStringLiteral("/afile")).open(QIODevice::WriteOnly);
        QProcess p;
        p.start(QStringLiteral(MVX_HOME "/mvxbrx-cards"), args);
        QVERIFY(p.waitForFinished(60000));
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode(), 1);
        QCOMPARE(err.count(u'\n'), 1);
        QVERIFY2(err.contains(named), qPrintable(err));
        QVERIFY(!QFileInfo::exists(out));
    }

    // The marked sentence, or the same one by its counter number alone.
    void cardsToolWritesTheChosenSentences_data()
    {
        QTest::addColumn<QStringList>("selector");
        QTest::newRow("marked") << QStringList{"--marked"};
        QTest::newRow("one number") << QStringList{"--sentences", "2"};
    }
    void cardsToolWritesTheChosenSentences()
    {
        QFETCH(QStringList, selector);
        const QString out = m_tmp + QStringLiteral("/toolcards/deep");
        QDir(m_tmp + QStringLiteral("/toolcards")).removeRecursively();
        QProcess p;
        p.start(QStringLiteral(MVX_HOME "/mvxbrx-cards"),
                QStringList{QStringLiteral("--book"), m_bookPath, QStringLiteral("--lesson"), QStringLiteral("0")} + selector
                    + QStringList{QStringLiteral("--out"), out, QStringLiteral("--pad"), QStringLiteral("0")});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        const QString clip = sentra::SentenceFileName(m_bookPath, 2) + QStringLiteral(".mp3");
        QCOMPARE(Listing(out), (QStringList{QStringLiteral("海洋-0.csv"), clip}));
        // pad 0: exactly the stored sentence.
        QCOMPARE(qint64(excerptfix::decode(out + u'/' + clip).size()), SampleAt(4000) - SampleAt(2600));
    }
};

QTEST_GUILESS_MAIN(TestExcerptExport)
#include "test_excerpt_export.moc"
