#include "player/studyrecord/MinutesChart.h"

#include "player/history/HistoryReport.h"

#include <QPainter>
#include <cmath>

namespace mvx {

MinutesChart::MinutesChart(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("chMinutes"));
    setMinimumSize(320, 140);
}

void MinutesChart::SetDays(const QMap<QDate, qint64> &msPerDay, const QDate &lastDay)
{
    m_days = msPerDay;
    m_lastDay = lastDay;
    update();
}

QList<double> MinutesChart::ShownMinutes() const
{
    QList<double> out;
    for (int i = 0; i < Days; ++i)
        out << Minutes(m_days.value(m_lastDay.addDays(i - Days + 1)));
    return out;
}

QRect MinutesChart::PlotRect() const
{
    return rect().adjusted(40, 10, -10, -24);
}

double MinutesChart::Top() const
{
    double top = 0;
    for (double m : ShownMinutes())
        top = std::max(top, m);
    // A round top: 5, 10, 15, ... minutes.
    return std::max(5.0, std::ceil(top / 5.0) * 5.0);
}

QRect MinutesChart::BarRect(int i) const
{
    const QList<double> minutes = ShownMinutes();
    if (i < 0 || i >= Days || minutes[i] <= 0)
        return {};
    const QRect plot = PlotRect();
    const double slot = plot.width() / double(Days);
    const int h = std::max(1, int(std::lround(minutes[i] / Top() * plot.height())));
    const int left = plot.left() + int(std::lround(i * slot + slot * 0.15));
    const int width = std::max(1, int(std::lround(slot * 0.7)));
    return QRect(left, plot.bottom() - h + 1, width, h);
}

void MinutesChart::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const QRect plot = PlotRect();
    p.setPen(palette().mid().color());
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    p.setPen(palette().text().color());
    const QFontMetrics fm(font());
    const double top = Top();
    p.drawText(QRect(0, plot.top() - fm.height() / 2, plot.left() - 4, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("%1分").arg(top));
    p.drawText(QRect(0, plot.bottom() - fm.height() / 2, plot.left() - 4, fm.height()),
               Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
    const QColor bar(0x3A, 0x7B, 0xD5);
    for (int i = 0; i < Days; ++i) {
        const QRect r = BarRect(i);
        if (!r.isEmpty())
            p.fillRect(r, bar);
    }
    if (m_lastDay.isValid()) {
        const QRect labels(plot.left(), plot.bottom() + 4, plot.width(), fm.height());
        p.drawText(labels, Qt::AlignLeft, m_lastDay.addDays(1 - Days).toString(QStringLiteral("M月d日")));
        p.drawText(labels, Qt::AlignRight, m_lastDay.toString(QStringLiteral("M月d日")));
    }
}

} // namespace mvx
