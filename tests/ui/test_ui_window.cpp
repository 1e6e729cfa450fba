// Window set-up (caption, resolution rule, centring, dragging), unload, the close by
// the window system and the keys a skinned window swallows.
#include "UiTestSupport.h"

#include "core/Helpers.h"
#include "libs/comm/CommLib.h"
#include "ui/WindowDragger.h"
#include "ui/WindowSetup.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

using namespace mvx;
using uitest::Centre;
using uitest::SkinFixture;
using uitest::TestForm;

namespace {

// A main window of 12000 x 9000 twips with a label and a picture button at Left 1500.
class WideForm : public SkinnedWindow
{
    Q_OBJECT

public:
    WideForm() : SkinnedWindow(QStringLiteral("WideForm"), false)
    {
        SetDesignSize(12000, 9000);
        label = AddLabel("lbInfo", "说明", 1500, 1500, 3000, 600);
        QFont font = label->font();
        font.setPointSizeF(12);
        label->setFont(font);
        button = AddButton("btOk", 1500, 3000, 1125, 330);
    }
    Q_INVOKABLE void btOk_click() {}
    QLabel *label;
    SkinImage *button;
};

// A dialog whose close button counts and leaves.
class LeavingForm : public TestForm
{
    Q_OBJECT

public:
    LeavingForm() { AddButton("btWinClose", 5500, 60, 300, 300); }
    Q_INVOKABLE void btWinClose_click()
    {
        ++leaves;
        reject();
    }
    int leaves = 0;
};

void SendMouse(QWidget *target, QEvent::Type type, QPoint global, Qt::MouseButtons buttons)
{
    const QPoint local = target->mapFromGlobal(global);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, local, global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Presses on `on`, moves the pointer by `delta` and releases; returns how far the window moved.
QPoint Drag(QWidget *window, QWidget *on, QPoint delta)
{
    const QPoint before = window->pos();
    const QPoint start = on->mapToGlobal(Centre(on));
    SendMouse(on, QEvent::MouseButtonPress, start, Qt::LeftButton);
    SendMouse(on, QEvent::MouseMove, start + delta / 2, Qt::LeftButton);
    SendMouse(on, QEvent::MouseMove, start + delta, Qt::LeftButton);
    SendMouse(on, QEvent::MouseButtonRelease, start + delta, Qt::NoButton);
    SendMouse(on, QEvent::MouseMove, start + delta * 2, Qt::NoButton); // after the release: no move
    return window->pos() - before;
}

} // namespace

class TestUiWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_skin = std::make_unique<SkinFixture>(); }
    void cleanup() { m_skin.reset(); }

    void setUpAtUsualResolution()
    {
        WideForm form;
        const QRect designLabel = form.label->geometry();
        SetUpWindowAt(&form, false, 96, 96, 1);
        QCOMPARE(form.windowTitle(), App().mainCaption);
        QCOMPARE(form.size(), QSize(800, 600));
        QCOMPARE(form.label->geometry(), designLabel);
        QCOMPARE(form.label->font().pointSizeF(), 12.0);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(form.pos(), QPoint(screen.width() / 2 - 400, screen.height() / 2 - 300) + screen.topLeft());
        QVERIFY(WindowDragger::IsEnabled(&form));

        TestForm dialog;
        SetUpWindow(&dialog, true);
        QCOMPARE(dialog.windowTitle(), App().dialogCaption);
    }

    // Design geometry is in logical pixels, which Qt maps to the screen itself: at any
    // logical resolution the window, its controls and its pictures keep their design
    // places and sizes; only point sizes, which grow with the resolution, are divided by
    // the desktop font scale.
    void resolutionRule_data()
    {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<double>("fontSize");
        QTest::addRow("96 dpi") << 96.0 << 12.0;
        QTest::addRow("120 dpi") << 120.0 << 9.6;
        QTest::addRow("100 dpi: same whole point, so one less") << 100.0 << 11.0;
        QTest::addRow("144 dpi") << 144.0 << 8.0;
    }
    void resolutionRule()
    {
        QFETCH(double, dpi);
        QFETCH(double, fontSize);
        WideForm form;
        const QRect label = form.label->geometry();
        const QRect button = form.button->geometry();
        SetUpWindowAt(&form, false, dpi, dpi, dpi / 96.0);
        QCOMPARE(form.size(), QSize(800, 600));
        QCOMPARE(form.label->geometry(), label);
        QCOMPARE(form.button->geometry(), button);
        QVERIFY2(qAbs(form.label->font().pointSizeF() - fontSize) < 0.01,
                 qPrintable(QString::number(form.label->font().pointSizeF())));
    }

    // The scale follows the screen, not the interface font the learner picked.
    void systemFontScaleIgnoresTheChosenFont()
    {
        const QFont before = QApplication::font();
        const double expected = QGuiApplication::primaryScreen()->logicalDotsPerInchY() / 96.0;
        for (const double points : {7.0, 30.0}) {
            QFont font = before;
            font.setPointSizeF(points);
            QApplication::setFont(font);
            QCOMPARE(SystemFontScale(), expected);
        }
        QApplication::setFont(before);
    }

    void dragByTheBody()
    {
        TestForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QLabel *title = form.findChild<QLabel *>("lbTitle");
        QCOMPARE(Drag(&form, &form, QPoint(30, 20)), QPoint(30, 20));   // the background
        QCOMPARE(Drag(&form, title, QPoint(-15, 40)), QPoint(-15, 40)); // a plain label
        QCOMPARE(Drag(&form, form.button("btA"), QPoint(30, 20)), QPoint(0, 0)); // a button is no handle
        QCOMPARE(form.clicksA, 0); // released away from the button: no click

        StopWindowDrag(&form);
        QVERIFY(!WindowDragger::IsEnabled(&form));
        QCOMPARE(Drag(&form, &form, QPoint(30, 20)), QPoint(0, 0));

        // The common library's switch reaches the same dragging.
        vcSetMoveWindowProc(&form, -1);
        QCOMPARE(Drag(&form, &form, QPoint(-20, 10)), QPoint(-20, 10));
        vcSetMoveWindowProc(&form, 0);
        QCOMPARE(Drag(&form, &form, QPoint(-20, 10)), QPoint(0, 0));
    }

    void unloadOnClose()
    {
        TestForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.loads, 1);
        QVERIFY(WindowDragger::IsEnabled(&form));
        form.accept();
        QCOMPARE(form.unloads, 1);
        QVERIFY(!form.IsLoaded());
        QCOMPARE(form.Skin(), nullptr);
        QVERIFY(!WindowDragger::IsEnabled(&form));

        // A later show is a fresh load.
        form.show();
        QCOMPARE(form.loads, 2);
        QVERIFY(form.Skin());
        form.close();
        QCOMPARE(form.unloads, 2);
    }

    void closedByTheWindowSystemLeavesThroughItsCloseButton()
    {
        LeavingForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.close(); // as Alt+F4 does
        QCOMPARE(form.leaves, 1);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.unloads, 1);
    }

    void windowControlButtons()
    {
        TestForm form;
        form.AddButton("btWinMin", 5000, 60, 300, 300);
        form.AddButton("btWinMax", 5400, 60, 300, 300);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.DispatchClick("btWinMax"));
        QVERIFY(form.isMaximized());
        QVERIFY(form.DispatchClick("btWinNormal"));
        QVERIFY(!form.isMaximized());
        QVERIFY(form.DispatchClick("btWinMin"));
        QVERIFY(form.isMinimized());
        QVERIFY(!form.DispatchClick("btWinClose")); // leaving is each window's own
        form.close();
    }

    void enterAndEscapeAreSwallowed()
    {
        TestForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::keyClick(&form, Qt::Key_Escape);
        QTest::keyClick(&form, Qt::Key_Return);
        QVERIFY(form.isVisible());
        QCOMPARE(form.unloads, 0);
        form.close();
    }

private:
    std::unique_ptr<SkinFixture> m_skin;
};

QTEST_MAIN(TestUiWindow)
#include "test_ui_window.moc"
