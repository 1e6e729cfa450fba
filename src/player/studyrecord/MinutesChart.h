#pragma once
// A bar chart of the minutes studied per day for the last days up to a given day, drawn with
// QPainter: one bar a day (empty days stay empty), the most minutes at the top, the dates of
// the first and last day under the bars.
#include <QDate>
#include <QMap>
#include <QWidget>

namespace mvx {

class MinutesChart final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Days = 30;

    explicit MinutesChart(QWidget *parent = nullptr);
    // ms studied per day; the chart shows the Days days ending with lastDay.
    void SetDays(const QMap<QDate, qint64> &msPerDay, const QDate &lastDay);
    // Minutes of each shown day, oldest first (what the bars show).
    [[nodiscard]] QList<double> ShownMinutes() const;
    // The bar of day i (0 = oldest) in widget coordinates; empty for a day without study.
    [[nodiscard]] QRect BarRect(int i) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    [[nodiscard]] QRect PlotRect() const;
    [[nodiscard]] double Top() const;
    QMap<QDate, qint64> m_days;
    QDate m_lastDay;
};

} // namespace mvx
