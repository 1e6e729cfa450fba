// Facade of the service side: line files, settings, discs, keys, windows, help, web,
// programs, notices, time and small text helpers.
#include "CommLib.h"
#include "HandleTable.h"
#include "LineFile.h"
#include "NoticeService.h"
#include "WindowDragFilter.h"
#include "core/AppState.h"
#include "core/Helpers.h"
#include "core/MountedVolumes.h"
#include "core/UserSettings.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QUrl>

namespace mvx {

namespace {

HandleTable<LineFile> &Files()
{
    static HandleTable<LineFile> table;
    return table;
}

std::function<void(QObject *, bool)> &MoveHandler()
{
    static std::function<void(QObject *, bool)> handler;
    return handler;
}

std::function<void(const QString &)> &HelpHandler()
{
    static std::function<void(const QString &)> handler;
    return handler;
}

// Volume roots found by disc look-ups, so a drive code can be turned back into a folder.
QStringList &DriveRoots()
{
    static QStringList roots;
    return roots;
}

int DriveCodeFor(const QString &root)
{
    qsizetype i = DriveRoots().indexOf(root);
    if (i < 0) {
        DriveRoots().append(root);
        i = DriveRoots().size() - 1;
    }
    return 'D' + int(i); // looks like the letters of old, and is never 0
}

QString HomeFolder()
{
    return App().appPath.isEmpty() ? QDir::currentPath() : App().appPath;
}

} // namespace

// ---- Line files ----

int vcOpenFileForVb(VbFileRecord &record, const QString &path, const QString &mode)
{
    record.handle = 0;
    LineFile::Mode m;
    const QString lowered = mode.toLower();
    if (lowered.startsWith(QLatin1Char('r')))
        m = LineFile::Mode::Read;
    else if (lowered.startsWith(QLatin1Char('w')))
        m = LineFile::Mode::Write;
    else if (lowered.startsWith(QLatin1Char('a')))
        m = LineFile::Mode::Append;
    else
        return -1;
    auto file = std::make_shared<LineFile>();
    if (!file->open(path, m))
        return -1;
    record.handle = Files().add(std::move(file));
    return record.handle;
}

int vcReadFileForVb(VbFileRecord &record, QString &buffer, int maximum, int reserved1, int reserved2)
{
    Q_UNUSED(reserved1);
    Q_UNUSED(reserved2);
    LineFile *file = Files().find(record.handle);
    if (!file || !file->readLine(buffer, maximum)) {
        buffer.clear();
        return -1;
    }
    return GbkByteLength(buffer);
}

int vcWriteFileForVb(VbFileRecord &record, const QString &text)
{
    LineFile *file = Files().find(record.handle);
    return file && file->write(text) ? 1 : -1;
}

int vcCloseFileForVb(VbFileRecord &record)
{
    LineFile *file = Files().find(record.handle);
    if (!file)
        return -1;
    const bool ok = file->close();
    Files().remove(record.handle);
    record.handle = 0;
    return ok ? 1 : -1;
}

// ---- Settings store, files, discs ----

int vcGetKeyValueString(qint64 root, const QString &keyPath, const QString &valueName, QString &buffer, int &size)
{
    Q_UNUSED(root); // the store holds the current user's values only
    bool found = false;
    const QString value = TrimAtNul(GetRegistryValue(keyPath, valueName, &found));
    if (!found) {
        buffer.clear();
        return -1;
    }
    buffer = size > 0 ? value.left(size) : value;
    size = int(buffer.size());
    return 0;
}

int vcIfFileExist(const QString &path)
{
    return !path.isEmpty() && QFileInfo(ToFsPath(path)).isFile() ? 1 : 0;
}

int vcIfCDROMReady(const QString &relativePath)
{
    const QString root = FindOnMountedVolumes(relativePath);
    return root.isEmpty() ? 0 : DriveCodeFor(root);
}

QString vcCdDriveRoot(int driveCode)
{
    return DriveRoots().value(driveCode - 'D');
}

int vcIfCdFileReady(const QString &relativePath, QString &buffer)
{
    QString root = FindOnMountedVolumes(relativePath);
    if (root.isEmpty()) {
        buffer.clear();
        return 0;
    }
    if (root.size() > 1 && root.endsWith(QLatin1Char('/')))
        root.chop(1);
    buffer = root == QLatin1String("/") ? QString() : root;
    return 1;
}

// ---- Keys, windows, help, web, programs ----

int vcIfAltPressed()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance())
                   && QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier)
               ? 1
               : 0;
}

