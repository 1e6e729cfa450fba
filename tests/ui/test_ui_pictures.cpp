// Picture lookup and loading: folder and extension order, fixed names, 2x pictures,
// missing and broken files.
#include "UiTestSupport.h"

#include "ui/SkinPictures.h"

using namespace mvx;
using uitest::SkinFixture;

class TestUiPictures : public QObject
{
    Q_OBJECT

private slots:
    void lookupOrder_data()
    {
        QTest::addColumn<QStringList>("files"); // "folder/name" written before the lookup
        QTest::addColumn<QString>("expected");  // "folder/name" found, "" for none
        const QString w = QStringLiteral("Win/");
        const QString c = QStringLiteral("common/");
        QTest::addRow("png before gif, jpg and bmp in the window folder")
            << QStringList{w + "btX.bmp", w + "btX.jpg", w + "btX.gif", w + "btX.png"} << w + "btX.png";
        QTest::addRow("gif before jpg and bmp") << QStringList{w + "btX.bmp", w + "btX.jpg", w + "btX.gif"} << w + "btX.gif";
        QTest::addRow("jpg before bmp") << QStringList{w + "btX.bmp", w + "btX.jpg"} << w + "btX.jpg";
        QTest::addRow("bmp alone") << QStringList{w + "btX.bmp"} << w + "btX.bmp";
        QTest::addRow("window folder's bmp before common folder's png")
            << QStringList{c + "btX.png", w + "btX.bmp"} << w + "btX.bmp";
        QTest::addRow("common folder when the window folder lacks it")
            << QStringList{c + "btX.gif", w + "btY.png"} << c + "btX.gif";
        QTest::addRow("a state picture is its own name") << QStringList{w + "btX-a.png"} << QString();
        QTest::addRow("nothing anywhere") << QStringList{} << QString();
    }
    void lookupOrder()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, expected);
        SkinFixture skin;
        for (const QString &f : files)
            skin.put(f.section(u'/', 0, 0), f.section(u'/', 1));
        const QString found = skin::FindPicture(skin.root() + "/Win/", skin::CommonFolder(skin.root()), "btX");
        QCOMPARE(found, expected.isEmpty() ? QString() : skin.root() + u'/' + expected);
    }

    void fixedNames_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("expected");
        QTest::addRow("png of the same base name wins over the gif")
            << QStringList{"checkbox.gif", "checkbox.png"} << "checkbox.gif" << "checkbox.png";
        QTest::addRow("gif alone") << QStringList{"checkbox.gif"} << "checkbox.gif" << "checkbox.gif";
        QTest::addRow("png for a bmp name") << QStringList{"btX-s.png"} << "btX-s.bmp" << "btX-s.png";
        QTest::addRow("neither") << QStringList{"radio.gif"} << "radio-s.gif" << QString();
    }
    void fixedNames()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, asked);
        QFETCH(QString, expected);
        SkinFixture skin;
        for (const QString &f : files)
            skin.put("common", f);
        const QString found = skin::ResolveFixedPicture(skin.path("common", asked));
        QCOMPARE(found, expected.isEmpty() ? QString() : skin.path("common", expected));
    }

    void highDensityPictures_data()
    {
        QTest::addColumn<bool>("with2x");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<qreal>("expectedRatio");
        QTest::addRow("1x screen takes the 1x picture") << true << qreal(1) << qreal(1);
        QTest::addRow("2x screen prefers name@2x.png") << true << qreal(2) << qreal(2);
        QTest::addRow("2x screen without a 2x picture") << false << qreal(2) << qreal(1);
        QTest::addRow("1.5x screen prefers name@2x.png") << true << qreal(1.5) << qreal(2);
    }
    void highDensityPictures()
    {
        QFETCH(bool, with2x);
        QFETCH(qreal, ratio);
        QFETCH(qreal, expectedRatio);
        SkinFixture skin;
        const QString path = skin.put("Win", "btX.png", QSize(24, 24));
        if (with2x)
            skin.put("Win", "btX@2x.png", QSize(48, 48));
        const QPixmap pixmap = skin::LoadPicture(path, ratio);
        QVERIFY(!pixmap.isNull());
        QCOMPARE(pixmap.devicePixelRatio(), expectedRatio);
        QCOMPARE(pixmap.deviceIndependentSize().toSize(), QSize(24, 24)); // always the logical size
    }

    void replacedPictureIsReadAgain()
    {
        SkinFixture skin;
        const QString path = skin.put("Win", "btX.png", QSize(24, 24));
        QCOMPARE(skin::LoadPicture(path, 1).size(), QSize(24, 24));
        QCOMPARE(skin::LoadPicture(path, 1).size(), QSize(24, 24)); // from the cache
        skin.put("Win", "btX.png", QSize(30, 12));
        QCOMPARE(skin::LoadPicture(path, 1).size(), QSize(30, 12));
        QFile::remove(path);
        QVERIFY(skin::LoadPicture(path, 1).isNull()); // a removed picture is gone, not cached
    }

    void missingAndBrokenPictures()
    {
        SkinFixture skin;
        QVERIFY(skin::LoadPicture(skin.path("Win", "none.png"), 1).isNull());
        QVERIFY(skin::LoadPicture(skin.putBroken("Win", "broken.png"), 1).isNull());
        QVERIFY(skin::LoadPicture(QString(), 1).isNull());
        QVERIFY(!skin::LoadPicture(skin.put("Win", "old.gif"), 1).isNull());
        QVERIFY(!skin::LoadPicture(skin.put("Win", "old.bmp"), 1).isNull());
        QVERIFY(!skin::LoadPicture(skin.put("Win", "old.jpg"), 1).isNull());

        // A control keeps the picture it shows when a file is missing or broken.
        SkinImage image(nullptr, "ImgX", 0, "x");
        QVERIFY(image.loadPicture(skin.put("Win", "good.png", QSize(30, 12))));
        QVERIFY(!image.loadPicture(skin.path("Win", "broken.png")));
        QVERIFY(!image.loadPicture(skin.path("Win", "none.png")));
        QCOMPARE(image.picturePath(), skin.path("Win", "good.png"));
        QCOMPARE(image.size(), QSize(30, 12));
    }
};

QTEST_MAIN(TestUiPictures)
#include "test_ui_pictures.moc"
