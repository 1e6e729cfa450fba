// The skinned message box: kinds, answers by click, Enter, Escape and other closes,
// each box's own answer, the centred OK's press and return, the box sized to its text,
// the window it belongs to, and the handler that tests of other windows install.
#include "UiTestSupport.h"

#include "ui/MessageBox.h"
#include "ui/Twips.h"
#include "ui/lgMsgBoxForm.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

using namespace mvx;
using uitest::Centre;
using uitest::Shown;
using uitest::SkinFixture;

namespace {

lgMsgBoxForm *OpenBox()
{
    return qobject_cast<lgMsgBoxForm *>(QApplication::activeModalWidget());
}

// Shows a box and, once it is up, lets `act` handle it. Returns ShowMessageBox's answer.
int ShowAndAct(const QString &text, int kind, std::function<void(lgMsgBoxForm *)> act, bool *seen = nullptr)
{
    QTimer::singleShot(0, [act, seen] {
        lgMsgBoxForm *box = OpenBox();
        if (seen)
            *seen = box != nullptr;
        if (!box)
            return;
        QVERIFY(QTest::qWaitForWindowExposed(box));
        act(box);
        if (box == OpenBox() && box->isVisible())
            box->reject(); // never leave a test hanging on a box
    });
    return ShowMessageBox(text, kind);
}

void ClickButton(lgMsgBoxForm *box, const QString &tag)
{
    SkinImage *button = box->Skin()->GetButton(tag);
    QTest::mouseMove(button, Centre(button));
    QTest::mouseClick(button, Qt::LeftButton, {}, Centre(button));
}

} // namespace

