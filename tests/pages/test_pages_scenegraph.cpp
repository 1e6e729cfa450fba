// The HTML views' scene-graph back end on this machine: the environment variable and the
// setting force it both ways (the variable wins), and the choice is in place before the
// first view, whose page then draws with the software back end.
#include "core/UserSettings.h"
#include "player/pages/HtmlView.h"
#include "player/pages/SceneGraphSetup.h"

#include <QDir>
#include <QFile>
#include <QQuickWindow>
#include <QtTest>

using namespace mvx;

Q_DECLARE_METATYPE(mvx::SceneGraphBackend)

class TestPagesSceneGraph : public QObject
{
    Q_OBJECT

private slots:
    void overridesWinBothWays_data()
    {
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<SceneGraphBackend>("backend");
        QTest::addRow("variable software") << "software" << "" << SceneGraphBackend::Software;
        QTest::addRow("variable hardware") << "hardware" << "" << SceneGraphBackend::Hardware;
        QTest::addRow("setting software") << "" << "software" << SceneGraphBackend::Software;
        QTest::addRow("setting hardware") << "" << "hardware" << SceneGraphBackend::Hardware;
        QTest::addRow("variable hardware over setting software") << "hardware" << "software"
                                                                  << SceneGraphBackend::Hardware;
        QTest::addRow("variable software over setting hardware") << "software" << "hardware"
                                                                  << SceneGraphBackend::Software;
    }
    void overridesWinBothWays()
    {
        QFETCH(QString, environment);
        QFETCH(QString, setting);
        QFETCH(SceneGraphBackend, backend);
        if (environment.isEmpty())
            qunsetenv("MVX_SCENE_GRAPH");
        else
            qputenv("MVX_SCENE_GRAPH", environment.toUtf8());
        SaveUserSetting(QString::fromLatin1(Key::SceneGraph), setting);
        QCOMPARE(pages::DecideSceneGraphBackend().backend, backend);
    }

    // Without an override the probe's answer decides, and it agrees with the renderer it saw.
    void withoutOverrideTheRendererDecides()
    {
        qunsetenv("MVX_SCENE_GRAPH");
        SaveUserSetting(QString::fromLatin1(Key::SceneGraph), QString());
        bool made = false;
        const QString renderer = pages::ProbeGlRenderer(&made);
        const bool software = !made || renderer.trimmed().isEmpty() || IsSoftwareGlRenderer(renderer);
        QCOMPARE(pages::DecideSceneGraphBackend().backend,
                 software ? SceneGraphBackend::Software : SceneGraphBackend::Hardware);
    }

    void theFirstViewDrawsWithTheChosenBackEnd()
    {
        qputenv("MVX_SCENE_GRAPH", "software");
        QCOMPARE(QQuickWindow::sceneGraphBackend(), QString());
        pages::HtmlView view;
        QCOMPARE(QQuickWindow::sceneGraphBackend(), QStringLiteral("software"));
        QCOMPARE(pages::ChooseSceneGraphBackendOnce().backend, SceneGraphBackend::Software);
        // Once chosen it stays for the process, whatever the variable says later.
        qputenv("MVX_SCENE_GRAPH", "hardware");
        QCOMPARE(pages::ChooseSceneGraphBackendOnce().backend, SceneGraphBackend::Software);

        const QString dir = qEnvironmentVariable("MVX_TEST_TMP", QDir::tempPath());
        const QString page = dir + QStringLiteral("/green.htm");
        QFile f(page);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<html><body style=\"margin:0;background:#00c000\"></body></html>");
        f.close();
        view.setAllowedFolders({dir});
        view.resize(200, 120);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QString error;
        QVERIFY2(view.loadAndWait(page, 20000, &error), qPrintable(error));
        QVERIFY(QTest::qWaitFor(
            [&] {
                const QImage shot = view.grab().toImage();
                return !shot.isNull() && shot.pixelColor(100, 60) == QColor(0, 0xc0, 0);
            },
            20000));
    }
};

QTEST_MAIN(TestPagesSceneGraph)
#include "test_pages_scenegraph.moc"
