// Checking a typed dictation against the sentence: which words count as the same (contractions,
// numbers, years, percent, apostrophes, hyphens, full-width forms) and how the answer is shown.
#include "notedict/DictationCompare.h"

#include <QtTest>

using namespace mvx;

namespace {

// The answer as shown: a right word plain, "!" before a wrong one, "-" before an extra one,
// "＿" for each missing word of the text.
QString Shown(const DictationResult &r)
{
    QStringList out;
    for (const DictationMark &m : r.shown) {
        const char *prefix = m.kind == DictationMark::Wrong ? "!" : m.kind == DictationMark::Extra ? "-" : "";
        out << QLatin1String(prefix) + m.text;
    }
    return out.join(QLatin1Char(' '));
}

} // namespace

class TestNotedictDictation : public QObject
{
    Q_OBJECT

private slots:
    void compare_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("score");
        QTest::addColumn<QString>("shown");
        QTest::addRow("all right, case and punctuation ignored")
            << "Farmers said the rain came early." << "farmers SAID the rain came early" << "6/6"
            << "farmers SAID the rain came early";
        QTest::addRow("wrong, missing and extra")
            << "The rain came early this year." << "the rein came very early year" << "4/6"
            << "the !rein came -very early ＿ year";
        QTest::addRow("empty answer") << "It rained." << "" << "0/2" << "＿ ＿";
        QTest::addRow("only extra words") << "" << "hello there" << "0/0" << "-hello -there";
        QTest::addRow("can't = can not = cannot") << "We can't stop it." << "we cannot stop it" << "4/4"
                                                  << "we cannot stop it";
        QTest::addRow("won't and they're") << "They won't come, they're late." << "they will not come they are late"
                                           << "5/5" << "they will not come they are late";
        QTest::addRow("half a contraction is wrong") << "They don't know." << "they do know" << "2/3"
                                                    << "they !do know";
        QTest::addRow("it's is it is, its is not") << "It's its own way." << "its its own way" << "3/4"
                                                   << "!its its own way";
        QTest::addRow("possessive stays") << "John's dog barked." << "johns dog barked" << "2/3"
                                          << "!johns dog barked";
        QTest::addRow("typographic apostrophe, full width") << "It’s ＧＯＯＤ." << "it's good" << "2/2" << "it's good";
        QTest::addRow("hyphen is a blank") << "A well-known sign." << "a well known sign" << "3/3"
                                           << "a well known sign";
        QTest::addRow("digits and words") << "He paid 1,200 dollars." << "he paid one thousand two hundred dollars"
                                          << "4/4" << "he paid one thousand two hundred dollars";
        QTest::addRow("optional and") << "About 305 people." << "about three hundred and five people" << "3/3"
                                      << "about three hundred and five people";
        QTest::addRow("year pair") << "In 1998 it began." << "in nineteen ninety-eight it began" << "4/4"
                                   << "in nineteen ninety-eight it began";
        QTest::addRow("ordinal") << "The 21st year." << "the twenty-first year" << "3/3" << "the twenty-first year";
        QTest::addRow("wrong number") << "It fell 3.5%." << "it fell 3.6 percent" << "2/3" << "it fell !3.6 !percent"; // one word of the text, wrong as a whole
        QTest::addRow("percent three ways") << "It fell 3.5%." << "it fell 3.5 per cent" << "3/3"
                                            << "it fell 3.5 per cent";
        QTest::addRow("decimal zeros") << "Prices rose 2.50 cents." << "prices rose 2.5 cents" << "4/4"
                                       << "prices rose 2.5 cents";
    }
    void compare()
    {
        QFETCH(QString, text);
        QFETCH(QString, typed);
        QFETCH(QString, score);
        QFETCH(QString, shown);
        const DictationResult r = CompareDictation(text, typed);
        QCOMPARE(QStringLiteral("%1/%2").arg(r.right).arg(r.total), score);
        QCOMPARE(Shown(r), shown);
    }

    // The text's own words keep their verdicts for the "show the English" step.
    void textWordsCarryTheirVerdicts()
    {
        const DictationResult r = CompareDictation(QStringLiteral("I can't see 20 birds."),
                                                   QStringLiteral("I can see twenty"));
        QStringList marks;
        for (const DictationMark &m : r.textWords)
            marks << QStringLiteral("%1:%2").arg(m.text).arg(int(m.kind));
        QCOMPARE(marks, (QStringList{"I:0", "can't:1", "see:0", "20:0", "birds:3"}));
    }
};

QTEST_GUILESS_MAIN(TestNotedictDictation)
#include "test_notedict_dictation.moc"
