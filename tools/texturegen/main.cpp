// Build-time generator of the lesson pages' background textures: ten seamless 128 x 128 PNG
// tiles of faint mid-grey marks on transparency (alpha at most 0.12), so one tile serves on
// the day and the night background alike. Fixed seeds: the same tiles on every build.
// Usage: mvxbrx-texturegen OUTDIR   (writes OUTDIR/1.png ... OUTDIR/10.png)
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

constexpr int Size = 128;
constexpr double MaxAlpha = 0.12;

// Draws a mark nine times, shifted by a whole tile each way, so it wraps at the edges.
void Wrapped(QPainter &p, const std::function<void(QPainter &)> &mark)
{
    for (int dx = -Size; dx <= Size; dx += Size)
        for (int dy = -Size; dy <= Size; dy += Size) {
            p.save();
            p.translate(dx, dy);
            mark(p);
            p.restore();
        }
}

void Draw(QPainter &p, int n, QRandomGenerator &rng)
{
    const auto rnd = [&rng](double lo, double hi) { return lo + rng.generateDouble() * (hi - lo); };
    p.setRenderHint(QPainter::Antialiasing);
    switch (n) {
    case 1: // fine speckles
        for (int i = 0; i < 420; ++i) {
            const QPointF c(rnd(0, Size), rnd(0, Size));
            const double r = rnd(0.4, 1.1);
            Wrapped(p, [&](QPainter &q) { q.setPen(Qt::NoPen); q.setBrush(Qt::black); q.drawEllipse(c, r, r); });
        }
        break;
    case 2: // paper fibres
        for (int i = 0; i < 90; ++i) {
            const QPointF a(rnd(0, Size), rnd(0, Size));
            const double angle = rnd(0, 6.283);
            const double len = rnd(6, 18);
            const QPointF b = a + QPointF(std::cos(angle) * len, std::sin(angle) * len);
            const QPointF ctrl = (a + b) / 2 + QPointF(rnd(-3, 3), rnd(-3, 3));
            Wrapped(p, [&](QPainter &q) {
                QPainterPath path(a);
                path.quadTo(ctrl, b);
                q.setPen(QPen(Qt::black, rnd(0.5, 0.9)));
                q.drawPath(path);
            });
        }
        break;
    case 3: // diagonal lines
        p.setPen(QPen(Qt::black, 0.8));
        for (int k = -Size; k < Size * 2; k += 8)
            p.drawLine(QPointF(k, 0), QPointF(k + Size, Size));
        break;
    case 4: // cross-hatch
        p.setPen(QPen(Qt::black, 0.6));
        for (int k = -Size; k < Size * 2; k += 8) {
            p.drawLine(QPointF(k, 0), QPointF(k + Size, Size));
            p.drawLine(QPointF(k, Size), QPointF(k + Size, 0));
        }
        break;
    case 5: // scattered rings
        for (int i = 0; i < 26; ++i) {
            const QPointF c(rnd(0, Size), rnd(0, Size));
            const double r = rnd(3, 9);
            Wrapped(p, [&](QPainter &q) { q.setPen(QPen(Qt::black, 0.8)); q.setBrush(Qt::NoBrush); q.drawEllipse(c, r, r); });
        }
        break;
    case 6: // ruled lines, as in an exercise book
        p.setPen(QPen(Qt::black, 1));
        for (int y = 4; y < Size; y += 16)
            p.drawLine(QPointF(0, y + 0.5), QPointF(Size, y + 0.5));
        break;
    case 7: // squared paper
        p.setPen(QPen(Qt::black, 0.7));
        for (int k = 0; k < Size; k += 16) {
            p.drawLine(QPointF(0, k + 0.5), QPointF(Size, k + 0.5));
            p.drawLine(QPointF(k + 0.5, 0), QPointF(k + 0.5, Size));
        }
        break;
    case 8: // gentle waves
        p.setPen(QPen(Qt::black, 0.8));
        for (int row = 0; row < Size; row += 12) {
            QPainterPath path(QPointF(0, row));
            for (int x = 0; x <= Size; ++x)
                path.lineTo(x, row + 3 * std::sin(x * 2 * M_PI / Size * 2));
            p.drawPath(path);
        }
        break;
    case 9: // linen: uneven threads both ways
        for (int k = 0; k < Size; k += 3) {
            p.setPen(QPen(QColor(0, 0, 0, int(rnd(60, 255))), 0.7));
            p.drawLine(QPointF(0, k + 0.5), QPointF(Size, k + 0.5));
            p.setPen(QPen(QColor(0, 0, 0, int(rnd(60, 255))), 0.7));
            p.drawLine(QPointF(k + 0.5, 0), QPointF(k + 0.5, Size));
        }
        break;
    default: // soft blots
        for (int i = 0; i < 40; ++i) {
            const QPointF c(rnd(0, Size), rnd(0, Size));
            const double r = rnd(2, 7);
            Wrapped(p, [&](QPainter &q) {
                q.setPen(Qt::NoPen);
                q.setBrush(QColor(0, 0, 0, int(rnd(80, 200))));
                q.drawEllipse(c, r, r * rnd(0.6, 1.0));
            });
        }
        break;
    }
}

QImage Tile(int n)
{
    // The marks are drawn dark on white; their coverage becomes the tile's alpha.
    QImage ink(Size, Size, QImage::Format_RGB32);
    ink.fill(Qt::white);
    {
        QPainter p(&ink);
        QRandomGenerator rng(quint32(1000 + n));
        Draw(p, n, rng);
    }
    QImage tile(Size, Size, QImage::Format_ARGB32);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const double coverage = 1.0 - qGray(ink.pixel(x, y)) / 255.0;
            tile.setPixel(x, y, qRgba(128, 128, 128, int(std::floor(coverage * MaxAlpha * 255))));
        }
    return tile;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mvxbrx-texturegen OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "mvxbrx-texturegen: cannot make %s\n", argv[1]);
        return 1;
    }
    for (int n = 1; n <= 10; ++n) {
        const QString file = out.filePath(QString::number(n) + QStringLiteral(".png"));
        if (!Tile(n).save(file)) {
            std::fprintf(stderr, "mvxbrx-texturegen: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
