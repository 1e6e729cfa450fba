// Build-time renderer of the program icon: one SVG source into the hicolor theme's
// sizes, OUT/<n>x<n>/apps/NAME.png, plus OUT/scalable/apps/NAME.svg.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: mvxbrx-iconrender SOURCE.svg OUTDIR NAME SIZE...\n");
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "mvxbrx-iconrender: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    const QString out = args[2];
    const QString name = args[3];
    for (int i = 4; i < args.size(); ++i) {
        bool ok = false;
        const int size = args[i].toInt(&ok);
        if (!ok || size <= 0 || size > 1024) {
            std::fprintf(stderr, "mvxbrx-iconrender: bad size %s\n", qPrintable(args[i]));
            return 2;
        }
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        if (!QDir().mkpath(dir) || !image.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "mvxbrx-iconrender: cannot write into %s\n", qPrintable(dir));
            return 1;
        }
    }
    const QString scalable = out + QStringLiteral("/scalable/apps");
    const QString svgCopy = scalable + QLatin1Char('/') + name + QStringLiteral(".svg");
    QFile::remove(svgCopy);
    if (!QDir().mkpath(scalable) || !QFile::copy(args[1], svgCopy)) {
        std::fprintf(stderr, "mvxbrx-iconrender: cannot write %s\n", qPrintable(svgCopy));
        return 1;
    }
    return 0;
}