class TestUiMsgBox : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_skin = std::make_unique<SkinFixture>();
        // OK and Cancel without a pressed picture, so a press shifts them.
        m_skin->put("lgMsgBoxForm", "btOk.png", QSize(75, 22));
        m_skin->put("lgMsgBoxForm", "btOk-a.png", QSize(75, 22));
        m_skin->put("lgMsgBoxForm", "btCancel.png", QSize(75, 22));
        SetMessageBoxHandler({});
    }
    void cleanup() { m_skin.reset(); }

    void kindsAndLayout()
    {
        lgMsgBoxForm box;
        box.Load();
        box.init("文章的MP3及其同步LRC文件都在光盘 Disc C 上", 1);
        SkinImage *ok = box.Skin()->GetButton("btOk");
        QVERIFY(box.Skin()->GetButton("btCancel")->isHidden());
        QVERIFY(!ok->isHidden());
        QCOMPARE(ok->x(), qRound((box.width() - ok->width()) / 2.0));
        QCOMPARE(box.MessageLabel()->text(), "文章的MP3及其同步LRC文件都在光盘 Disc C 上");
        QCOMPARE(box.findChild<QLabel *>("lbTitle")->text(), "Morvex英语");
        QCOMPARE(box.findChild<QLabel *>("Label1")->text(), "请注意");
        QCOMPARE(box.windowTitle(), App().dialogCaption);

        lgMsgBoxForm question;
        question.Load();
        question.init("确定吗？", 0);
        QVERIFY(!question.Skin()->GetButton("btCancel")->isHidden());
        // At their design columns, as far below the text as the design has them below the label.
        const int buttonsTop = question.MessageLabel()->geometry().bottom() + 1 + TwipsToPixels(3870 - 1368 - 1740);
        QCOMPARE(question.Skin()->GetButton("btOk")->pos(), QPoint(98, buttonsTop));      // left 1470 twips
        QCOMPARE(question.Skin()->GetButton("btCancel")->pos(), QPoint(214, buttonsTop)); // left 3210 twips
    }

    void answers_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("expected");
        QTest::addRow("information, OK clicked") << 1 << "ok" << -1;
        QTest::addRow("information, Enter") << 1 << "enter" << -1;
        QTest::addRow("question, OK clicked") << 0 << "ok" << -1;
        QTest::addRow("question, Enter") << 0 << "enter" << -1;
        QTest::addRow("question, keypad Enter") << 2 << "keypad" << -1;
        QTest::addRow("question, Cancel clicked") << 0 << "cancel" << 0;
        QTest::addRow("question, closed by the window manager") << 0 << "close" << 0;
        QTest::addRow("information, closed by the window manager") << 1 << "close" << 0;
    }
    void answers()
    {
        QFETCH(int, kind);
        QFETCH(QString, action);
        QFETCH(int, expected);
        // A previous box answered OK: its answer must not leak into this one.
        QCOMPARE(ShowAndAct("first", 1, [](lgMsgBoxForm *box) { ClickButton(box, "btOk"); }), -1);

        bool seen = false;
        const int answer = ShowAndAct("second", kind, [action](lgMsgBoxForm *box) {
            if (action == "ok")
                ClickButton(box, "btOk");
            else if (action == "cancel")
                ClickButton(box, "btCancel");
            else if (action == "enter")
                QTest::keyClick(box, Qt::Key_Return);
            else if (action == "keypad")
                QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
            else if (action == "close")
                box->close();
        }, &seen);
        QVERIFY(seen);
        QCOMPARE(answer, expected);
    }

    // A box that comes up while another is open (a timer's message over a question) is
    // answered on its own; the question keeps its own answer, whichever way it closes.
    void aBoxInsideAnotherKeepsItsOwnAnswer_data()
    {
        QTest::addColumn<QString>("inner");
        QTest::addColumn<QString>("outer");
        QTest::addColumn<int>("innerExpected");
        QTest::addColumn<int>("outerExpected");
        QTest::addRow("inner OK, outer closed") << "ok" << "close" << -1 << 0;
        QTest::addRow("inner OK, outer Cancel") << "ok" << "cancel" << -1 << 0;
        QTest::addRow("inner closed, outer OK") << "close" << "ok" << 0 << -1;
    }
    void aBoxInsideAnotherKeepsItsOwnAnswer()
    {
        QFETCH(QString, inner);
        QFETCH(QString, outer);
        QFETCH(int, innerExpected);
        QFETCH(int, outerExpected);
        const auto answer = [](const QString &how) {
            return [how](lgMsgBoxForm *box) {
                if (how == "ok")
                    ClickButton(box, "btOk");
                else if (how == "cancel")
                    ClickButton(box, "btCancel");
                else
                    box->close();
            };
        };
        int innerAnswer = 1;
        const int outerAnswer = ShowAndAct("outer", 0, [&](lgMsgBoxForm *box) {
            innerAnswer = ShowAndAct("inner", 0, answer(inner));
            QCOMPARE(OpenBox(), box);
            answer(outer)(box);
        });
        QCOMPARE(innerAnswer, innerExpected);
        QCOMPARE(outerAnswer, outerExpected);
    }

    void escapeDoesNothing()
    {
        bool stillOpen = false;
        const int answer = ShowAndAct("Esc?", 0, [&stillOpen](lgMsgBoxForm *box) {
            QTest::keyClick(box, Qt::Key_Escape);
            QTest::keyClick(box, Qt::Key_Space);
            stillOpen = box->isVisible() && box->IsLoaded();
            ClickButton(box, "btOk");
        });
        QVERIFY(stillOpen);
        QCOMPARE(answer, -1);
    }

    void centredOkReturnsToItsCentredPlace()
    {
        lgMsgBoxForm box;
        box.Load();
        box.init("信息", 1);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        SkinImage *ok = box.Skin()->GetButton("btOk");
        const QPoint centred = ok->pos();
        QCOMPARE(centred.x(), qRound((box.width() - ok->width()) / 2.0));
        QTest::mousePress(ok, Qt::LeftButton, {}, Centre(ok));
        QCOMPARE(ok->pos(), centred + QPoint(1, 1));
        QTest::mouseRelease(ok, Qt::LeftButton, {}, Centre(ok));
        QCOMPARE(ok->pos(), centred); // not its design place
        QVERIFY(box.Answer());
    }

    // A one-line message: the box is as tall as its text needs, keeps its design width and
    // its margins, and stands in the middle of the screen.
    void shortMessageFitsItsText()
    {
        lgMsgBoxForm box;
        box.Load();
        const QSize design(TwipsToPixels(5790), TwipsToPixels(4575));
        QCOMPARE(box.size(), design);
        box.init("您还没有选择文章。", 1);
        QLabel *message = box.MessageLabel();
        QCOMPARE(message->height(), message->heightForWidth(message->width()));
        QVERIFY(message->height() < 2 * message->fontMetrics().height()); // one line
        QCOMPARE(message->y(), TwipsToPixels(1368));
        QCOMPARE(box.width(), design.width());
        QVERIFY(box.height() < design.height());
        SkinImage *ok = box.Skin()->GetButton("btOk");
        QCOMPARE(ok->y(), message->geometry().bottom() + 1 + TwipsToPixels(3870 - 1368 - 1740));
        QCOMPARE(box.height() - ok->geometry().bottom() - 1, TwipsToPixels(4575 - 3870 - 330));
        QCOMPARE(box.Skin()->RestPosition("btOk"), ok->pos());
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QRect screen = box.screen()->geometry();
        QVERIFY(qAbs(box.frameGeometry().center().y() - screen.center().y()) <= 1);
        QVERIFY(qAbs(box.frameGeometry().center().x() - screen.center().x()) <= 1);
    }

    // A box belongs to the window the learner sees; while every window is hidden (the
    // library hidden before a lesson shows) it belongs to the home window.
    void aBoxBelongsToTheShownWindowElseToTheHomeWindow()
    {
        uitest::TestForm home;
        uitest::TestForm lesson;
        SetMessageBoxHome(&home);
        QWidget *owner = nullptr;
        ShowAndAct("nothing shown", 1, [&owner](lgMsgBoxForm *box) {
            owner = box->parentWidget();
            ClickButton(box, "btOk");
        });
        QCOMPARE(owner, &home);
        QVERIFY(!home.isVisible());

        lesson.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lesson));
        ShowAndAct("lesson shown", 1, [&owner](lgMsgBoxForm *box) {
            owner = box->parentWidget();
            ClickButton(box, "btOk");
        });
        QCOMPARE(owner, &lesson);
        lesson.close();
        SetMessageBoxHome(nullptr);
    }

    void longMessageGrowsTheBox()
    {
        lgMsgBoxForm box;
        box.Load();
        const int designHeight = box.height();
        QString text;
        for (int i = 0; i < 40; ++i)
            text += QStringLiteral("光盘没有放好！请放入光盘 Disc B。");
        box.init(text, 0);
        QLabel *message = box.MessageLabel();
        QVERIFY(message->height() >= message->heightForWidth(message->width()));
        QVERIFY(box.height() > designHeight);
        SkinImage *ok = box.Skin()->GetButton("btOk");
        QVERIFY(ok->y() >= message->geometry().bottom()); // buttons stay below the text
        QCOMPARE(box.Skin()->RestPosition("btOk"), ok->pos());
    }

    void handlerAnswersInPlaceOfTheBox()
    {
        QStringList asked;
        SetMessageBoxHandler([&asked](const QString &text, int kind) {
            asked << QStringLiteral("%1|%2").arg(kind).arg(text);
            return kind == 1 ? -1 : 0;
        });
        QCOMPARE(ShowMessageBox("您还没有选择文章。", 1), -1);
        QCOMPARE(ShowMessageBox("删除吗？", 0), 0);
        QCOMPARE(asked, (QStringList{"1|您还没有选择文章。", "0|删除吗？"}));
        SetMessageBoxHandler({});
    }

private:
    std::unique_ptr<SkinFixture> m_skin;
};

QTEST_MAIN(TestUiMsgBox)
#include "test_ui_msgbox.moc"
