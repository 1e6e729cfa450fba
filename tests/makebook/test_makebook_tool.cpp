// The book maker end to end: lessons from MP3 + LRC and WAV + text open with the right times
// and texts, articles land in UTF-8 and GBK indexes, and bad input changes nothing.
#include "libs/bookmaker/IndexTree.h"
#include "libs/bookmaker/AudioDecoder.h"
#include "libs/bookmaker/BookMaker.h"
#include "SoundFixture.h"
#include "core/TextCodec.h"
#include "libs/sentra/SentraBook.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace mvx;

class TestMakebookTool : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void mp3WithLrc();
    void wavWithText();
    void lrcEncodings_data();
    void lrcEncodings();
    void addsToIndex_data();
    void addsToIndex();
    void refusesBadInput_data();
    void refusesBadInput();
    void cancelChangesNothing();
    void bilingualSrt();
    void webVttRegrouped();
    void commandLine();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void write(const QString &name, const QStringList &lines, TextEncoding e = TextEncoding::Utf8);
    // Checks a lesson: English, Chinese and times of every sentence.
    static void checkLesson(const QString &book, int lessonNo, const QStringList &english,
                            const QStringList &chinese, const QList<QPair<int, int>> &times);

    std::unique_ptr<QTemporaryDir> m_dir;
    fixture::Speech m_speech;
    QList<int> m_lrcStarts;
};

static const QStringList English{"A Frog in the Forest", "The *frog* is very small.", "It lives high in the mountains.",
                                 "Scientists want to *protect* its home."};
static const QStringList Plain{"A Frog in the Forest", "The frog is very small.", "It lives high in the mountains.",
                               "Scientists want to protect its home."};
static const QStringList Chinese{"森林里的青蛙", "这种青蛙非常小。", "它生活在高山上。", "科学家想保护它的家园。"};

static QString lrcTime(int ms)
{
    return QStringLiteral("[%1:%2.%3]").arg(ms / 60000, 2, 10, QLatin1Char('0')).arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000 / 10, 2, 10, QLatin1Char('0'));
}

void TestMakebookTool::init()
{
    m_dir = std::make_unique<QTemporaryDir>(QString::fromLocal8Bit(qgetenv("MVX_TEST_TMP")) + "/tool-XXXXXX");
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkpath("我的课文"));
    QVERIFY(QDir(m_dir->path()).mkpath("brxspecial"));
    m_speech = fixture::makeSpeech({900, 1600, 1400, 1800}, {500, 450, 600, 500});
    QVERIFY(fixture::writeSound(path("lesson.wav"), m_speech.samples, m_speech.rate, fixture::Wav));
    QVERIFY(fixture::writeSound(path("lesson.mp3"), m_speech.samples, m_speech.rate, fixture::Mp3));
    m_lrcStarts.clear();
    QStringList lrc{"[ti:A Frog in the Forest]"};
    for (int i = 0; i < 4; ++i) {
        const int start = int(m_speech.speech[size_t(i)].first / 10 * 10) - (i == 0 ? 0 : 100);
        m_lrcStarts << start;
        lrc << lrcTime(start) + English[i] << lrcTime(start) + Chinese[i];
    }
    write("lesson.lrc", lrc);
    write("lesson.txt", English);
    write("lesson-zh.txt", Chinese);
    write("notes.txt", {"", "frog 青蛙", "", "protect 保护"});
}

void TestMakebookTool::write(const QString &name, const QStringList &lines, TextEncoding e)
{
    QVERIFY(WriteTextFile(path(name), lines, e));
}

void TestMakebookTool::checkLesson(const QString &book, int lessonNo, const QStringList &english,
                                   const QStringList &chinese, const QList<QPair<int, int>> &times)
{
    sentra::SentraBook b;
    QVERIFY2(b.open(book, false), qPrintable(b.lastError()));
    const auto lesson = b.readLesson(lessonNo);
    QVERIFY(lesson.has_value());
    QCOMPARE(lesson->sentences.size(), english.size());
    for (int i = 0; i < english.size(); ++i) {
        const sentra::SentenceData &s = lesson->sentences[i];
        QCOMPARE(s.english, english[i]);
        QCOMPARE(s.chinese, chinese[i]);
        QCOMPARE(s.isTitle, i == 0);
        QVERIFY2(qAbs(s.startMs - times[i].first) <= 1 && qAbs(s.endMs - times[i].second) <= 1,
                 qPrintable(QStringLiteral("sentence %1: %2-%3, expected %4-%5")
                                .arg(i).arg(s.startMs).arg(s.endMs).arg(times[i].first).arg(times[i].second)));
    }
    const auto info = b.lessonInfo(lessonNo);
    QVERIFY(info && info->hasTitle);
    QCOMPARE(info->title, english.first());
}

