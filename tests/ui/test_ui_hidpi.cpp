// On a high-density screen (Qt scale factor 2) a skinned button shows its
// "name@2x.png" at the logical size of the 1x picture; old formats still load.
#include "UiTestSupport.h"

#include <QApplication>

using namespace mvx;
using uitest::SkinFixture;
using uitest::TestForm;

class TestUiHiDpi : public QObject
{
    Q_OBJECT

private slots:
    void buttonsPreferTheirTwiceSizedPicture()
    {
        SkinFixture skin;
        skin.put("TestForm", "btA.png", QSize(40, 20));
        skin.put("TestForm", "btA@2x.png", QSize(80, 40));
        skin.put("TestForm", "btB.png", QSize(40, 20)); // no 2x picture
        skin.put("common", "btC.bmp", QSize(36, 18));
        TestForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.devicePixelRatioF(), 2.0);

        SkinImage *a = form.button("btA");
        QCOMPARE(a->picture().devicePixelRatio(), 2.0);
        QCOMPARE(a->picture().size(), QSize(80, 40));
        QCOMPARE(a->size(), QSize(40, 20));
        SkinImage *b = form.button("btB");
        QCOMPARE(b->picture().devicePixelRatio(), 1.0);
        QCOMPARE(b->size(), QSize(40, 20));
        QCOMPARE(form.button("btC")->size(), QSize(36, 18));
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestUiHiDpi test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_ui_hidpi.moc"
