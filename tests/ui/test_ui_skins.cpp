// The skins the build renders into the program home: every window folder holds every
// button of its window in its four looks at 1x and 2x, the option pictures and the
// player's border pieces are there, and the real message box loads them.
#include "core/AppState.h"
#include "ui/SkinImage.h"
#include "ui/lgMsgBoxForm.h"

#include <QFileInfo>
#include <QImage>
#include <QtTest>

using namespace mvx;

namespace {

QString SkinRoot()
{
    return QStringLiteral(MVX_HOME) + QStringLiteral("/ecminterface");
}

// Checks name.png and name@2x.png: both decode, the 2x one is exactly twice as large.
QSize CheckPicture(const QString &folder, const QString &name)
{
    const QString base = SkinRoot() + u'/' + folder + u'/' + name;
    const QImage one(base + QStringLiteral(".png"));
    const QImage two(base + QStringLiteral("@2x.png"));
    if (one.isNull() || two.isNull()) {
        QTest::qFail(qPrintable(QStringLiteral("missing or broken: %1/%2").arg(folder, name)), __FILE__, __LINE__);
        return {};
    }
    if (two.size() != one.size() * 2)
        QTest::qFail(qPrintable(QStringLiteral("2x size wrong: %1/%2").arg(folder, name)), __FILE__, __LINE__);
    return one.size();
}

} // namespace

class TestUiSkins : public QObject
{
    Q_OBJECT

private slots:
    void windowButtons_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("tags");
        QTest::addRow("common") << "common" << QStringList{"btOk", "btCancel", "btWinClose", "btWinMin"};
        QTest::addRow("message box") << "lgMsgBoxForm" << QStringList{"btOk", "btCancel"};
        QTest::addRow("learning steps") << "LearnStepsForm" << QStringList{"btOk", "btCancel", "btWinClose"};
        QTest::addRow("excerpt dialog") << "SaveSegForm" << QStringList{"btOk", "btCancel", "btWinClose"};
        QTest::addRow("lesson export") << "ExportLessonForm" << QStringList{"btBrowse", "btOk", "btCancel", "btWinClose"};
        QTest::addRow("copy word sounds") << "CopyWordSndForm" << QStringList{"btCopyWord", "btContinue", "btWinClose"};
        QTest::addRow("manage sounds") << "ManageSoundForm" << QStringList{"btCopyWord", "btOk", "btCancel", "btWinClose"};
        QTest::addRow("article library")
            << "ArticleForm"
            << QStringList{"btRepeat", "btNotebook", "btReviewer", "btCopySound", "btHelp", "btExit", "btWinMin", "btWinClose"};
        QTest::addRow("lesson player")
            << "PlayLessonForm"
            << QStringList{"btPlay", "btRepeatSentence", "btAutoRepeat", "btPlaySentence", "btABRepeatA", "btABRepeatB",
                           "btPause", "btStop", "btPrev", "btNext", "btMarkSentence", "btDigest", "btPrint", "btSearch",
                           "btMp3", "btSpell", "btSpeak", "btThink", "btStopThinking", "btWordSummary", "btNotebook",
                           "btSetting", "btBrowse", "btWinHelp", "btWinMin", "btWinMax", "btWinNormal", "btWinClose"};
    }
    void windowButtons()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, tags);
        for (const QString &tag : tags) {
            const QSize normal = CheckPicture(folder, tag);
            QImage normalImage(SkinRoot() + u'/' + folder + u'/' + tag + QStringLiteral(".png"));
            for (const char *look : {"-a", "-p", "-d"}) {
                const QString name = tag + QLatin1String(look);
                QCOMPARE(CheckPicture(folder, name), normal); // every look has the button's size
                QImage image(SkinRoot() + u'/' + folder + u'/' + name + QStringLiteral(".png"));
                QVERIFY2(image != normalImage, qPrintable(folder + u'/' + name + QStringLiteral(" looks like the normal picture")));
            }
        }
    }

    void pictures_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        for (const char *name : {"radio", "radio-s", "radio-d", "radio-ds", "checkbox", "checkbox-s", "checkbox-d", "checkbox-ds"})
            QTest::addRow("common %s", name) << "common" << QString::fromLatin1(name) << QSize(13, 13);
        QTest::addRow("message box background at its design size") << "lgMsgBoxForm" << "background" << QSize(386, 305);
        QTest::addRow("message box sign") << "lgMsgBoxForm" << "ImgMsg" << QSize(32, 32);
        for (const char *name : {"ImgTop", "imgTopRight", "ImgLeft", "ImgRight", "ImgDown", "ImgDownLeft", "ImgDownRight"})
            QTest::addRow("player border %s", name) << "PlayLessonForm" << QString::fromLatin1(name) << QSize();
        for (const char *name : {"tree-closed", "tree-open", "tree-article"})
            QTest::addRow("library tree %s", name) << "ArticleForm" << QString::fromLatin1(name) << QSize(16, 16);
    }
    void pictures()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QSize found = CheckPicture(folder, name);
        QVERIFY(!found.isEmpty());
        if (size.isValid())
            QCOMPARE(found, size);
    }

    void optionLooksDiffer()
    {
        const QImage off(SkinRoot() + QStringLiteral("/common/radio.png"));
        const QImage on(SkinRoot() + QStringLiteral("/common/radio-s.png"));
        const QImage boxOff(SkinRoot() + QStringLiteral("/common/checkbox.png"));
        const QImage boxOn(SkinRoot() + QStringLiteral("/common/checkbox-s.png"));
        QVERIFY(off != on);
        QVERIFY(boxOff != boxOn);
    }

    void messageBoxUsesTheRenderedSkin()
    {
        App().skinRoot = SkinRoot();
        lgMsgBoxForm box;
        box.Load();
        box.init(QStringLiteral("请注意：拷贝声音后要重新启动本软件才能听到单词真人发音。"), 0);
        SkinImage *ok = box.Skin()->GetButton(QStringLiteral("btOk"));
        QCOMPARE(QFileInfo(ok->picturePath()).fileName(), QStringLiteral("btOk.png"));
        QCOMPARE(QFileInfo(ok->picturePath()).dir().dirName(), QStringLiteral("lgMsgBoxForm"));
        QCOMPARE(ok->size(), QSize(75, 22)); // 1125 x 330 twips
        QVERIFY(!box.findChild<SkinImage *>(QStringLiteral("ImgMsg"))->picture().isNull());
    }

    // A box shorter than its background picture (one line of text) keeps the picture's
    // title band at the top and its border at the bottom.
    void shortMessageBoxKeepsItsFrame()
    {
        App().skinRoot = SkinRoot();
        lgMsgBoxForm box;
        box.Load();
        box.init(QStringLiteral("您还没有选择文章。"), 1);
        const QImage picture(SkinRoot() + QStringLiteral("/lgMsgBoxForm/background.png"));
        QVERIFY(box.height() < picture.height());
        const QImage shown = box.grab().toImage();
        const int x = picture.width() / 4; // clear of the buttons and labels
        QCOMPARE(shown.pixelColor(x, 5), picture.pixelColor(x, 5));
        QCOMPARE(shown.pixelColor(x, shown.height() - 1), picture.pixelColor(x, picture.height() - 1));
        QCOMPARE(shown.pixelColor(0, shown.height() / 2), picture.pixelColor(0, picture.height() / 2));
    }
};

QTEST_MAIN(TestUiSkins)
#include "test_ui_skins.moc"
