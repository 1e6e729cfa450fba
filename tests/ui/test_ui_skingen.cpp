// The skin generator: a manifest mistake stops the build with the line named, a
// placeholder left unfilled is an error, and a button gets its four looks at 1x and 2x.
#include "SkinManifest.h"
#include "SkinRenderer.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace skingen;

namespace {

const char *const kStyles = "style s normal BG=#FFFFFF FG=#000000\nstyle s -a BG=#EEEEEE\n";

void Write(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

class TestUiSkinGen : public QObject
{
    Q_OBJECT

private slots:
    void manifestErrors_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::addRow("unknown kind") << "buton f b push 10 10 style=s" << "line 3: unknown kind";
        QTest::addRow("size not a number") << "button f b push ten 10 style=s" << "line 3: expected: button";
        QTest::addRow("zero size") << "picture f b push 0 10" << "line 3: expected: picture";
        QTest::addRow("button without style") << "button f b push 10 10" << "line 3: a button needs style";
        QTest::addRow("unknown style") << "button f b push 10 10 style=t" << "line 3: unknown style \"t\"";
        QTest::addRow("pair without =") << "button f b push 10 10 style=s bold" << "line 3: expected key=value";
        QTest::addRow("path in a name") << "button ../f b push 10 10 style=s" << "line 3: expected: button";
        QTest::addRow("style of an unknown look") << "style s -x BG=#000" << "line 3: style needs";
    }
    void manifestErrors()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        SkinManifest manifest;
        QString message;
        QVERIFY(!ParseManifest(QString::fromLatin1(kStyles) + text, &manifest, &message));
        QVERIFY2(message.startsWith(error), qPrintable(message));
    }

    void rendersLooksAndCatchesUnfilledPlaceholders()
    {
        QTemporaryDir dir(qEnvironmentVariable("MVX_TEST_TMP", QDir::tempPath()) + QStringLiteral("/genXXXXXX"));
        const QString src = dir.path() + QStringLiteral("/src");
        Write(src + QStringLiteral("/templates/push.svg"),
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"${W}\" height=\"${H}\" viewBox=\"0 0 ${W} ${H}\">"
              "<rect width=\"${W}\" height=\"${H}\" fill=\"${BG}\"/><text x=\"${CX}\" y=\"${TY}\" fill=\"${FG}\">${TEXT}</text></svg>");
        Write(src + QStringLiteral("/templates/bad.svg"),
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"${W}\" height=\"${H}\"><rect fill=\"${COLOUR}\"/></svg>");

        SkinManifest manifest;
        QString error;
        QVERIFY(ParseManifest(QString::fromLatin1(kStyles) + "button Win btOk push 30 12 style=s \"text=确 定 & <ok>\"\n", &manifest, &error));
        const QString out = dir.path() + QStringLiteral("/out");
        SkinRenderer renderer(src, out);
        QVERIFY2(renderer.RenderAll(manifest, &error), qPrintable(error));
        QCOMPARE(renderer.FilesWritten(), 8);
        const QImage normal(out + QStringLiteral("/Win/btOk.png"));
        const QImage hover(out + QStringLiteral("/Win/btOk-a.png"));
        QCOMPARE(normal.size(), QSize(30, 12));
        QCOMPARE(QImage(out + QStringLiteral("/Win/btOk-d@2x.png")).size(), QSize(60, 24));
        QCOMPARE(normal.pixelColor(1, 1), QColor(0xFF, 0xFF, 0xFF));
        QCOMPARE(hover.pixelColor(1, 1), QColor(0xEE, 0xEE, 0xEE));            // the look's own value
        QCOMPARE(QImage(out + QStringLiteral("/Win/btOk-p.png")).pixelColor(1, 1), QColor(0xFF, 0xFF, 0xFF)); // normal's

        SkinManifest badManifest;
        QVERIFY(ParseManifest(QStringLiteral("picture Win broken bad 10 10\n"), &badManifest, &error));
        SkinRenderer badRenderer(src, out);
        QVERIFY(!badRenderer.RenderAll(badManifest, &error));
        QVERIFY2(error.contains(QStringLiteral("${COLOUR}")) && error.startsWith(QStringLiteral("line 1")), qPrintable(error));
        QVERIFY(!QFile::exists(out + QStringLiteral("/Win/broken.png")));
    }
};

QTEST_MAIN(TestUiSkinGen)
#include "test_ui_skingen.moc"