void TestMakebookTool::mp3WithLrc()
{
    MakeBookOptions o;
    o.book = path("我的课文/青蛙.dat");
    o.audio = path("lesson.mp3");
    o.lrc = path("lesson.lrc");
    o.comments = path("notes.txt");
    o.titleLine = true;
    const MakeBookResult r = BookMaker::run(o);
    QVERIFY2(!r.error.isError(), qPrintable(r.error.toString()));
    QCOMPARE(r.lessonNo, 0);
    QCOMPARE(r.sentenceCount, 4);

    const qint64 duration = AudioDecoder::decode(o.audio).durationMs;
    QVERIFY(duration > m_lrcStarts.last());
    checkLesson(o.book, 0, Plain, Chinese,
                {{m_lrcStarts[0], m_lrcStarts[1]}, {m_lrcStarts[1], m_lrcStarts[2]},
                 {m_lrcStarts[2], m_lrcStarts[3]}, {m_lrcStarts[3], int(duration)}});
    sentra::SentraBook b;
    QVERIFY(b.open(o.book, false));
    const auto lesson = b.readLesson(0);
    QCOMPARE(lesson->sentences[1].keywords, QList<int>{2});   // The *frog* ...
    QCOMPARE(lesson->sentences[3].keywords, QList<int>{4});   // ... to *protect* ...
    QCOMPARE(lesson->sentences[3].comment, QStringLiteral("protect 保护"));
    QCOMPARE(lesson->sentences[0].comment, QString());
    // The sentence sound is cut from the stored MP3: a whole sentence of samples.
    std::vector<qint16> cut;
    QVERIFY(b.cutSentence(1, cut));
    QVERIFY(qAbs(qint64(cut.size()) - qint64(qRound((m_lrcStarts[2] - m_lrcStarts[1]) * 22.05))) <= 1);
}

void TestMakebookTool::wavWithText()
{
    MakeBookOptions o;
    o.book = path("我的课文/青蛙.dat");
    o.audio = path("lesson.wav");
    o.text = path("lesson.txt");
    o.translation = path("lesson-zh.txt");
    o.titleLine = true;
    for (int lessonNo = 0; lessonNo < 2; ++lessonNo) {
        const MakeBookResult r = BookMaker::run(o);
        QVERIFY2(!r.error.isError(), qPrintable(r.error.toString()));
        QCOMPARE(r.lessonNo, lessonNo); // the second run adds the next lesson
    }
    sentra::SentraBook b;
    QVERIFY(b.open(o.book, false));
    QCOMPARE(b.lessonCount(), 2);
    QCOMPARE(b.lessonInfo(1)->firstSentence, 4);
    const auto lesson = b.readLesson(1);
    QVERIFY(lesson.has_value());
    QCOMPARE(lesson->sentences.size(), 4);
    // Each boundary lies inside the pause after its sentence, keeping the speech whole.
    for (int i = 0; i < 4; ++i) {
        const auto &s = lesson->sentences[i];
        QCOMPARE(s.english, Plain[i]);
        QCOMPARE(s.chinese, Chinese[i]);
        QVERIFY(s.startMs <= m_speech.speech[size_t(i)].first);
        QVERIFY(s.endMs >= m_speech.speech[size_t(i)].second + 150);
        if (i < 3)
            QVERIFY(s.endMs <= m_speech.pauses[size_t(i)].second);
    }
    QCOMPARE(lesson->sentences[3].endMs, int(m_speech.samples.size() * 1000 / size_t(m_speech.rate)));
}

void TestMakebookTool::lrcEncodings_data()
{
    QTest::addColumn<QByteArray>("bom");
    QTest::addColumn<QString>("codec"); // "gbk", "utf-8", "utf-16le", "utf-16be"
    QTest::addRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF") << "utf-8";
    QTest::addRow("GBK") << QByteArray() << "gbk";
    QTest::addRow("UTF-16 little endian") << QByteArray("\xFF\xFE") << "utf-16le";
    QTest::addRow("UTF-16 big endian") << QByteArray("\xFE\xFF") << "utf-16be";
}

