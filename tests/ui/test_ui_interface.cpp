// Picture buttons of a window driven by real pointer events: hover between buttons
// and to the background, pressed look or one-pixel shift, disabled look, the
// caption-button overlay, unknown tags and stray buttons, and the click dispatch.
#include "UiTestSupport.h"

#include "ui/CInterface.h"

using namespace mvx;
using uitest::Centre;
using uitest::Shown;
using uitest::SkinFixture;
using uitest::TestForm;

namespace {

// btA: all four looks in the window folder; btB: only a GIF in the common folder;
// btC: normal and hover looks in the window folder.
void MakeSkin(const SkinFixture &skin)
{
    skin.putButton("TestForm", "btA");
    skin.put("common", "btB.gif");
    skin.put("TestForm", "btC.png");
    skin.put("TestForm", "btC-a.png");
}

QPoint Background(const QWidget *window)
{
    return QPoint(window->width() - 10, window->height() - 10);
}

} // namespace

class TestUiInterface : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_skin = std::make_unique<SkinFixture>(); MakeSkin(*m_skin); }
    void cleanup() { m_skin.reset(); }

    void loadFindsButtonsAndPictures()
    {
        TestForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.Skin());
        QCOMPARE(form.Skin()->Count(), 3);
        QCOMPARE(Shown(form.button("btA")), "TestForm/btA.png");
        QCOMPARE(Shown(form.button("btB")), "common/btB.gif");
        QCOMPARE(form.loads, 1);
        QCOMPARE(form.Skin()->GetButton("bta"), nullptr); // tags are exact
    }

    void hoverMovesBetweenButtonsAndToBackground()
    {
        TestForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        SkinImage *a = form.button("btA");
        SkinImage *c = form.button("btC");

        QTest::mouseMove(a, Centre(a));
        QCOMPARE(Shown(a), "TestForm/btA-a.png");
        QCOMPARE(form.Skin()->CurrentButton(), a);

        // Moving within the current button reloads nothing.
        a->setPicture(QPixmap(40, 20));
        QTest::mouseMove(a, Centre(a) + QPoint(2, 1));
        QCOMPARE(Shown(a), QString());

        // Straight onto another button: the first is back to normal first.
        QTest::mouseMove(c, Centre(c));
        QCOMPARE(Shown(a), "TestForm/btA.png");
        QCOMPARE(Shown(c), "TestForm/btC-a.png");

        // A label over the background keeps the hover look; the background ends it.
        QTest::mouseMove(form.info, Centre(form.info));
        QCOMPARE(Shown(c), "TestForm/btC-a.png");
        QTest::mouseMove(&form, Background(&form));
        QCOMPARE(Shown(c), "TestForm/btC.png");
        QCOMPARE(form.Skin()->CurrentButton(), nullptr);
    }

    void pressAndRelease_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("pressedLook");
        QTest::addColumn<QPoint>("pressedShift");
        QTest::addColumn<QString>("releasedLook");
        QTest::addRow("pressed picture, no shift") << "btA" << "TestForm/btA-p.png" << QPoint(0, 0) << "TestForm/btA.png";
        QTest::addRow("common gif only: one-pixel shift") << "btB" << "common/btB.gif" << QPoint(1, 1) << "common/btB.gif";
        QTest::addRow("hover but no pressed picture: shift") << "btC" << "TestForm/btC-a.png" << QPoint(1, 1) << "TestForm/btC.png";
    }
    void pressAndRelease()
    {
        QFETCH(QString, tag);
        QFETCH(QString, pressedLook);
        QFETCH(QPoint, pressedShift);
        QFETCH(QString, releasedLook);
        TestForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        SkinImage *button = form.button(tag);
        const QPoint rest = button->pos();

        QTest::mouseMove(button, Centre(button));
        QTest::mousePress(button, Qt::LeftButton, {}, Centre(button));
        QCOMPARE(Shown(button), pressedLook);
        QCOMPARE(button->pos(), rest + pressedShift);

        QTest::mouseRelease(button, Qt::LeftButton, {}, Centre(button) - pressedShift);
        QCOMPARE(Shown(button), releasedLook); // normal look although the pointer stays on it
        QCOMPARE(button->pos(), rest);          // exactly where it was
        QCOMPARE(form.Skin()->CurrentButton(), button);
        QCOMPARE(form.clicksA + form.clicksB + form.clicksC, 1);

        // Several presses never drift.
        for (int i = 0; i < 3; ++i) {
            QTest::mousePress(button, Qt::RightButton, {}, Centre(button));
            QTest::mouseRelease(button, Qt::RightButton, {}, Centre(button) - pressedShift);
        }
        QCOMPARE(button->pos(), rest);
        QCOMPARE(form.clicksA + form.clicksB + form.clicksC, 1); // only the left button clicks
    }

    void clickDispatchMatchesWithoutCase()
    {
        TestForm form;
        form.Load();
        QVERIFY(form.DispatchClick("btA"));
        QVERIFY(form.DispatchClick("btB")); // BTB_CLICK
        QVERIFY(form.DispatchClick("BTC")); // btC_Click
        QVERIFY(!form.DispatchClick("btNone"));
        QCOMPARE(form.clicksA, 1);
        QCOMPARE(form.clicksB, 1);
        QCOMPARE(form.clicksC, 1);
    }

    void disabledLook()
    {
        TestForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        SkinImage *a = form.button("btA");

        form.Skin()->EnableButton("btA", false);
        QVERIFY(!a->isEnabled());
        QCOMPARE(Shown(a), "TestForm/btA-d.png");
        QTest::mouseClick(a, Qt::LeftButton, {}, Centre(a));
        QCOMPARE(form.clicksA, 0);
        QCOMPARE(Shown(a), "TestForm/btA-d.png"); // no pressed look either

        form.Skin()->EnableButton("btA", true);
        QCOMPARE(Shown(a), "TestForm/btA.png");

        // Disabled while it shows the hover look: the background shows "-d".
        QTest::mouseMove(a, Centre(a));
        QCOMPARE(Shown(a), "TestForm/btA-a.png");
        form.Skin()->EnableButton("btA", false);
        QTest::mouseMove(&form, Background(&form));
        QCOMPARE(Shown(a), "TestForm/btA-d.png");

        // A skin without "-d" keeps the picture; DisableButton leaves the state alone.
        form.Skin()->EnableButton("btC", false);
        QCOMPARE(Shown(form.button("btC")), "TestForm/btC.png");
        form.Skin()->EnableButton("btA", true);
        form.Skin()->DisableButton(a);
        QCOMPARE(Shown(a), "TestForm/btA-d.png");
        QVERIFY(a->isEnabled());
    }

    void captionButtonsShareTheirPlace_data()
    {
        QTest::addColumn<bool>("maxFirst");
        QTest::addRow("maximise met first") << true;
        QTest::addRow("restore met first") << false;
    }
    void captionButtonsShareTheirPlace()
    {
        QFETCH(bool, maxFirst);
        TestForm form;
        SkinImage *first = form.AddButton(maxFirst ? "btWinMax" : "btWinNormal", 4000, 60, 300, 300);
        SkinImage *second = form.AddButton(maxFirst ? "btWinNormal" : "btWinMax", 4500, 60, 300, 300);
        SkinImage *max = maxFirst ? first : second;
        SkinImage *normal = maxFirst ? second : first;
        const QPoint normalDesign = normal->pos();
        form.Load();
        QCOMPARE(normal->pos(), max->pos());
        QCOMPARE(form.Skin()->RestPosition("btWinNormal"), normalDesign);
    }

    void overlapAndRecount()
    {
        TestForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        SkinImage *a = form.button("btA");
        SkinImage *c = form.button("btC");
        form.Skin()->OverlapButton("btA", "btC");
        QCOMPARE(c->pos(), a->pos());
        form.Skin()->HideButton("btA");
        QVERIFY(!a->isVisible());
        QTest::mousePress(c, Qt::LeftButton, {}, Centre(c));
        QTest::mouseRelease(c, Qt::LeftButton, {}, Centre(c) - QPoint(1, 1));
        QCOMPARE(c->pos(), a->pos()); // returns to the overlapped place, not its design place
        form.Skin()->ShowButton("btA");
        QVERIFY(a->isVisible());
    }

    void unknownTagsAndStrayButtonsTouchNothing()
    {
        TestForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        SkinImage *a = form.button("btA");
        const QPoint restA = form.Skin()->RestPosition("btA");

        form.Skin()->RecountPos("btNone");
        form.Skin()->EnableButton("btNone", false);
        form.Skin()->HideButton("btNone");
        form.Skin()->OverlapButton("btNone", "btA");
        form.Skin()->OverlapButton("btA", "btNone");
        QCOMPARE(form.Skin()->RestPosition("btA"), restA);
        QCOMPARE(a->pos(), restA);

        // A button made after the load is not in the set: pressing and releasing it
        // neither moves it onto button 0 nor changes button 0's rest place.
        SkinImage *stray = form.AddButton("btB", 4500, 2000, 600, 300);
        stray->show();
        const QPoint strayPos = stray->pos();
        QTest::mousePress(stray, Qt::LeftButton, {}, Centre(stray));
        QTest::mouseRelease(stray, Qt::LeftButton, {}, Centre(stray));
        QCOMPARE(stray->pos(), strayPos);
        QCOMPARE(form.Skin()->RestPosition("btA"), restA);
        QCOMPARE(a->pos(), restA);
        QCOMPARE(form.clicksB, 1); // its click is still dispatched
    }

private:
    std::unique_ptr<SkinFixture> m_skin;
};

QTEST_MAIN(TestUiInterface)
#include "test_ui_interface.moc"
