#include "Helpers.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <cmath>

namespace mvx {

namespace {
int lastSeparator(const QString &path)
{
    return std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
}
} // namespace

QString TrimAtNul(const QString &text)
{
    const int nul = int(text.indexOf(QChar(0)));
    return nul < 0 ? text : text.left(nul);
}

int LastPosition(const QString &text, const QString &part)
{
    if (part.isEmpty() || text.isEmpty())
        return 0;
    return int(text.lastIndexOf(part)) + 1;
}

int LastIndexOf(const QString &text, const QString &part)
{
    return LastPosition(text, part) - 1;
}

QString FolderPart(const QString &path)
{
    const int sep = lastSeparator(path);
    return sep < 0 ? QString() : path.left(sep + 1);
}

QString FileNamePart(const QString &path)
{
    return path.mid(lastSeparator(path) + 1);
}

QString StripExtension(const QString &name)
{
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    return dot < 0 ? name : name.left(dot);
}

QString ReplaceExtension(const QString &name, const QString &extension)
{
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    return dot < 0 ? name + QLatin1Char('.') + extension : name.left(dot + 1) + extension;
}

QString ToFsPath(const QString &path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

QString FormatMinSec(qint64 ms)
{
    const qint64 minutes = ms / 60000;
    const qint64 seconds = (ms - minutes * 60000) / 1000;
    return QStringLiteral("%1:%2").arg(minutes, 2, 10, QLatin1Char('0')).arg(seconds, 2, 10, QLatin1Char('0'));
}

QString FormatMinSecTenth(qint64 ms)
{
    const qint64 minutes = ms / 60000;
    const qint64 seconds = (ms - minutes * 60000) / 1000;
    const qint64 tenths = (ms - minutes * 60000 - seconds * 1000) / 100;
    return FormatMinSec(ms) + QLatin1Char(':') + QString::number(tenths);
}

QString FormatPlayTime(qint64 ms)
{
    return FormatMinSecTenth(ms);
}

QString ColourToHtml(qint64 colour)
{
    const QString hex = QString::number(colour & 0xFFFFFF, 16).toUpper().rightJustified(6, QLatin1Char('0'));
    return hex.mid(4, 2) + hex.mid(2, 2) + hex.mid(0, 2);
}

qint64 SwapRedBlue(qint64 colour)
{
    return (colour % 256) * 65536 + (colour / 65536) + ((colour % 65536) / 256) * 256;
}

int RunAndWait(const QString &commandLine)
{
    QStringList args = QProcess::splitCommand(commandLine);
    if (args.isEmpty())
        return -1;
    const QString program = args.takeFirst();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, args);
    if (!process.waitForStarted())
        return -1;
    process.waitForFinished(-1);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

double SystemFontScale()
{
    // The desktop's text font is 12 points (16 pixels at 96 dots per inch); its height in
    // pixels follows the screen's logical resolution alone, not the interface font the
    // learner chose.
    const QScreen *screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    const double dpi = screen ? screen->logicalDotsPerInchY() : 0;
    return dpi > 0 ? dpi / 96.0 : 1;
}

ResolutionRule ComputeResolutionRule(double twipsPerPixelX, double twipsPerPixelY, double fontScale)
{
    ResolutionRule rule;
    if (twipsPerPixelX == 15 && twipsPerPixelY == 15)
        return rule;
    rule.adapt = twipsPerPixelX > 0;
    rule.positionFactor = twipsPerPixelX > 0 ? 15.0 / twipsPerPixelX : 1;
    rule.fontFactor = fontScale > 0 ? fontScale : 1;
    return rule;
}

double AdaptedWindowHeight(double heightTwips, double positionFactor)
{
    if (heightTwips <= 0)
        return heightTwips;
    const double h0 = std::round(heightTwips);
    const double diff = positionFactor - h0 / heightTwips;
    if (diff >= -0.1 && diff <= 0.1)
        return heightTwips;
    return heightTwips / positionFactor;
}

double AdaptedFontSize(double size, double fontFactor)
{
    const double rounded = std::round(size);
    const double adapted = size / fontFactor;
    return std::round(adapted) == rounded ? rounded - 1 : adapted;
}

QPair<int, int> CentredTopLeft(int screenWidth, int screenHeight, int width, int height)
{
    return {screenWidth / 2 - width / 2, screenHeight / 2 - height / 2};
}

} // namespace mvx
