// Subtitles as they are found (SRT and WebVTT, bilingual, with markup and sound labels),
// what is refused, and how cues are regrouped into sentences.
#include "libs/bookmaker/SubtitleParser.h"
#include "libs/bookmaker/SubtitleSentences.h"

#include <QTest>

using namespace mvx;

Q_DECLARE_METATYPE(QList<mvx::SubtitleCue>)
Q_DECLARE_METATYPE(QList<mvx::PauseSpan>)

class TestMakebookSubtitles : public QObject
{
    Q_OBJECT
private slots:
    void cues_data();
    void cues();
    void refused_data();
    void refused();
    void sentenceEnds_data();
    void sentenceEnds();
    void regroup_data();
    void regroup();
};

// Cues or sentences as "start-end:english/chinese", joined with " | ".
template <typename T>
static QString describe(const QList<T> &items)
{
    QStringList parts;
    for (const T &s : items)
        parts << QStringLiteral("%1-%2:%3/%4").arg(s.startMs).arg(s.endMs).arg(s.english, s.chinese);
    return parts.join(QStringLiteral(" | "));
}

void TestMakebookSubtitles::cues_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("skipped");
    QTest::addRow("bilingual SRT, Chinese first or second")
        << QStringList{"1", "00:00:01,000 --> 00:00:02,500", "Hello there.", "你好。", "",
                       "2", "00:00:03,000 --> 00:00:04,000", "再见。", "Goodbye."}
        << "1000-2500:Hello there./你好。 | 3000-4000:Goodbye./再见。" << 0;
    QTest::addRow("lines of one kind joined, a mixed line by its majority")
        << QStringList{"1", "00:01:00,000 --> 00:01:05,000", "I bought an", "iPhone yesterday.", "我昨天买了", "一部iPhone手机"}
        << "60000-65000:I bought an iPhone yesterday./我昨天买了 一部iPhone手机" << 0;
    QTest::addRow("markup, overrides and entities")
        << QStringList{"7", "00:00:01,000 --> 00:00:02,000", "{\\an8}<i>Tom &amp; Jerry</i> <font color=\"#ff0\">said</font>",
                       "<b>&quot;hi&quot;</b> &#39;there&#x27; &lt;3"}
        << "1000-2000:Tom & Jerry said \"hi\" 'there' <3/" << 0;
    QTest::addRow("sound labels and cues without letters are skipped")
        << QStringList{"1", "00:00:01,000 --> 00:00:02,000", "[Music]", "", "2", "00:00:02,000 --> 00:00:03,000",
                       "(applause)", "（掌声）", "", "3", "00:00:03,000 --> 00:00:04,000", "♪ la la la ♪", "",
                       "4", "00:00:04,000 --> 00:00:05,000", "...", "", "5", "00:00:05,000 --> 00:00:06,000",
                       "(laughs) Thank you."}
        << "5000-6000:(laughs) Thank you./" << 4;
    QTest::addRow("WebVTT: header, NOTE, STYLE, REGION, identifiers, settings, voices, classes, timestamps")
        << QStringList{"WEBVTT - a lesson", "Kind: captions", "Language: en", "", "NOTE made by hand", "over two lines",
                       "", "STYLE", "::cue { color: yellow }", "", "REGION", "id:low", "",
                       "intro", "00:01.000 --> 00:02.500 align:start position:10%", "<v Anna>Good <c.loud>morning</c>.</v>",
                       "<v.zh Anna>早上好。", "", "01:00:03.000 --> 01:00:04.000",
                       "One <00:00:03.500>two <00:00:03.800>three."}
        << "1000-2500:Good morning./早上好。 | 3603000-3604000:One two three./" << 0;
    QTest::addRow("a small overlap comes off the earlier cue")
        << QStringList{"00:00:01,000 --> 00:00:02,400", "One.", "", "00:00:02,000 --> 00:00:03,000", "Two."}
        << "1000-2000:One./ | 2000-3000:Two./" << 0;
    QTest::addRow("byte order mark, two blank lines, a full stop in SRT times")
        << QStringList{QString(QChar(0xFEFF)) + "1", "00:00:00,500 --> 00:00:01,000", "Yes.", "", "", "2",
                       "00:00:01.000 --> 00:00:02.000", "No."}
        << "500-1000:Yes./ | 1000-2000:No./" << 0;
    QTest::addRow("a cue with Chinese only")
        << QStringList{"1", "00:00:01,000 --> 00:00:02,000", "中文。", "", "2", "00:00:02,000 --> 00:00:03,000", "Two."}
        << "1000-2000:/中文。 | 2000-3000:Two./" << 0;
}

