#include "launcher/AutostartEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace mvx::spirit {

AutostartEntry::AutostartEntry(const QString &configHome)
{
    const QString config = configHome.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        : configHome;
    m_path = config + QStringLiteral("/autostart/MvxEnglishSpirit.desktop");
}

bool AutostartEntry::exists() const
{
    return QFileInfo(m_path).isFile();
}

bool AutostartEntry::disabledByDesktop() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup)
            continue;
        const int eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq).trimmed();
        const QByteArray value = line.mid(eq + 1).trimmed();
        if ((key == "Hidden" && value == "true") || (key == "X-GNOME-Autostart-enabled" && value == "false"))
            return true;
    }
    return false;
}

QString AutostartEntry::execValue(const QString &programPath)
{
    // Inside double quotes: ", `, $ and \ take a backslash; then the value's own string
    // escaping doubles every backslash, and % is written as %%.
    QString quoted;
    for (const QChar c : programPath) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    QString value = u'"' + quoted + u'"';
    value.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    value.replace(QStringLiteral("%"), QStringLiteral("%%"));
    value.replace(QStringLiteral("\n"), QStringLiteral("\\n"));
    value.replace(QStringLiteral("\t"), QStringLiteral("\\t"));
    return value;
}

QByteArray AutostartEntry::contentFor(const QString &programPath)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Morvex精灵\n"
                          "Comment=Morvex英语的托盘小助手：启动软件，提醒复习单词\n"
                          "Exec=%1\n"
                          "Icon=mvxbrxspecial\n"
                          "Terminal=false\n"
                          "NoDisplay=true\n")
        .arg(execValue(programPath))
        .toUtf8();
}

bool AutostartEntry::write(const QString &programPath) const
{
    const QByteArray content = contentFor(programPath);
    QFile current(m_path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == content)
        return true;
    current.close();
    if (!QDir().mkpath(QFileInfo(m_path).path()))
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return false;
    return file.commit();
}

bool AutostartEntry::remove() const
{
    return !exists() || QFile::remove(m_path);
}

} // namespace mvx::spirit