int vcIfCtrlPressed()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance())
                   && QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier)
               ? 1
               : 0;
}

void vcSetMoveWindowProc(QObject *window, int flag)
{
    if (!window)
        return;
    if (MoveHandler())
        MoveHandler()(window, flag != 0);
    else
        WindowDragFilter::Apply(window, flag != 0);
}

void SetMoveWindowHandler(std::function<void(QObject *, bool)> handler)
{
    MoveHandler() = std::move(handler);
}

QString HelpPagePath(const QString &helpFile)
{
    const qsizetype sep = helpFile.indexOf(QLatin1String("::"));
    QString topic = sep >= 0 ? ToFsPath(helpFile.mid(sep + 2)).trimmed() : QString();
    while (topic.startsWith(QLatin1Char('/')))
        topic.remove(0, 1);
    // A topic may not climb out of the help folder.
    if (topic.isEmpty() || QDir::cleanPath(topic).startsWith(QLatin1String("..")))
        topic = QStringLiteral("index.htm");
    return QDir::cleanPath(HomeFolder() + QStringLiteral("/help/") + topic);
}

int vcHtmlHelp(const QString &helpFile)
{
    QString page = HelpPagePath(helpFile);
    if (!QFileInfo(page).isFile()) {
        page = HelpPagePath(QString());
        if (!QFileInfo(page).isFile())
            return 0;
    }
    if (HelpHandler())
        HelpHandler()(page);
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
        return 0;
    return 1;
}

void SetHelpViewerHandler(std::function<void(const QString &)> handler)
{
    HelpHandler() = std::move(handler);
}

int vcHttpPage(const QString &address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || !(scheme == QLatin1String("http") || scheme == QLatin1String("https")
                            || scheme == QLatin1String("mailto")))
        return 0;
    return QDesktopServices::openUrl(url) ? 1 : 0;
}

int vcStartSp(const QString &programPath)
{
    QString program = ToFsPath(programPath);
    if (!QFileInfo(program).isFile() && program.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        program.chop(4);
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable())
        return 0;
    return QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath()) ? 1 : 0;
}

// ---- Notice service ----

int vcInitQmrAdv()
{
    return 1;
}

void vcEndQmrAdv()
{
}

int vcIfNewMsgExist(QString &buffer)
{
    buffer = NoticeService::DefaultFile();
    return NoticeService::NewCount(buffer);
}

int vcSetMaxViewedMsg(int serial)
{
    return NoticeService::MarkSeen(serial);
}

// ---- Time and small text helpers ----

qint64 vcMyGetTime()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

qint64 vcTimePassed(qint64 stamp)
{
    return vcMyGetTime() - stamp;
}

int vcMystrlen(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return int(nul >= 0 ? nul : text.size());
}

int vcVBStringLen(const QString &text)
{
    return vcMystrlen(text);
}

int vcStrcmp(const QString &a, const QString &b)
{
    return QString::compare(TrimAtNul(a), TrimAtNul(b), Qt::CaseSensitive);
}

void vcStrcpy(QString &target, const QString &source)
{
    target = TrimAtNul(source);
}

qint64 vcBitAnd(qint64 a, qint64 b)
{
    return a & b;
}

void StrongRtrim(QString &text)
{
    text = TrimAtNul(text);
    qsizetype end = text.size();
    while (end > 0) {
        const QChar c = text.at(end - 1);
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            break;
        --end;
    }
    text.truncate(end);
}

} // namespace mvx