void TestMakebookSubtitles::cues()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, expected);
    QFETCH(int, skipped);
    const SubtitleResult r = SubtitleParser::parse(lines, QStringLiteral("a.srt"));
    QVERIFY2(!r.error.isError(), qPrintable(r.error.toString()));
    QCOMPARE(describe(r.cues), expected);
    QCOMPARE(r.skipped, skipped);
    QCOMPARE(r.webVtt, lines.first().startsWith("WEBVTT"));
}

void TestMakebookSubtitles::refused_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("line");
    QTest::addRow("times out of order")
        << QStringList{"1", "00:00:05,000 --> 00:00:06,000", "A.", "", "2", "00:00:04,000 --> 00:00:04,500", "B."} << 6;
    QTest::addRow("overlap of more than 500 ms")
        << QStringList{"1", "00:00:01,000 --> 00:00:03,000", "A.", "", "2", "00:00:02,400 --> 00:00:04,000", "B."} << 6;
    QTest::addRow("end before its start") << QStringList{"1", "00:00:03,000 --> 00:00:02,000", "A."} << 2;
    QTest::addRow("end equal to its start") << QStringList{"00:00:03,000 --> 00:00:03,000", "A."} << 1;
    QTest::addRow("time line that is not one") << QStringList{"1", "00:00:03 --> later", "A."} << 2;
    QTest::addRow("seconds past 59") << QStringList{"1", "00:00:75,000 --> 00:01:20,000", "A."} << 2;
    QTest::addRow("text block without a time line")
        << QStringList{"1", "00:00:01,000 --> 00:00:02,000", "A.", "", "2", "B.", "C."} << 5;
    QTest::addRow("no usable cue")
        << QStringList{"WEBVTT", "", "00:01.000 --> 00:02.000", "[Music]", "", "00:03.000 --> 00:04.000", "♪"} << 0;
    QTest::addRow("empty file") << QStringList{} << 0;
}

void TestMakebookSubtitles::refused()
{
    QFETCH(QStringList, lines);
    QFETCH(int, line);
    const SubtitleResult r = SubtitleParser::parse(lines, QStringLiteral("a.srt"));
    QVERIFY(r.error.isError());
    QVERIFY(r.cues.isEmpty());
    QCOMPARE(r.error.file, QStringLiteral("a.srt"));
    QCOMPARE(r.error.line, line);
}

void TestMakebookSubtitles::sentenceEnds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("ends");
    QTest::addRow("two sentences") << "It rains. We stay." << QList<int>{9, 18};
    QTest::addRow("question and exclamation") << "Why? Now!" << QList<int>{4, 9};
    QTest::addRow("closing quote after the stop") << "He said \"go.\" Then" << QList<int>{13};
    QTest::addRow("titles and initials") << "Mr. Li met Dr. Wang and John F. Kennedy." << QList<int>{40};
    QTest::addRow("U.S. and Mrs.") << "The U.S. team met Mrs. Smith." << QList<int>{29};
    QTest::addRow("a number with a point") << "It grew 3.5 percent" << QList<int>{};
    QTest::addRow("an ellipsis goes on") << "I think... maybe" << QList<int>{};
    QTest::addRow("Chinese stops") << "好。再见！" << QList<int>{2, 5};
    QTest::addRow("?! together") << "Really?! Yes." << QList<int>{8, 13};
}