void TestMakebookTool::lrcEncodings()
{
    QFETCH(QByteArray, bom);
    QFETCH(QString, codec);
    QFile in(path("lesson.lrc"));
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(in.readAll());
    QByteArray bytes = bom;
    if (codec == "gbk")
        bytes += EncodeText(text, TextEncoding::Gb18030);
    else if (codec == "utf-8")
        bytes += text.toUtf8();
    else
        bytes += QStringEncoder(codec == "utf-16le" ? QStringConverter::Utf16LE : QStringConverter::Utf16BE)(text);
    QFile out(path("encoded.lrc"));
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();
    MakeBookOptions o;
    o.book = path("我的课文/青蛙.dat");
    o.audio = path("lesson.wav");
    o.lrc = out.fileName();
    o.titleLine = true;
    const MakeBookResult r = BookMaker::run(o);
    QVERIFY2(!r.error.isError(), qPrintable(r.error.toString()));
    const qint64 duration = AudioDecoder::decode(o.audio).durationMs;
    checkLesson(o.book, 0, Plain, Chinese,
                {{m_lrcStarts[0], m_lrcStarts[1]}, {m_lrcStarts[1], m_lrcStarts[2]},
                 {m_lrcStarts[2], m_lrcStarts[3]}, {m_lrcStarts[3], int(duration)}});
}

static const QStringList Index{"CLAS0001科技与健康||brxspecial", "CLAS0002科学发现",
                               "FILE小青蛙|sentra|小青蛙.dat|0|0", "CLAS0002健康生活",
                               "FILE饭后散步|sentra|饭后散步.dat|0|0", "CLAS0001我的课文||我的课文"};

void TestMakebookTool::addsToIndex_data()
{
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("book");
    QTest::addColumn<int>("line");  // 0-based line of the new FILE line
    QTest::addColumn<int>("added"); // lines added, category lines included
    for (const TextEncoding e : {TextEncoding::Utf8, TextEncoding::Gb18030}) {
        const char *tag = e == TextEncoding::Utf8 ? "utf-8" : "gbk";
        QTest::addRow("%s, existing category", tag) << int(e) << "科技与健康/科学发现" << "brxspecial/新书.dat" << 3 << 1;
        QTest::addRow("%s, new sub-category", tag) << int(e) << "科技与健康/动物" << "brxspecial/新书.dat" << 6 << 2;
        QTest::addRow("%s, new top category", tag) << int(e) << "新闻听力/慢速" << "听力/新书.dat" << 8 << 3;
        QTest::addRow("%s, Chinese library folder", tag) << int(e) << "我的课文" << "我的课文/新书.dat" << 6 << 1;
    }
}

void TestMakebookTool::addsToIndex()
{
    QFETCH(int, encoding);
    QFETCH(QString, category);
    QFETCH(QString, book);
    QFETCH(int, line);
    QFETCH(int, added);
    QVERIFY(QDir(m_dir->path()).mkpath("听力"));
    write("BrxSpecialIdx.txt", Index, TextEncoding(encoding));
    MakeBookOptions o;
    o.book = path(book);
    o.audio = path("lesson.wav");
    o.text = path("lesson.txt");
    o.titleLine = true;
    o.index = path("BrxSpecialIdx.txt");
    o.category = category;
    // Without --title the title line names the article.
    o.title = category == "我的课文" ? QString() : QStringLiteral("森林里的青蛙");
    const MakeBookResult r = BookMaker::run(o);
    QVERIFY2(!r.error.isError(), qPrintable(r.error.toString()));
    if (o.title.isEmpty())
        o.title = English.first();
    QCOMPARE(r.indexLine, QStringLiteral("FILE%1|sentra|新书.dat|0|0").arg(o.title));

    const TextFileContent c = ReadTextFile(o.index);
    QCOMPARE(int(c.encoding), encoding);
    QCOMPARE(c.lines.value(line), r.indexLine);
    QCOMPARE(c.lines.size(), Index.size() + added);
    // The library tree shows it under the category, and its folder + book name is the book.
    const IndexTree tree(c.lines);
    bool found = false;
    for (int i = 0; i < tree.nodes().size(); ++i) {
        const IndexNode &n = tree.nodes()[i];
        if (n.isArticle && n.name == o.title) {
            found = true;
            QCOMPARE(tree.categoryPathOf(i).join('/'), category);
            QCOMPARE(QFileInfo(QDir(m_dir->path()).filePath(n.folder + '/' + n.bookFile)).canonicalFilePath(),
                     QFileInfo(o.book).canonicalFilePath());
        }
    }
    QVERIFY(found);
}

