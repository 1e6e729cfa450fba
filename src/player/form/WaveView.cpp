#include "player/form/WaveView.h"

#include "libs/comm/CommLib.h"
#include "player/playback/PlaybackController.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace mvx {

namespace {
const QColor kEnabledBack(0xFF, 0xFF, 0xFF);
const QColor kDisabledBack(0xE0, 0xE0, 0xE0);
const QColor kRed(255, 0, 0);
const QColor kHead(0, 0, 0);
const QColor kSegment(0, 120, 215);
const QColor kDragEdge(0, 160, 0);
} // namespace

WaveView::WaveView(PlaybackController &controller, QWidget *parent) : QWidget(parent), m_controller(controller)
{
    setObjectName(QStringLiteral("piWaveGraph"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumHeight(RulerHeight + 20);
    connect(&m_controller, &PlaybackController::waveChanged, this, &WaveView::OnWaveChanged);
    connect(&m_controller, &PlaybackController::tapeHeadMoved, this, &WaveView::OnTapeHeadMoved);
    m_frameClock.start();
    m_nextFrame.setSingleShot(true);
    m_nextFrame.setTimerType(Qt::PreciseTimer);
    connect(&m_nextFrame, &QTimer::timeout, this, &WaveView::OnTapeHeadMoved);
}

void WaveView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (const QScreen *s = screen())
        m_pacer.SetRefreshRate(s->refreshRate());
}

QRect WaveView::PictureRect() const
{
    return QRect(0, RulerHeight, width(), std::max(1, height() - RulerHeight));
}

void WaveView::OnWaveChanged()
{
    m_cacheValid = false;
    update();
}

QRect WaveView::ColumnRect(int x) const
{
    return QRect(x - 2, 0, 5, height());
}

void WaveView::OnTapeHeadMoved()
{
    if (m_nextFrame.isActive())
        return; // this frame's repaint is booked; it takes the newest position then
    const int wait = m_pacer.WaitMs(m_frameClock.elapsed());
    if (wait > 0) {
        m_nextFrame.start(wait);
        return;
    }
    m_pacer.Painted(m_frameClock.elapsed());
    RepaintMovedLines();
}

void WaveView::RepaintMovedLines()
{
    const WaveWindow &w = m_controller.Wave();
    const int headX = w.TapeHeadX();
    const int segStart = w.SegStartShown() ? w.XOf(w.SegStartMs()) : -1;
    const int segEnd = w.SegEndShown() ? w.XOf(w.SegEndMs()) : -1;
    for (const auto &[drawn, now] : {std::pair{m_drawnHeadX, headX}, std::pair{m_drawnSegStartX, segStart},
                                     std::pair{m_drawnSegEndX, segEnd}}) {
        if (drawn == now)
            continue;
        update(ColumnRect(drawn));
        update(ColumnRect(now));
    }
}

void WaveView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_controller.SetWavePictureWidth(width());
    m_cacheValid = false;
}

void WaveView::RebuildCache()
{
    const QRect pic = PictureRect();
    const qreal dpr = devicePixelRatioF();
    m_cache = QPixmap(QSize(pic.width(), pic.height()) * dpr);
    m_cache.setDevicePixelRatio(dpr);
    QPainter p(&m_cache);
    RenderPicture(p);
    m_cacheValid = true;
    ++m_redraws;
}

void WaveView::RenderPicture(QPainter &p)
{
    const WaveWindow &w = m_controller.Wave();
    const QRect pic = PictureRect();
    const int width = pic.width();
    const int height = pic.height();
    p.fillRect(QRect(0, 0, width, height), w.Enabled() ? kEnabledBack : kDisabledBack);
    if (m_controller.PlayStatus() != NoLesson && m_controller.DigestHandle() > 0)
        vcDigestFile_Draw(m_controller.DigestHandle(), &p, height, width, w.WindowStart(), w.Ratio(),
                          WaveWindow::DigestStepMs);
    p.setPen(kRed);
    const int mid = width / 2;
    p.drawLine(mid, 0, mid, 4);                   // 60 twips down from the top
    p.drawLine(mid, height - 1, mid, height - 8); // 105 twips up from the bottom
    if (m_controller.PlayStatus() != NoLesson && w.SndLength() < w.WindowStart() + w.WindowWidth()) {
        const int x = w.XOf(w.SndLength());
        p.drawLine(x, 0, x, height);
    }
}

