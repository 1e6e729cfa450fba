// The player window while it plays or repeats, with the real media back end, pages and
// waveform: the tape head repaints at most at the screen's refresh rate and only its strip
// of the waveform, the window itself repaints only small label areas, and the changing
// position label never asks the window for a new layout.
#include "../support/BuiltHome.h"
#include "../sentra/SentraFixtures.h"
#include "core/AppState.h"
#include "core/UserSettings.h"
#include "player/form/PlayLessonForm.h"
#include "player/form/WaveView.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"

#include <QScreen>
#include <QtTest>

using namespace mvx;

namespace {

struct PaintLog final : public QObject
{
    QWidget *wave = nullptr;
    QWidget *form = nullptr;
    QList<QRegion> wavePaints;
    QList<QRegion> formPaints;
    int layoutRequests = 0;
    bool recording = false;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (recording) {
            if (event->type() == QEvent::Paint) {
                const QRegion region = static_cast<QPaintEvent *>(event)->region();
                if (watched == wave)
                    wavePaints << region;
                else if (watched == form)
                    formPaints << region;
            } else if (event->type() == QEvent::LayoutRequest && watched == form) {
                ++layoutRequests;
            }
        }
        return false;
    }
};

qint64 Area(const QRegion &region)
{
    qint64 area = 0;
    for (const QRect &r : region)
        area += qint64(r.width()) * r.height();
    return area;
}

} // namespace

class TestPlayerRepaint : public QObject
{
    Q_OBJECT

    QString m_book;

private slots:
    void initTestCase()
    {
        testhome::UseBuiltHome();
        SetMessageBoxHandler([](const QString &text, int) {
            qWarning("message: %s", qPrintable(text));
            return -1;
        });
        // One long sentence, so a whole second of playing stays inside it.
        sentra::LessonData l;
        l.title = QStringLiteral("Long");
        l.sound = fixtures::toneFile(22050, 1, 9.0);
        auto title = fixtures::sentence(0, 500, l.title);
        title.isTitle = true;
        l.sentences << title
                    << fixtures::sentence(500, 9000, QStringLiteral("A long sentence keeps the head moving."),
                                          QStringLiteral("一个长句子。"));
        m_book = fixtures::makeBook(QStringLiteral("repaint.dat"), {l});
    }

    void headRepaintsAreFewAndSmall_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("status");
        QTest::addRow("playing") << int(Qt::Key_G) << int(Playing);
        QTest::addRow("repeating the sentence") << int(Qt::Key_R) << int(Repeating);
    }
    void headRepaintsAreFewAndSmall()
    {
        QFETCH(int, key);
        QFETCH(int, status);
        // The fastest speed and the finest zoom move the head most often: 70 pixels a second.
        SaveUserInt(QString::fromLatin1(Key::Speed), 3);
        SaveUserInt(QString::fromLatin1(Key::WindowRatio), 1);
        SaveUserBool(QString::fromLatin1(Key::AutoMaximize), false);
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.resize(1100, 760);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        PlaybackController &c = form.Controller();
        QCOMPARE(c.CurSentence(), 1);

        PaintLog log;
        log.wave = form.WaveGraph();
        log.form = &form;
        form.WaveGraph()->installEventFilter(&log);
        form.installEventFilter(&log);
        QTest::keyClick(&form, Qt::Key(key));
        QCOMPARE(c.PlayStatus(), status);
        QTest::qWait(500);
        const int windowStart = c.Wave().WindowStart();
        const int startPos = c.CurPos();
        log.recording = true;
        QTest::qWait(1000);
        log.recording = false;
        QCOMPARE(c.PlayStatus(), status);
        QCOMPARE(c.CurSentence(), 1);
        QCOMPARE(c.Wave().WindowStart(), windowStart); // no scroll: every paint was a head move
        QVERIFY2(c.CurPos() != startPos, "the sound played during the second");

        const double refreshHz = 1000.0 / form.WaveGraph()->HeadFrameMs();
        const QScreen *screen = form.screen();
        QCOMPARE(refreshHz, screen->refreshRate() > 0 ? screen->refreshRate() : 60.0);
        QVERIFY2(log.wavePaints.size() <= qCeil(refreshHz),
                 qPrintable(QStringLiteral("%1 head paints in a second").arg(log.wavePaints.size())));
        QVERIFY2(log.wavePaints.size() >= 5, "the head moved on the screen");
        for (const QRegion &paint : log.wavePaints)
            for (const QRect &r : paint)
                QVERIFY2(r.width() <= 16, qPrintable(QStringLiteral("a paint %1 px wide").arg(r.width())));

        // The window paints only behind its small labels; no layout request reaches it.
        const qint64 windowArea = qint64(form.width()) * form.height();
        for (const QRegion &paint : log.formPaints)
            QVERIFY2(Area(paint) * 50 < windowArea,
                     qPrintable(QStringLiteral("the window painted %1 of %2 px").arg(Area(paint)).arg(windowArea)));
        QCOMPARE(log.layoutRequests, 0);
        QTest::keyClick(&form, Qt::Key_S);
    }
};

QTEST_MAIN(TestPlayerRepaint)
#include "test_player_repaint.moc"