static QByteArray digestOf(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return "missing";
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

void TestMakebookTool::refusesBadInput_data()
{
    QTest::addColumn<QString>("option");   // which option to change
    QTest::addColumn<QStringList>("value"); // file lines, or the value itself for plain options
    QTest::addColumn<QString>("file");     // the file the message must name
    QTest::addColumn<int>("line");
    QTest::addRow("missing sound file") << "audio" << QStringList{"nothing.mp3"} << "nothing.mp3" << 0;
    QTest::addRow("sound file that is not sound") << "audio-bytes" << QStringList{"not a sound"} << "bad.wav" << 0;
    QTest::addRow("missing LRC") << "lrc" << QStringList() << "missing.lrc" << 0;
    QTest::addRow("LRC times out of order")
        << "lrc-lines" << QStringList{"[00:00.00]Title", "[00:02.00]One.", "[00:01.50]Two."} << "bad.lrc" << 3;
    QTest::addRow("LRC time past the end of the sound")
        << "lrc-lines" << QStringList{"[00:00.00]Title", "[00:02.00]One.", "[09:00.00]Two."} << "bad.lrc" << 3;
    QTest::addRow("translation with a line too many")
        << "translation" << QStringList{"一", "二", "三", "四", "五"} << "bad-zh.txt" << 5;
    QTest::addRow("comments with too few lines") << "comments" << QStringList{"一", "二"} << "bad-notes.txt" << 2;
    QTest::addRow("text with more sentences than pauses")
        << "text" << QStringList{"T", "a", "b", "c", "d", "e", "f"} << "lesson.wav" << 0;
    QTest::addRow("title line and nothing else") << "text" << QStringList{"", "Only a title"} << "bad.txt" << 2;
    QTest::addRow("key-word mark left open") << "text" << QStringList{"T", "a *b", "c", "d"} << "bad.txt" << 2;
    QTest::addRow("more than 3501 sentences") << "lrc-many" << QStringList() << "bad.lrc" << 3503;
    QTest::addRow("book outside the category's folder") << "category" << QStringList{"科技与健康/科学发现"}
                                                       << "我的课文/青蛙.dat" << 0;
    QTest::addRow("book file that is not a book") << "broken-book" << QStringList() << "坏书.dat" << 0;
    QTest::addRow("subtitle cue past the end of the sound")
        << "subtitles" << QStringList{"1", "00:00:00,500 --> 00:00:02,000", "One.", "", "2",
                                      "00:09:00,000 --> 00:09:01,000", "Two."} << "bad.srt" << 6;
    QTest::addRow("subtitles out of order")
        << "subtitles" << QStringList{"00:00:02,000 --> 00:00:03,000", "One.", "", "00:00:01,000 --> 00:00:01,500",
                                      "Two."} << "bad.srt" << 4;
}

void TestMakebookTool::refusesBadInput()
{
    QFETCH(QString, option);
    QFETCH(QStringList, value);
    QFETCH(QString, file);
    QFETCH(int, line);
    // An existing book with one lesson and a GBK index that lists it.
    write("BrxSpecialIdx.txt", Index + QStringList{"FILE已有|sentra|青蛙.dat|0|0"}, TextEncoding::Gb18030);
    MakeBookOptions o;
    o.book = path("我的课文/青蛙.dat");
    o.audio = path("lesson.wav");
    o.text = path("lesson.txt");
    o.titleLine = true;
    QVERIFY(!BookMaker::run(o).error.isError());
    o.index = path("BrxSpecialIdx.txt");
    o.category = "我的课文";
    o.title = "新课";

    if (option == "audio") {
        o.audio = path(value.first());
    } else if (option == "audio-bytes") {
        QFile f(path(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(value.first().toUtf8());
        f.close();
        o.audio = f.fileName();
    } else if (option == "lrc") {
        o.text.clear();
        o.lrc = path("missing.lrc");
    } else if (option == "lrc-lines") {
        write("bad.lrc", value);
        o.text.clear();
        o.lrc = path("bad.lrc");
    } else if (option == "lrc-many") {
        const std::vector<float> quiet(size_t(8000) * 40, 0.01f);
        QVERIFY(fixture::writeSound(path("long.wav"), quiet, 8000, fixture::Wav));
        QStringList lines{"[ti:many]"};
        for (int i = 0; i < 3502; ++i)
            lines << lrcTime(i * 10) + QStringLiteral("Sentence %1.").arg(i);
        write("bad.lrc", lines);
        o.audio = path("long.wav");
        o.text.clear();
        o.lrc = path("bad.lrc");
    } else if (option == "subtitles") {
        write("bad.srt", value);
        o.text.clear();
        o.subtitles = path("bad.srt");
    } else if (option == "translation") {
        write("bad-zh.txt", value);
        o.translation = path("bad-zh.txt");
    } else if (option == "comments") {
        write("bad-notes.txt", value);
        o.comments = path("bad-notes.txt");
    } else if (option == "text") {
        write("bad.txt", value);
        o.text = path("bad.txt");
    } else if (option == "category") {
        o.category = value.first();
    } else if (option == "broken-book") {
        QFile f(path("我的课文/坏书.dat"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
        f.close();
        o.book = f.fileName();
    }

    QMap<QString, QByteArray> before;
    for (QDirIterator it(m_dir->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString f = it.next();
        before[f] = digestOf(f);
    }
    const MakeBookResult r = BookMaker::run(o);
    QVERIFY(r.error.isError());
    QVERIFY2(r.error.file.endsWith(file), qPrintable(r.error.toString()));
    QCOMPARE(r.error.line, line);
    QVERIFY(r.error.toString().contains(file));
    // Nothing changed, nothing added, nothing left behind.
    QMap<QString, QByteArray> after;
    for (QDirIterator it(m_dir->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString f = it.next();
        after[f] = digestOf(f);
    }
    QCOMPARE(after.keys(), before.keys());
    QVERIFY(after == before);
}

// Everything in the folder with a digest of its bytes.
static QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString f = it.next();
        files[f] = digestOf(f);
    }
    return files;
}

void TestMakebookTool::cancelChangesNothing()
{
    write("BrxSpecialIdx.txt", Index, TextEncoding::Gb18030);
    MakeBookOptions o;
    o.book = path("我的课文/青蛙.dat");
    o.audio = path("lesson.mp3");
    o.lrc = path("lesson.lrc");
    o.titleLine = true;
    QVERIFY(!BookMaker::run(o).error.isError());
    o.index = path("BrxSpecialIdx.txt");
    o.category = "我的课文";
    const auto before = snapshot(m_dir->path());
    QList<int> heard;
    const MakeBookResult r = BookMaker::run(o, [&heard](int percent) {
        heard << percent;
        return percent < 40;
    });
    QVERIFY(r.cancelled);
    QCOMPARE(r.error.message, BookMaker::CancelledMessage);
    QVERIFY(heard.size() >= 2 && heard.last() >= 40 && heard.first() < 40);
    QVERIFY(snapshot(m_dir->path()) == before);
}

// Subtitle times as SRT and WebVTT write them.
static QString srtTime(qint64 ms, QChar point = QLatin1Char(','))
{
    return QStringLiteral("%1:%2:%3%4%5")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(point)
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

void TestMakebookTool::bilingualSrt()
{
    // A GBK file with CR LF line ends, a music cue, markup, and cues that end before the next begins.
    QStringList lines;
    QList<QPair<int, int>> times;
    int number = 1;
    lines << QString::number(number++) << srtTime(0) + " --> " + srtTime(150) << "[Music]" << "";
    for (int i = 0; i < 4; ++i) {
        const int start = int(m_speech.speech[size_t(i)].first) - 100;
        const int end = int(m_speech.speech[size_t(i)].second) + 100;
        times << qMakePair(start, end);
        lines << QString::number(number++) << srtTime(start) + " --> " + srtTime(end) << "<i>" + English[i] + "</i>"
              << Chinese[i] << "";
    }
    QFile f(path("lesson.srt"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(EncodeText(lines.join("\r\n"), TextEncoding::Gb18030));
    f.close();

    MakeBookOptions o;
    o.book = path("我的课文/青蛙.dat");
    o.audio = path("lesson.mp3");
    o.subtitles = f.fileName();
    o.titleLine = true;
    const MakeBookResult r = BookMaker::run(o);
    QVERIFY2(!r.error.isError(), qPrintable(r.error.toString()));
    QCOMPARE(r.sentenceCount, 4);
    QCOMPARE(r.skippedCues, 1);
    checkLesson(o.book, 0, Plain, Chinese, times);
}

void TestMakebookTool::webVttRegrouped()
{
    // Two sentences in the first cue, the third over two cues, the Chinese with the cues.
    const QStringList english{"Frogs live in forests.", "The frog is very small.", "It lives high in the mountains.",
                              "Scientists want to protect its home."};
    const auto &sp = m_speech.speech;
    const qint64 middle = (sp[2].first + sp[2].second) / 2;
    const QStringList vtt{
        "WEBVTT", "", "NOTE made for the test", "",
        "a", srtTime(sp[0].first - 100, '.') + " --> " + srtTime(sp[1].second + 50, '.') + " line:90%",
        "<v Tom>" + english[0] + " " + english[1], "青蛙住在森林里。这种青蛙非常小。", "",
        "b", srtTime(sp[2].first - 100, '.') + " --> " + srtTime(middle, '.'), "It lives high", "它生活在", "",
        "c", srtTime(middle, '.') + " --> " + srtTime(sp[2].second + 100, '.'), "in the mountains.", "高山上。", "",
        "d", srtTime(sp[3].first - 100, '.') + " --> " + srtTime(sp[3].second + 100, '.'), english[3],
        "科学家想保护它的家园。"};
    write("lesson.vtt", vtt);
    const QString tool = QStringLiteral(MVX_HOME) + "/mvxbrx-makebook";
    QProcess p;
    p.start(tool, {"--book", path("我的课文/青蛙.dat"), "--audio", path("lesson.wav"), "--subtitles",
                   path("lesson.vtt"), "--regroup"});
    QVERIFY(p.waitForFinished(30000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());

    p.start(tool, {"--book", path("我的课文/青蛙.dat"), "--list"});
    QVERIFY(p.waitForFinished(30000));
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    const QStringList chinese{"青蛙住在森林里。这种青蛙非常小。", "", "它生活在 高山上。", "科学家想保护它的家园。"};
    for (int i = 0; i < 4; ++i) {
        const QStringList f = lines[i].split('\t');
        QCOMPARE(f.value(4), english[i]);
        QCOMPARE(f.value(5), chinese[i]);
    }
    // The first cue is split inside the pause between its two sentences.
    const int split = lines[0].split('\t')[3].toInt();
    QCOMPARE(lines[1].split('\t')[2].toInt(), split);
    QVERIFY2(split >= sp[0].second && split <= sp[1].first, qPrintable(QString::number(split)));
    QCOMPARE(lines[0].split('\t')[2].toInt(), int(sp[0].first - 100));
    QCOMPARE(lines[2].split('\t')[2].toInt(), int(sp[2].first - 100));
    QCOMPARE(lines[2].split('\t')[3].toInt(), int(sp[2].second + 100));
}

void TestMakebookTool::commandLine()
{
    const QString tool = QStringLiteral(MVX_HOME) + "/mvxbrx-makebook";
    QProcess p;
    p.start(tool, {"--book", path("我的课文/青蛙.dat"), "--audio", path("lesson.mp3"), "--lrc", path("lesson.lrc"),
                   "--title-line"});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);

    p.start(tool, {"--book", path("我的课文/青蛙.dat"), "--list"});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    // The heard times follow the maker's times; they are the same until the learner nudges.
    QCOMPARE(lines[1], QStringLiteral("0\t1\t%1\t%2\tThe frog is very small.\t这种青蛙非常小。\t%1\t%2")
                           .arg(m_lrcStarts[1]).arg(m_lrcStarts[2]));
    // After the learner's nudges: the maker's times stay, the heard ones move.
    {
        mvx::sentra::SentraBook book;
        QVERIFY(book.open(path("我的课文/青蛙.dat"), true));
        QVERIFY(book.nudgeSentence(1, mvx::sentra::SentenceEdge::Start, 40));
        QVERIFY(book.nudgeSentence(1, mvx::sentra::SentenceEdge::End, -30));
    }
    p.start(tool, {"--book", path("我的课文/青蛙.dat"), "--list"});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).value(1),
             QStringLiteral("0\t1\t%1\t%2\tThe frog is very small.\t这种青蛙非常小。\t%3\t%4")
                 .arg(m_lrcStarts[1]).arg(m_lrcStarts[2]).arg(m_lrcStarts[1] + 40).arg(m_lrcStarts[2] - 30));

    // A refusal: exit code 1, the file and line on stderr, the book as it was.
    const QByteArray book = digestOf(path("我的课文/青蛙.dat"));
    write("bad.lrc", {"[00:02.00]One.", "[00:01.00]Two."});
    p.start(tool, {"--book", path("我的课文/青蛙.dat"), "--audio", path("lesson.mp3"), "--lrc", path("bad.lrc")});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(path("bad.lrc") + ":2:"));
    QCOMPARE(digestOf(path("我的课文/青蛙.dat")), book);
}

QTEST_GUILESS_MAIN(TestMakebookTool)
#include "test_makebook_tool.moc"
