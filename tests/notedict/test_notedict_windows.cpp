// The pop-up, notebook and review windows, headless: their buttons and keys are pressed and
// the owner window receives the private messages, as the lesson player would.
#include "EcDictBuilder.h"
#include "notedict/NoteDictLib.h"
#include "notedict/NotebookStore.h"
#include "notedict/ui/DictPopupForm.h"
#include "notedict/ui/NoteDictWindows.h"
#include "notedict/ui/NoteReviewForm.h"
#include "notedict/ui/NotebookForm.h"

#include "comm/CommLib.h"
#include "core/CustomEvents.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace mvx;

namespace {
// Stands in for the lesson player: answers 2259 and 2263 the way it does.
class Owner final : public QWidget
{
public:
    QString noteFile, libFile;
    QList<QPair<int, QPair<qintptr, qintptr>>> received;
    QString storedWord, storedMeaning;
    int meanAnswer = 1; // what the player answers to 2263
    bool event(QEvent *e) override
    {
        const int t = int(e->type());
        if (t < MsgSaveNewWord || t > MsgSaveWordMean)
            return QWidget::event(e);
        const auto *m = static_cast<PrivateMessageEvent *>(e);
        received.append({t, {m->wParam(), m->lParam()}});
        QString word, meaning, third;
        bcDictDll_GetSavedWord(word, meaning, &third);
        if (t == MsgSaveNewWord)
            bcNote_AddWord(noteFile, libFile, word, meaning, third, "#kbt|a.dat|12", "They went home.");
        if (t == MsgSaveWordMean) {
            storedWord = word;
            storedMeaning = meaning;
            m->setResult(meanAnswer);
        }
        return true;
    }
    [[nodiscard]] QList<int> types() const
    {
        QList<int> out;
        for (const auto &r : received)
            out << r.first;
        return out;
    }
};

template <typename T>
T *Child(QWidget *w, const char *name)
{
    T *c = w->findChild<T *>(QLatin1String(name));
    if (!c)
        qWarning() << "no child" << name;
    return c;
}

// What the review window shows, in one line to compare: the remaining count, the word, the
// answer's three texts, and the buttons shown ("show" or the four grade captions).
QString ReviewShows(QWidget *form)
{
    QStringList parts;
    for (const char *label : {"lbRemaining", "lbWord", "lbPhonetic", "lbMeaning", "lbExample"})
        parts << Child<QLabel>(form, label)->text();
    if (Child<QPushButton>(form, "btShowAnswer")->isVisible())
        parts << QStringLiteral("show");
    for (const char *button : {"btAgain", "btHard", "btGood", "btEasy"})
        if (Child<QPushButton>(form, button)->isVisible())
            parts << Child<QPushButton>(form, button)->text();
    return parts.join(QLatin1Char('|'));
}

// Runs act on the review window once it is up (it runs its own event loop).
void WhenReviewShown(const std::function<void(NoteReviewForm &)> &act)
{
    auto *poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        auto *form = qobject_cast<NoteReviewForm *>(QApplication::activeModalWidget());
        if (!form || !form->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act(*form);
    });
    poll->start();
}
} // namespace

