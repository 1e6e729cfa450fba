#include "NoticeService.h"

#include "core/AppState.h"
#include "core/TextCodec.h"
#include "core/UserSettings.h"

#include <QDir>
#include <QFileInfo>

namespace mvx {

namespace {

const QString kSection = QStringLiteral("notices");
const QString kKey = QStringLiteral("MaxViewedMsg");

} // namespace

QString NoticeService::DefaultFile()
{
    const QString home = App().appPath.isEmpty() ? QDir::currentPath() : App().appPath;
    return QDir(home).absoluteFilePath(QLatin1String(FileName));
}

int NoticeService::SerialOf(const QString &line)
{
    const qsizetype dot = line.indexOf(QLatin1Char('.'));
    if (dot <= 0)
        return -1;
    bool ok = false;
    const int serial = line.left(dot).trimmed().toInt(&ok);
    return ok && serial >= 0 ? serial : -1;
}

int NoticeService::CountNew(const QStringList &lines, int seenSerial)
{
    int count = 0;
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (lines.at(i).trimmed().isEmpty())
            continue;
        if (SerialOf(lines.at(i)) <= seenSerial)
            break;
        ++count;
    }
    return count;
}

int NoticeService::SeenSerial()
{
    return ToInt(GetAppSetting(App().appName, kSection, kKey, QStringLiteral("0")), 0);
}

int NoticeService::MarkSeen(int serial)
{
    const int seen = SeenSerial();
    if (serial <= seen)
        return seen;
    SaveAppSetting(App().appName, kSection, kKey, QString::number(serial));
    return serial;
}

int NoticeService::NewCount(const QString &file)
{
    if (!QFileInfo(file).isFile())
        return 0;
    const TextFileContent content = ReadTextFile(file);
    return content.ok ? CountNew(content.lines, SeenSerial()) : 0;
}

} // namespace mvx
