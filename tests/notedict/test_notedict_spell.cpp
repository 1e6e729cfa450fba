// The spelling window headless over a real book and the real media back end: the sentence
// plays on arrival and on Ctrl+R as the level allows, Enter checks, shows the English, the
// Chinese, then goes on; the closing test ends with its score; bad ranges open no window.
#include "../sentra/SentraFixtures.h"

#include "notedict/DictationSession.h"
#include "notedict/NotebookStore.h"
#include "notedict/ui/NoteDictWindows.h"
#include "notedict/ui/SpellForm.h"
#include "core/AppState.h"
#include "ui/MessageBox.h"

#include <QCheckBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <unistd.h>
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
        App().noteProductTag = QStringLiteral("kbt");
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

    // The learner corrects the sentence after checking it: the book takes the new text, the
    // answer is checked again against it and that result kept; the wrong and missing words go
    // to the notebook with the sentence as source and example.
    void correctionsAndMissedWords()
    {
        const QString book = fixtures::makeBook(QStringLiteral("correct.dat"), {fixtures::sampleLesson()});
        const QString note = QStringLiteral("notebook/spell_note");
        QFile::remove(note);
        QFile::remove(note + QStringLiteral(".lib"));
        SpellForm form(nullptr, false);
        form.SetNotebook(note);
        QVERIFY(form.Start(book, 1, 1, 0, nullptr));
        form.show();
        auto *addWords = form.findChild<QPushButton *>(QStringLiteral("btAddWords"));
        QVERIFY(addWords && !addWords->isEnabled()); // nothing checked yet
        Type(form, QStringLiteral("farmers in the nort said the rain"));
        QCOMPARE(form.ResultText(), QStringLiteral("farmers in the nort said the rain ＿ ＿  6/9"));
        QCOMPARE(form.Session().MissedWords(), (QStringList{"north", "came", "early"}));
        QVERIFY(addWords->isEnabled());
        addWords->click();
        QCOMPARE(m_messages, QStringList{QStringLiteral("已存入单词笔记本：north、came、early")});
        NotebookStore store;
        QVERIFY(store.open(note, note + QStringLiteral(".lib"), false));
        QCOMPARE(store.count(), 3);
        const NoteWord north = store.find(QStringLiteral("north"));
        QCOMPARE(north.source, QStringLiteral("#kbt|correct.dat|1"));
        QCOMPARE(north.example, QStringLiteral("Farmers in the north said the rain came early.\r\n北方的农民说雨来得早。"));
        store.close();

        QVERIFY(!form.Changed());
        QVERIFY(form.CorrectCurrent(QStringLiteral("Farmers in the north said the rain came."), QStringLiteral("北方的农民说下雨了。"))
                    .isEmpty());
        QVERIFY(form.Changed());
        QCOMPARE(form.ResultText(), QStringLiteral("farmers in the nort said the rain ＿  6/8"));
        QCOMPARE(form.Session().MissedWords(), (QStringList{"north", "came"}));
        QCOMPARE(form.CorrectCurrent(QStringLiteral("word ").repeated(501), QString()),
                 QStringLiteral("一个句子最多只能有 500 个单词，修改没有保存。"));
        form.close();
        sentra::SentraBook check;
        QVERIFY(check.open(book, false));
        QCOMPARE(check.sentence(1)->english, QStringLiteral("Farmers in the north said the rain came."));
        QCOMPARE(check.sentence(1)->chinese, QStringLiteral("北方的农民说下雨了。"));
        QCOMPARE(check.dictation(1)->wordsRight, 6);
        QCOMPARE(check.dictation(1)->wordsTotal, 8);
    }

    // A book that cannot be written still dictates: the learner is told once that the
    // results cannot be kept, and a correction is refused. Run in a helper over a read-only
    // mount (root writes through permissions) or a folder without write permission.
    void readOnlyBookSaysResultsCannotBeKept()
    {
        QTemporaryDir dir(fixtures::tmpDir() + QStringLiteral("/roXXXXXX"));
        QVERIFY(dir.isValid());
        const QString book = dir.filePath(QStringLiteral("locked.dat"));
        QVERIFY(QFile::copy(fixtures::makeBook(QStringLiteral("locked.dat"), {fixtures::sampleLesson()}), book));
        QProcess helper;
        if (geteuid() != 0) {
            QFile::setPermissions(book, QFile::ReadOwner | QFile::ReadGroup);
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
            helper.start(QStringLiteral(READONLY_HELPER), {book});
        } else {
            if (QProcess::execute(QStringLiteral("unshare"), {QStringLiteral("-m"), QStringLiteral("true")}) != 0)
                QSKIP("no private mount namespace here");
            helper.start(QStringLiteral("unshare"),
                         {QStringLiteral("-m"), QStringLiteral("sh"), QStringLiteral("-c"),
                          QStringLiteral("mount --bind -o ro \"$1\" \"$1\" || exit 77; exec \"$2\" \"$3\""), QStringLiteral("sh"),
                          dir.path(), QStringLiteral(READONLY_HELPER), book});
        }
        QVERIFY(helper.waitForFinished(60000));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (helper.exitCode() == 77)
            QSKIP("no read-only mount here");
        QCOMPARE(helper.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(helper.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines, (QStringList{QStringLiteral("first check: 成绩无法保存"), QStringLiteral("second check: "),
                                     QStringLiteral("correction: 课文文件无法写入，修改没有保存。"), QStringLiteral("stored: no")}));
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