class TestNotedictWindows : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp{QString::fromLocal8Bit(qgetenv("MVX_TEST_TMP")) + QStringLiteral("/winXXXXXX")};
    int m_dict = 0;
    int m_centre = 0;
    QStringList m_messages;
    Owner *m_owner = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        QDir::setCurrent(m_tmp.path()); // the program home: working files go here
        EcDictBuilder b;
        QVERIFY(b.build(QStringLiteral(MVX_TEST_DATA "/mini_ecdict.csv"), QStringLiteral(MVX_TEST_DATA "/mini_lemma.txt"),
                        m_tmp.filePath("dict")));
        m_dict = bcEcDict_Open("dict.idx", "dict.lib");
        QVERIFY(m_dict > 0);
        m_centre = vcSndCenter_Open(-1, 16, 22050, 1);
        QCOMPARE(bcNoteDictInitEx(m_centre, m_dict, "mvxbrxspecial", "", 0), 1);
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return -1;
        });
    }

    void init()
    {
        m_owner = new Owner;
        m_owner->noteFile = m_tmp.filePath("brxspecial_note");
        m_owner->libFile = m_owner->noteFile + ".lib";
        m_owner->setGeometry(100, 100, 600, 400);
        m_owner->show();
        m_messages.clear();
    }

    void cleanup()
    {
        CloseNoteDictWindows();
        delete m_owner;
        QFile::remove(m_tmp.filePath("brxspecial_note"));
        QFile::remove(m_tmp.filePath("brxspecial_note.lib"));
    }

    void popupShowsWordAndSendsMessages()
    {
        QCOMPARE(bcEcDict_PopSearchWnd(m_owner, m_dict, "went,", 200, 150, 40, 18, QString::fromUtf8("去了（本句）")), 1);
        DictPopupForm *p = CurrentDictPopup();
        QVERIFY(p && p->isVisible());
        QCOMPARE(Child<QLabel>(p, "lbTitle")->text(), QStringLiteral("went"));
        QCOMPARE(Child<QLabel>(p, "lbPhonetic")->text(), QStringLiteral("[went]")); // its own, not go's
        QVERIFY(Child<QLabel>(p, "lbMeanings")->text().startsWith(QStringLiteral("went: go 的过去式\nvi. 去, 走")));
        QVERIFY(Child<QLabel>(p, "lbStored")->isVisible());
        QVERIFY(Child<QLabel>(p, "lbStored")->text().contains(QStringLiteral("去了（本句）")));
        QVERIFY(p->geometry().top() >= 150 + 18); // below the word

        QTest::mouseClick(Child<QPushButton>(p, "btSaveWord"), Qt::LeftButton);
        QCOMPARE(m_owner->types(), QList<int>{MsgSaveNewWord});
        QCOMPARE(Child<QLabel>(p, "lbStatus")->text(), QStringLiteral("已存入单词笔记本"));
        NotebookStore s;
        QVERIFY(s.open(m_owner->noteFile, m_owner->libFile, false));
        const NoteWord w = s.find("went");
        QCOMPARE(w.meaning, QStringLiteral("去了（本句）"));
        QCOMPARE(w.third, QStringLiteral("went")); // its own phonetic, not go's
        QCOMPARE(w.example, QStringLiteral("They went home."));

        QLineEdit *edit = Child<QLineEdit>(p, "teMeaning");
        edit->clear();
        QTest::keyClicks(edit, "went home");
        QTest::mouseClick(Child<QPushButton>(p, "btSaveMean"), Qt::LeftButton);
        QCOMPARE(m_owner->types(), (QList<int>{MsgSaveNewWord, MsgSaveWordMean}));
        QCOMPARE(m_owner->storedWord, QStringLiteral("went"));
        QCOMPARE(m_owner->storedMeaning, QStringLiteral("went home"));

        QTest::mouseClick(Child<QPushButton>(p, "btClose"), Qt::LeftButton);
        QTRY_VERIFY(!CurrentDictPopup() || !CurrentDictPopup()->isVisible());
    }

    void popupShowsTextsAsTheyAre()
    {
        // A stored meaning is the learner's text, never markup that loads a picture.
        const QString stored = QStringLiteral("<img src=\"file:///tmp/x.png\"><b>去了</b>");
        bcEcDict_PopSearchWnd(m_owner, m_dict, "went", 50, 50, 40, 18, stored);
        DictPopupForm *p = CurrentDictPopup();
        QVERIFY(p);
        for (const char *name : {"lbTitle", "lbPhonetic", "lbMeanings", "lbStored", "lbStatus"})
            QVERIFY2(Child<QLabel>(p, name)->textFormat() == Qt::PlainText, name);
        QVERIFY(Child<QLabel>(p, "lbStored")->text().endsWith(stored));
    }

    void savingAMeaningShowsWhatThePlayerDid_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("status");
        QTest::addRow("stored") << 1 << QStringLiteral("已保存为本句中的词义");
        QTest::addRow("removed") << 2 << QStringLiteral("已删除本句中的词义");
        QTest::addRow("read-only book") << 0 << QStringLiteral("未能保存本句词义：课文不能写入");
        QTest::addRow("no sentence") << -1 << QStringLiteral("未能保存本句词义：没有查词的句子");
    }
    void savingAMeaningShowsWhatThePlayerDid()
    {
        QFETCH(int, answer);
        QFETCH(QString, status);
        m_owner->meanAnswer = answer;
        bcEcDict_PopSearchWnd(m_owner, m_dict, "went", 50, 50, 40, 18, QString());
        DictPopupForm *p = CurrentDictPopup();
        QTest::mouseClick(Child<QPushButton>(p, "btSaveMean"), Qt::LeftButton);
        QCOMPARE(Child<QLabel>(p, "lbStatus")->text(), status);
    }

    void popupStaysOnScreen()
    {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        bcEcDict_PopSearchWnd(m_owner, m_dict, "government", area.right() - 10, area.bottom() - 10, 60, 20, QString());
        DictPopupForm *p = CurrentDictPopup();
        QVERIFY(p);
        QVERIFY2(area.contains(p->frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(p->x()).arg(p->y()).arg(p->width()).arg(p->height())));
        QVERIFY(!Child<QLabel>(p, "lbStored")->isVisible());
        // A second look-up reuses the window.
        bcEcDict_PopSearchWnd(m_owner, m_dict, "mice", 10, 10, 30, 15, QString());
        QCOMPARE(CurrentDictPopup(), p);
        QVERIFY(Child<QLabel>(p, "lbMeanings")->text().contains(QStringLiteral("mice: mouse 的复数")));
        QCOMPARE(bcEcDict_PopSearchWnd(m_owner, m_dict, "  ", 10, 10, 30, 15, QString()), 0);
    }

    void popupNotFoundOffersSpellings()
    {
        bcEcDict_PopSearchWnd(m_owner, m_dict, "goverment", 50, 50, 60, 20, QString());
        DictPopupForm *p = CurrentDictPopup();
        QLabel *info = Child<QLabel>(p, "lbInfo");
        QVERIFY(info->text().contains(QStringLiteral("没有找到")));
        QVERIFY(info->text().contains(QStringLiteral("href=\"government\"")));
        QVERIFY(!Child<QLabel>(p, "lbMeanings")->isVisible());
        emit info->linkActivated(QStringLiteral("government"));
        QCOMPARE(Child<QLabel>(p, "lbTitle")->text(), QStringLiteral("government"));
        QVERIFY(Child<QLabel>(p, "lbMeanings")->text().contains(QStringLiteral("政府")));
    }

    void popupSpeaksThroughTheSoundCentre()
    {
        bcEcDict_PopSearchWnd(m_owner, m_dict, "zebra", 50, 50, 60, 20, QString());
        QFile::remove("alltmpfile/tmpdictword.wav");
        QTest::mouseClick(Child<QPushButton>(CurrentDictPopup(), "btSpeak"), Qt::LeftButton);
        if (vcSndCenter_IsTtsAvailable(m_centre)) {
            QVERIFY(QFileInfo("alltmpfile/tmpdictword.wav").size() > 44);
            QVERIFY(Child<QLabel>(CurrentDictPopup(), "lbStatus")->text().isEmpty());
        } else {
            QVERIFY(Child<QLabel>(CurrentDictPopup(), "lbStatus")->text().contains(QStringLiteral("读音")));
        }
    }

    void notebookWindow()
    {
        const QString &nf = m_owner->noteFile, &lf = m_owner->libFile;
        QCOMPARE(bcNote_LoadEx(m_owner, nf, lf, "mvxbrxspecial", 0, 0, -1, -1, 0, ""), -1); // no files yet
        bcNote_AddWord(nf, lf, "harvest", "n. 收获", "'hɑ:vist", "#kbt|a.dat|11", "A good harvest.");
        bcNote_AddWord(nf, lf, "banana", "n. 香蕉", "", "#kbt|a.dat|19", "");
        bcNote_AddWord(nf, lf, "climate", "n. 气候", "", "#kbt|b.dat|3", "");
        QCOMPARE(bcNote_LoadEx(m_owner, nf, lf, "mvxbrxspecial", 0, 0, -1, -1, 0, "#kbt|a.dat|30|40"), -1);
        QCOMPARE(bcNote_LoadEx(m_owner, nf, lf, "mvxbrxspecial", 3000, 1500, -1, -1, 0, "#kbt|a.dat|10|20"), 2);
        bcNote_ShowButton("Sort", 0);
        bcNote_Show();
        NotebookForm *n = CurrentNotebook();
        QVERIFY(n && n->isVisible());
        QCOMPARE(n->pos(), QPoint(200, 100));
        QVERIFY(!Child<QPushButton>(n, "Sort")->isVisible());
        QTableWidget *t = n->table();
        QCOMPARE(t->rowCount(), 2);
        QCOMPARE(t->item(0, 0)->text(), QStringLiteral("harvest"));
        QCOMPARE(Child<QLabel>(n, "lbExample")->text(), QStringLiteral("A good harvest."));

        // New words are due: the lesson's window offers their review (not as its default
        // button) and reviews the lesson's words only.
        auto *review = Child<QPushButton>(n, "btReview");
        QCOMPARE(review->text(), QStringLiteral("复习 (2)"));
        QVERIFY(review->isEnabled() && !review->isDefault());
        QString firstShown;
        WhenReviewShown([&firstShown](NoteReviewForm &form) {
            firstShown = ReviewShows(&form);
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        QTest::mouseClick(review, Qt::LeftButton);
        QCOMPARE(firstShown, QStringLiteral("还剩 2 个|harvest||||show"));
        QCOMPARE(review->text(), QStringLiteral("复习 (2)")); // nothing answered

        QTest::mouseClick(Child<QPushButton>(n, "btShowSource"), Qt::LeftButton);
        QCOMPARE(m_owner->received.last().first, int(MsgShowWordSource));
        QCOMPARE(m_owner->received.last().second.first, qintptr(11));

        t->item(0, 1)->setText(QStringLiteral("n. 收成")); // edited in place
        NotebookStore s;
        QVERIFY(s.open(nf, lf, false));
        QCOMPARE(s.find("harvest").meaning, QStringLiteral("n. 收成"));

        QTest::mouseClick(Child<QPushButton>(n, "btMatchWithSrc"), Qt::LeftButton);
        QCOMPARE(t->rowCount(), 3);
        QTest::keyClicks(Child<QLineEdit>(n, "teSearch"), "CLIM");
        QCOMPARE(t->rowCount(), 1);
        QCOMPARE(t->item(0, 0)->text(), QStringLiteral("climate"));

        const QString csv = m_tmp.filePath("export.csv");
        NotebookForm::SetExportPathAsker([&](QWidget *, const QString &) { return csv; });
        QTest::mouseClick(Child<QPushButton>(n, "btExport"), Qt::LeftButton);
        NotebookForm::SetExportPathAsker({});
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("\xEF\xBB\xBF") + QStringLiteral("climate,n. 气候,,\r\n").toUtf8());

        QTest::mouseClick(Child<QPushButton>(n, "btDelete"), Qt::LeftButton); // the box answers OK
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.first().contains(QStringLiteral("climate")));
        QCOMPARE(t->rowCount(), 0);
        QCOMPARE(s.count(), 2);

        n->move(45, 60);
        QTest::mouseClick(Child<QPushButton>(n, "btClose"), Qt::LeftButton);
        QCOMPARE(m_owner->received.last().first, int(MsgNotebookClosed));
        QCOMPARE(m_owner->received.last().second, (QPair<qintptr, qintptr>(45 * 15, 60 * 15)));
        QTRY_VERIFY(!CurrentNotebook() || !CurrentNotebook()->isVisible());

        // The whole notebook's window (the library's) makes the review its default button.
        QCOMPARE(bcNote_LoadEx(m_owner, nf, lf, "mvxbrxspecial", 0, 0, -1, -1, 0, ""), 2);
        bcNote_Show();
        review = Child<QPushButton>(CurrentNotebook(), "btReview");
        QCOMPARE(review->text(), QStringLiteral("复习 (2)"));
        QVERIFY(review->isEnabled() && review->isDefault());
        CurrentNotebook()->close();
        QTRY_VERIFY(!CurrentNotebook() || !CurrentNotebook()->isVisible());
    }

    void notebookModalReportsClose()
    {
        bcNote_AddWord(m_owner->noteFile, m_owner->libFile, "harvest", "n. 收获", "", "#kbt|a.dat|11", "");
        QCOMPARE(bcNote_LoadEx(m_owner, m_owner->noteFile, m_owner->libFile, "mvxbrxspecial", 0, 0, -1, -1, 0, ""), 1);
        QTimer::singleShot(0, [] { QTest::mouseClick(Child<QPushButton>(CurrentNotebook(), "btClose"), Qt::LeftButton); });
        QCOMPARE(bcNote_ShowModal(), 1);
        QCOMPARE(m_owner->types(), QList<int>{MsgNotebookClosed});
    }

    // The review window as the learner uses it: the due words earliest first, each heard as it
    // comes; no grade before the answer is shown; Space shows it; 1-4 grade; "again" comes
    // back at the end of the queue; the count goes down; every answer is stored at once.
    void reviewWindowShowsGradesAndStores()
    {
        const QString &nf = m_owner->noteFile, &lf = m_owner->libFile;
        bcNote_AddWord(nf, lf, "harvest", "n. 收获", "'hɑ:vist", "#kbt|a.dat|11", "A good harvest.");
        bcNote_AddWord(nf, lf, "rain", "n. 雨", "rein", "#kbt|a.dat|12", "The rain came early.");
        bcNote_AddWord(nf, lf, "went", "去了", "went", "#kbt|a.dat|13", "They went home.");
        const QDateTime at = QDateTime::currentDateTime().addSecs(3600);
        NoteReviewForm::SetClock([at] { return at; });
        QStringList seen;
        QStringList spoken;
        WhenReviewShown([&seen, &spoken](NoteReviewForm &form) {
            seen << ReviewShows(&form);
            QTest::keyClick(&form, Qt::Key_3); // not shown yet: no grade
            seen << ReviewShows(&form);
            QTest::keyClick(&form, Qt::Key_Space);
            seen << ReviewShows(&form);
            if (const QString dir = qEnvironmentVariable("MVX_DOC_SHOTS"); !dir.isEmpty())
                form.grab().save(dir + QStringLiteral("/review-window.png"));
            QTest::keyClick(&form, Qt::Key_3); // good
            seen << ReviewShows(&form);
            QTest::mouseClick(Child<QPushButton>(&form, "btShowAnswer"), Qt::LeftButton);
            QTest::keyClick(&form, Qt::Key_1); // again: rain goes to the end
            seen << ReviewShows(&form);
            QTest::keyClick(&form, Qt::Key_Space);
            QTest::mouseClick(Child<QPushButton>(&form, "btEasy"), Qt::LeftButton);
            seen << ReviewShows(&form);
            QTest::keyClick(&form, Qt::Key_Space);
            QTest::keyClick(&form, Qt::Key_2); // hard
            seen << ReviewShows(&form);
            spoken = form.spoken();
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        const int answers = bcNote_ShowReview(m_owner, nf, lf, "mvxbrxspecial", "");
        NoteReviewForm::SetClock({});
        QCOMPARE(answers, 4);
        const QString newButtons = QStringLiteral("1 忘记 (10分钟)|2 困难 (1天)|3 记得 (1天)|4 容易 (1天)");
        QCOMPARE(seen, (QStringList{
                           QStringLiteral("还剩 3 个|harvest||||show"),
                           QStringLiteral("还剩 3 个|harvest||||show"),
                           QStringLiteral("还剩 3 个|harvest|'hɑ:vist|n. 收获|A good harvest.|") + newButtons,
                           QStringLiteral("还剩 2 个|rain||||show"),
                           QStringLiteral("还剩 2 个|went||||show"),
                           QStringLiteral("还剩 1 个|rain||||show"),
                           QStringLiteral("|现在没有需要复习的单词。|||"),
                       }));
        QCOMPARE(spoken, (QStringList{"rain", "went", "rain", "harvest"})); // the last heard first
        QCOMPARE(m_messages, QStringList());

        NotebookStore s;
        QVERIFY(s.open(nf, lf, false));
        const QDateTime tomorrow4 = QDateTime(at.date().addDays(at.time() < QTime(4, 0) ? 0 : 1), QTime(4, 0));
        const struct
        {
            const char *word;
            int reviews, reps, lapses, interval;
        } expected[] = {{"harvest", 1, 1, 0, 1}, {"rain", 2, 1, 1, 1}, {"went", 1, 1, 0, 1}};
        for (const auto &e : expected) {
            const ReviewState r = s.find(QLatin1String(e.word)).review;
            QCOMPARE(QList<int>({r.reviews, r.reps, r.lapses, r.interval}),
                     QList<int>({e.reviews, e.reps, e.lapses, e.interval}));
            QCOMPARE(QDateTime::fromMSecsSinceEpoch(r.dueMs), tomorrow4);
        }
        QCOMPARE(s.find("went").review.ease, 260); // easy: 2.5 + 0.1
        QCOMPARE(s.find("rain").review.ease, 182); // again (2.5 - 0.54), then hard (- 0.14)
    }

    // Nothing to review: the window does not open and the learner is told why. A damaged
    // notebook is set aside first, with its message.
    void reviewWithNothingDue_data()
    {
        QTest::addColumn<QByteArray>("notebook"); // "words", "junk" or "" (no file)
        QTest::addColumn<QStringList>("messages");
        const QString none = QStringLiteral("现在没有需要复习的单词。");
        QTest::addRow("none due yet") << QByteArray("words") << QStringList{none};
        QTest::addRow("no notebook") << QByteArray() << QStringList{none};
        QTest::addRow("damaged") << QByteArray("junk") << QStringList{QStringLiteral("已损坏"), none};
    }
    void reviewWithNothingDue()
    {
        QFETCH(QByteArray, notebook);
        QFETCH(QStringList, messages);
        const QString &nf = m_owner->noteFile, &lf = m_owner->libFile;
        if (notebook == "words") {
            bcNote_AddWord(nf, lf, "harvest", "n. 收获", "", "#kbt|a.dat|11", "");
            NoteReviewForm::SetClock([] { return QDateTime::currentDateTime().addSecs(-3600); }); // before it was added
        } else if (notebook == "junk") {
            QFile f(nf);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(5000, '\x7f'));
            f.close();
            QFile g(lf);
            QVERIFY(g.open(QIODevice::WriteOnly));
        }
        bool opened = false;
        WhenReviewShown([&opened](NoteReviewForm &form) {
            opened = true;
            form.close();
        });
        QCOMPARE(bcNote_ShowReview(m_owner, nf, lf, "mvxbrxspecial", ""), -1);
        NoteReviewForm::SetClock({});
        QVERIFY(!opened);
        QVERIFY2(m_messages.size() == messages.size(), qPrintable(m_messages.join(" / ")));
        for (int i = 0; i < messages.size(); ++i)
            QVERIFY2(m_messages[i].contains(messages[i]), qPrintable(m_messages[i]));
        QCOMPARE(QDir(m_tmp.path()).entryList({"brxspecial_note.damaged-*"}).size(), notebook == "junk" ? 1 : 0);
        if (notebook == "junk")
            for (const QString &f : QDir(m_tmp.path()).entryList({"brxspecial_note*.damaged-*"}))
                QFile::remove(m_tmp.filePath(f));
    }

    void damagedNotebookIsSetAsideWithAMessage()
    {
        QFile f(m_owner->noteFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(5000, '\x7f'));
        f.close();
        QFile g(m_owner->libFile);
        QVERIFY(g.open(QIODevice::WriteOnly));
        g.close();
        QCOMPARE(bcNote_LoadEx(m_owner, m_owner->noteFile, m_owner->libFile, "mvxbrxspecial", 0, 0, -1, -1, 0, ""), -1);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.first().contains(QStringLiteral("已损坏")));
        QCOMPARE(QDir(m_tmp.path()).entryList({"brxspecial_note.damaged-*"}).size(), 1);
        // The fresh notebook takes words again.
        QCOMPARE(bcNote_AddWord(m_owner->noteFile, m_owner->libFile, "harvest", "n. 收获", "", "", ""), 1);
    }
};

QTEST_MAIN(TestNotedictWindows)
#include "test_notedict_windows.moc"
