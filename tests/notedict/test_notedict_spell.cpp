// The spelling window headless over a real book and the real media back end: the sentence
// plays on arrival and on Ctrl+R as the level allows, Enter checks, shows the English, the
// Chinese, then goes on; the closing test ends with its score; bad ranges open no window.
#include "../sentra/SentraFixtures.h"

#include "notedict/DictationSession.h"
#include "notedict/ui/NoteDictWindows.h"
#include "notedict/ui/SpellForm.h"
#include "core/AppState.h"
#include "ui/MessageBox.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>

using namespace mvx;

class TestNotedictSpell : public QObject
{
    Q_OBJECT

    QString m_book;
    QStringList m_messages;

    static void Type(SpellForm &form, const QString &text)
    {
        form.Answer()->setFocus();
        QTest::keyClicks(form.Answer(), text);
        QTest::keyClick(form.Answer(), Qt::Key_Return);
    }

private slots:
    void initTestCase()
    {
        QDir::setCurrent(fixtures::tmpDir());
        App().skinRoot = QStringLiteral(MVX_HOME "/ecminterface");
        m_book = fixtures::makeBook(QStringLiteral("spell.dat"), {fixtures::sampleLesson()});
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return 1;
        });
    }
    void init() { m_messages.clear(); }

    void dictatesASentenceStepByStep()
    {
        SpellForm form(nullptr, false);
        QString error;
        QVERIFY2(form.Start(m_book, 1, 3, 2, &error), qPrintable(error));
        form.show();
        QCOMPARE(form.ProgressText(), QStringLiteral("第 1/3 句"));
        QCOMPARE(form.PlayCount(), 1); // played on arrival
        QVERIFY(QTest::qWaitFor([&] { return form.Media().openState() == MediaPlayerInterface::MediaOpen; }, 5000));
        QTest::keyClick(form.Answer(), Qt::Key_R, Qt::ControlModifier);
        QTest::keyClick(form.Answer(), Qt::Key_R, Qt::ControlModifier); // level 2: no third time
        QCOMPARE(form.PlayCount(), 2);

        Type(form, QStringLiteral("farmers in the nort said the rain came"));
        QCOMPARE(form.ResultText(), QStringLiteral("farmers in the nort said the rain came ＿  7/9"));
        QTest::keyClick(form.Answer(), Qt::Key_Return);
        if (const QString shot = qEnvironmentVariable("MVX_SPELL_SCREENSHOT"); !shot.isEmpty())
            form.grab().save(shot);
        QCOMPARE(form.EnglishText(), QStringLiteral("显示英文：Farmers in the north said the rain came early."));
        QTest::keyClick(form.Answer(), Qt::Key_Return);
        QCOMPARE(form.ChineseText(), QStringLiteral("显示中文：北方的农民说雨来得早。"));
        QTest::keyClick(form.Answer(), Qt::Key_Return);
        QCOMPARE(form.ProgressText(), QStringLiteral("第 2/3 句"));
        QCOMPARE(form.PlayCount(), 3);
        QVERIFY(form.Answer()->text().isEmpty() && form.ResultText().isEmpty());

        // Over 2,000 characters is refused and checks nothing.
        form.Answer()->setText(QString(2001, QLatin1Char('a')));
        QTest::keyClick(form.Answer(), Qt::Key_Return);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(form.Session().CurrentStep(), DictationSession::Typing);
        form.close();
    }

    // The closing test runs to its end and tells the score; an empty answer counts as all
    // missing.
    void closingTestEndsWithTheScore()
    {
        SpellForm form(nullptr, true);
        QVERIFY(form.Start(m_book, 3, 1, 8, nullptr));
        form.show();
        Type(form, QString());
        QCOMPARE(form.ResultText(), QStringLiteral("＿ ＿ ＿ ＿ ＿ ＿ ＿ ＿  0/8"));
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(form.Answer(), Qt::Key_Return);
        QCOMPARE(m_messages, QStringList{QStringLiteral("测验完成：共 1 句，听写正确 0/8 个单词（0%）")});
        QVERIFY(!form.isVisible());
    }

    // Each sentence's first check is kept in the book and shown at the next visit; "only
    // wrong" narrows a run to the sentences kept below their total.
    void resultsAreKeptAndOnlyWrongNarrows()
    {
        const QString book = fixtures::makeBook(QStringLiteral("kept.dat"), {fixtures::sampleLesson()});
        {
            DictationSession run;
            QVERIFY(run.Open(book, 1, 3, 0, nullptr));
            QVERIFY(run.Enter(QStringLiteral("Farmers in the north said the rain came early"), nullptr));
            for (int i = 0; i < 3; ++i)
                run.Enter(QString(), nullptr);
            QVERIFY(run.Enter(QStringLiteral("it is a well known sign of good year"), nullptr)); // "a" missing
            QCOMPARE(run.Result().right, 7);
            QVERIFY(run.TakeNotice().isEmpty());
        }
        DictationSession again;
        QVERIFY(again.Open(book, 1, 3, 0, nullptr));
        QCOMPARE(again.Current().wordsRight, 9);
        QCOMPARE(again.Current().wordsTotal, 9);
        QVERIFY(again.Current().at.isValid());

        SpellForm form(nullptr, false);
        QVERIFY(form.Start(book, 1, 3, 0, nullptr));
        form.show();
        QVERIFY(form.ProgressText().startsWith(QStringLiteral("第 1/3 句（上次 9/9，")));
        form.OnlyWrongBox()->setChecked(true);
        QCOMPARE(form.Session().Count(), 1);
        QCOMPARE(form.Session().Current().noInAll, 2);
        QVERIFY(form.ProgressText().startsWith(QStringLiteral("第 1/1 句（上次 7/8，")));
        form.close();

        QString error;
        DictationSession none;
        QVERIFY(!none.Open(book, 1, 1, 0, &error, true));
        QCOMPARE(error, QStringLiteral("这个范围内没有做错的句子。"));
    }

    void badRangesOpenNoWindow_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("message");
        QTest::addRow("count 0") << 1 << 0 << "要练习的句子不在句子库的范围内。";
        QTest::addRow("past the book") << 2 << 5 << "要练习的句子不在句子库的范围内。";
        QTest::addRow("negative first") << -1 << 2 << "要练习的句子不在句子库的范围内。";
    }
    void badRangesOpenNoWindow()
    {
        QFETCH(int, first);
        QFETCH(int, count);
        QFETCH(QString, message);
        QCOMPARE(bcSpell_InitEx(nullptr, m_book, first, count, 0, QStringLiteral("brxspecial_note")), 0);
        QCOMPARE(m_messages, QStringList{message});
        QCOMPARE(bcSpell_LoadAndShowNoDegree(0), 0);
        QCOMPARE(bcSpell_InitEx(nullptr, QStringLiteral("missing.dat"), 0, 1, 0, QString()), 0);
        QVERIFY(m_messages.last().startsWith(QStringLiteral("无法打开句子库文件")));
    }
};

QTEST_MAIN(TestNotedictSpell)
#include "test_notedict_spell.moc"