void WaveView::DrawRuler(QPainter &p)
{
    const WaveWindow &w = m_controller.Wave();
    p.fillRect(QRect(0, 0, width(), RulerHeight), palette().window());
    if (w.RulerCleared() || m_controller.PlayStatus() == NoLesson)
        return;
    QFont f = font();
    f.setPixelSize(10);
    p.setFont(f);
    p.setPen(palette().windowText().color());
    const QFontMetrics fm(f);
    for (int i = 0; i <= w.RulerMarkCount(); ++i) {
        const int x = w.RulerTickX(i);
        if (x > width())
            break; // labels whose centre lies beyond the picture are hidden
        const QString text = w.RulerLabelText(i);
        const int tw = fm.horizontalAdvance(text);
        // Label 0 sits at the left edge: keep its caption whole inside the view.
        p.drawText(QRect(std::max(0, x - tw / 2), 0, tw, RulerHeight - 6), Qt::AlignCenter, text);
        p.drawLine(x, RulerHeight - 5, x, RulerHeight - 1);
    }
}

void WaveView::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect pic = PictureRect();
    if (event->rect().top() < RulerHeight)
        DrawRuler(p);
    if (!m_cacheValid || m_cache.size() / m_cache.devicePixelRatio() != pic.size())
        RebuildCache();
    p.drawPixmap(pic.topLeft(), m_cache);
    if (m_controller.PlayStatus() == NoLesson) {
        m_drawnHeadX = m_drawnSegStartX = m_drawnSegEndX = -1;
        return;
    }
    const WaveWindow &w = m_controller.Wave();
    p.setPen(QPen(kSegment, 1));
    m_drawnSegStartX = w.SegStartShown() ? w.XOf(w.SegStartMs()) : -1;
    m_drawnSegEndX = w.SegEndShown() ? w.XOf(w.SegEndMs()) : -1;
    for (int x : {m_drawnSegStartX, m_drawnSegEndX})
        if (x >= 0)
            p.drawLine(x, pic.top(), x, pic.bottom());
    m_drawnHeadX = w.TapeHeadX();
    p.setPen(QPen(kHead, 1));
    p.drawLine(m_drawnHeadX, pic.top(), m_drawnHeadX, pic.bottom());
    if (m_dragging) {
        // The edge where it would go (kept inside the picture when it leaves it), and by how much.
        const int x = std::clamp(w.XOf((m_dragEnd ? w.SndLength() : 0) + m_dragDeltaMs), 1, pic.width() - 2);
        p.setPen(QPen(kDragEdge, 2, Qt::DashLine));
        p.drawLine(x, pic.top(), x, pic.bottom());
        const QString text = QStringLiteral("%1 %2%3 毫秒")
                                 .arg(m_dragEnd ? QStringLiteral("结束") : QStringLiteral("开始"),
                                      m_dragDeltaMs > 0 ? QStringLiteral("+") : QString())
                                 .arg(m_dragDeltaMs);
        const int tw = p.fontMetrics().horizontalAdvance(text);
        p.drawText(std::clamp(x + 4, 0, std::max(0, pic.width() - tw - 2)), pic.top() + p.fontMetrics().ascent() + 2,
                   text);
    }
}

void WaveView::mousePressEvent(QMouseEvent *event)
{
    if (event->position().y() < RulerHeight)
        return;
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (event->button() == Qt::LeftButton && mods.testFlag(Qt::ShiftModifier) && !mods.testFlag(Qt::ControlModifier)) {
        const WaveWindow &w = m_controller.Wave();
        if (m_controller.PlayStatus() == NoLesson || m_controller.IsBusy() || !w.PictureEnabled())
            return;
        m_dragging = true;
        m_dragFromMs = w.TimeAt(qRound(event->position().x()));
        m_dragEnd = m_dragFromMs * 2 >= w.SndLength();
        m_dragDeltaMs = 0;
        update();
        return;
    }
    m_controller.WaveMouseDown(qRound(event->position().x()), event->button() == Qt::LeftButton,
                               event->modifiers().testFlag(Qt::ControlModifier));
}

void WaveView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    m_dragDeltaMs = m_controller.Wave().TimeAt(qRound(event->position().x())) - m_dragFromMs;
    update();
}

void WaveView::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    m_dragDeltaMs = m_controller.Wave().TimeAt(qRound(event->position().x())) - m_dragFromMs;
    m_dragging = false;
    if (m_dragDeltaMs != 0)
        m_controller.NudgeCurrentSentence(m_dragEnd, m_dragDeltaMs);
    m_dragDeltaMs = 0;
    update();
}

void WaveView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_dragging || event->modifiers().testFlag(Qt::ShiftModifier))
        return;
    if (event->button() == Qt::LeftButton && event->position().y() >= RulerHeight)
        m_controller.WaveDoubleClick();
}

} // namespace mvx
