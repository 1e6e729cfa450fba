// The choice of the HTML views' scene-graph back end from OpenGL's renderer string and
// the learner's overrides.
#include "core/SceneGraphChoice.h"

#include <QtTest>

using namespace mvx;

Q_DECLARE_METATYPE(mvx::SceneGraphBackend)

class TestCoreSceneGraph : public QObject
{
    Q_OBJECT

private slots:
    void choice_data()
    {
        QTest::addColumn<QString>("renderer");
        QTest::addColumn<bool>("contextMade");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<SceneGraphBackend>("backend");
        const auto soft = SceneGraphBackend::Software;
        const auto hard = SceneGraphBackend::Hardware;
        // Processor-side OpenGL, as Mesa and Chromium name it.
        QTest::addRow("llvmpipe") << "llvmpipe (LLVM 15.0.6, 256 bits)" << true << "" << "" << soft;
        QTest::addRow("softpipe") << "softpipe" << true << "" << "" << soft;
        QTest::addRow("SwiftShader via ANGLE")
            << "ANGLE (Google, Vulkan 1.3.0 (SwiftShader Device (Subzero) (0x0000C0DE)), SwiftShader driver)" << true
            << "" << "" << soft;
        QTest::addRow("Mesa's old software rasterizer") << "Software Rasterizer" << true << "" << "" << soft;
        QTest::addRow("upper case") << "LLVMPIPE (LLVM 14)" << true << "" << "" << soft;
        QTest::addRow("no context at all") << "" << false << "" << "" << soft;
        QTest::addRow("a context without a name") << "  " << true << "" << "" << soft;
        // Real GPUs.
        QTest::addRow("Intel") << "Mesa Intel(R) UHD Graphics 620 (KBL GT2)" << true << "" << "" << hard;
        QTest::addRow("AMD") << "AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)" << true << ""
                             << "" << hard;
        QTest::addRow("NVIDIA") << "NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2" << true << "" << "" << hard;
        QTest::addRow("virtio GPU of a VM") << "virgl (Intel(R) UHD Graphics 630)" << true << "" << "" << hard;
        // Overrides, both ways; the variable wins over the setting.
        QTest::addRow("variable forces software on a GPU") << "NVIDIA GeForce GTX 1060" << true << "software" << ""
                                                             << soft;
        QTest::addRow("variable forces hardware on llvmpipe") << "llvmpipe" << true << "hardware" << "" << hard;
        QTest::addRow("variable hardware without a context") << "" << false << "opengl" << "" << hard;
        QTest::addRow("setting forces software") << "AMD Radeon" << true << "" << "software" << soft;
        QTest::addRow("setting forces hardware") << "llvmpipe" << true << "" << " Hardware " << hard;
        QTest::addRow("variable beats setting") << "llvmpipe" << true << "GPU" << "software" << hard;
        QTest::addRow("unknown override words decide by renderer") << "llvmpipe" << true << "fast" << "auto" << soft;
    }
    void choice()
    {
        QFETCH(QString, renderer);
        QFETCH(bool, contextMade);
        QFETCH(QString, environment);
        QFETCH(QString, setting);
        QFETCH(SceneGraphBackend, backend);
        const SceneGraphDecision d = ChooseSceneGraphBackend(renderer, contextMade, environment, setting);
        QCOMPARE(d.backend, backend);
        QVERIFY(!d.reason.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCoreSceneGraph)
#include "test_core_scenegraph.moc"