void TestMakebookSubtitles::sentenceEnds()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, ends);
    QCOMPARE(SubtitleSentences::sentenceEnds(text), ends);
}

void TestMakebookSubtitles::regroup_data()
{
    QTest::addColumn<QList<SubtitleCue>>("cues");
    QTest::addColumn<QList<PauseSpan>>("pauses");
    QTest::addColumn<QString>("expected");
    using C = SubtitleCue;
    QTest::addRow("cues joined until the sentence ends")
        << QList<C>{{1000, 2000, "The frog", "这只青蛙", 1}, {2000, 3000, "is small.", "很小。", 5}, {3500, 4000, "Yes.", "是的。", 9}}
        << QList<PauseSpan>{} << "1000-3000:The frog is small./这只青蛙 很小。 | 3500-4000:Yes./是的。";
    QTest::addRow("a split falls in the longest pause near the split point")
        << QList<C>{{0, 4000, "One two three. Four five six.", "一二三。四五六。", 1}}
        << QList<PauseSpan>{{1500, 1650}, {1800, 2200}, {3000, 3500}}
        << "0-2050:One two three./一二三。四五六。 | 2050-4000:Four five six./";
    QTest::addRow("without a pause the time is shared by characters")
        << QList<C>{{1000, 2000, "Yes. No way now.", "", 1}} << QList<PauseSpan>{}
        << "1000-1250:Yes./ | 1250-2000:No way now./";
    QTest::addRow("a pause far from the split point is not used")
        << QList<C>{{0, 10000, "Yes. No way, this is far too long for one.", "", 1}} << QList<PauseSpan>{{8000, 9000}}
        << "0-952:Yes./ | 952-10000:No way, this is far too long for one./";
    QTest::addRow("the Chinese goes where the cue's English starts")
        << QList<C>{{0, 2000, "It rains. We", "下雨了。我们", 1}, {2000, 3000, "stay home.", "待在家里。", 4}}
        << QList<PauseSpan>{{1000, 1300}}
        << "0-1150:It rains./下雨了。我们 | 1150-3000:We stay home./待在家里。";
    QTest::addRow("an open sentence ends with the last cue")
        << QList<C>{{0, 1000, "No stop", "", 1}, {1000, 2000, "at all", "", 3}} << QList<PauseSpan>{}
        << "0-2000:No stop at all/";
    // Found by fuzzing: pieces of a very short cue ended before they started.
    QTest::addRow("a cue too short to split stays whole")
        << QList<C>{{500, 501, "One. Two. Three.", "", 1}} << QList<PauseSpan>{} << "500-501:One. Two. Three./";
    QTest::addRow("every piece of a short cue keeps a millisecond")
        << QList<C>{{0, 3, "Go. Run. Stop.", "", 1}} << QList<PauseSpan>{{0, 3}} << "0-1:Go./ | 1-2:Run./ | 2-3:Stop./";
    QTest::addRow("Chinese-only cue joins the sentence before")
        << QList<C>{{0, 1000, "Hi.", "", 1}, {1000, 2000, "", "嗨。", 3}, {2000, 3000, "Bye.", "", 5}} << QList<PauseSpan>{}
        << "0-1000:Hi./嗨。 | 2000-3000:Bye./";
}

void TestMakebookSubtitles::regroup()
{
    QFETCH(QList<SubtitleCue>, cues);
    QFETCH(QList<PauseSpan>, pauses);
    QFETCH(QString, expected);
    QCOMPARE(describe(SubtitleSentences::regroup(cues, pauses)), expected);
}

QTEST_GUILESS_MAIN(TestMakebookSubtitles)
#include "test_makebook_subtitles.moc"
