#include "launcher/SuitePrograms.h"

#include "core/PictureFiles.h"
#include "core/SingleInstance.h"
#include "core/UserSettings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace mvx::spirit {

QString ProgramValue(const QString &programKey, const QString &name)
{
    if (programKey == QLatin1String(ProgramKey::Sentra))
        return GetRegistryValue(programKey, name);
    return GetAppSetting(programKey, QStringLiteral("User"), name, {});
}

QString InstallFolder(const QString &programKey)
{
    QString folder = ProgramValue(programKey, QStringLiteral("InstallPath")).trimmed();
    folder.replace(u'\\', u'/');
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

QString ProgramFile(const QString &folder, const QString &fileName)
{
    if (folder.isEmpty() || fileName.isEmpty() || fileName.contains(u'/') || fileName.contains(u'\\')
        || fileName.contains(QStringLiteral("..")))
        return {};
    QStringList candidates{folder + fileName};
    if (fileName.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        candidates << folder + fileName.chopped(4);
    for (const QString &candidate : candidates) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
    }
    return {};
}

bool IsWindowOpen(const QString &caption)
{
    if (caption == QLatin1String("Lentoria") || caption == QLatin1String("Lentoria-Dialog"))
        return SingleInstance::isHeldElsewhere(QString::fromLatin1(ProgramKey::BrxSpecial));
    return SingleInstance::isHeldElsewhere(caption);
}

const QStringList &SuiteCaptions()
{
    static const QStringList captions{
        QStringLiteral("Lentoria"), QStringLiteral("Lentoria-Dialog"),
        QStringLiteral("Sentra"), QStringLiteral("Sentra-Dialog"), QStringLiteral("Ambisen"),
        QStringLiteral("Mustrec"), QStringLiteral("Quoren"), QStringLiteral("Pickwell"),
        QStringLiteral("Vocabra"), QStringLiteral("Vocabra-Dialog"), QStringLiteral("Vocabra智能大师"),
        QStringLiteral("Ambivo"), QStringLiteral("Lexalarm"), QStringLiteral("Morvex语境词典"),
        QStringLiteral("MorvexArtigle"), QStringLiteral("MorvexEchomax"), QStringLiteral("MorvexEchomax-Dialog"),
        QStringLiteral("Morvex英语Mirada"), QStringLiteral("Mirada-Dialog"), QStringLiteral("Readola"),
        QStringLiteral("Lentoria标准英语"), QStringLiteral("Lentoria标准英语-Dialog")};
    return captions;
}

bool IsSuiteProgramRunning()
{
    for (const QString &caption : SuiteCaptions())
        if (IsWindowOpen(caption))
            return true;
    return false;
}

QString ServerName(const QString &program)
{
    return RuntimeFolder() + QLatin1Char('/') + program;
}

bool CopyIfNewer(const QString &source, const QString &target)
{
    const QFileInfo from(source), to(target);
    if (!from.isFile() || (to.exists() && from.lastModified() <= to.lastModified()))
        return false;
    const QString temporary = target + QStringLiteral(".new-") + QString::number(QCoreApplication::applicationPid());
    QFile::remove(temporary);
    if (!QFile::copy(source, temporary))
        return false;
    QFile::setPermissions(temporary, QFile::permissions(source));
    // rename() replaces the name only: a program running from the old file goes on.
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

int RefreshSiblingFolders(const QString &launcherPath, const QString &pictureFolder)
{
    static const char *const kPictures[] = {"btVocabragroup", "btVocabragroup-a", "btSentraGroup", "btSentraGroup-a",
                                            "btVantrel", "btVantrel-a", "btArtigle", "btArtigle-a",
                                            "btBrxGroup-a", "btBrxGroup"};
    const QString ownFolder = QFileInfo(launcherPath).canonicalPath();
    int copied = 0;
    for (const char *key : {ProgramKey::Vocabra, ProgramKey::Mirada, ProgramKey::Sentra}) {
        const QString folder = InstallFolder(QString::fromLatin1(key));
        if (folder.isEmpty() || !QFileInfo(folder).isDir() || QFileInfo(folder).canonicalFilePath() == ownFolder)
            continue;
        const QString targetPictures = folder + QStringLiteral("spiritinterface/");
        for (const char *name : kPictures) {
            const QString source = skin::FindPicture(pictureFolder, {}, QLatin1String(name));
            if (source.isEmpty())
                continue;
            QStringList files{source};
            const QString hiDpi = source.chopped(4) + QStringLiteral("@2x.png");
            if (source.endsWith(QStringLiteral(".png")) && QFileInfo::exists(hiDpi))
                files << hiDpi;
            for (const QString &file : files) {
                const QString target = targetPictures + QFileInfo(file).fileName();
                if (!QFileInfo::exists(target) && QDir().mkpath(targetPictures) && QFile::copy(file, target))
                    ++copied;
            }
        }
        if (CopyIfNewer(launcherPath, folder + QFileInfo(launcherPath).fileName()))
            ++copied;
    }
    return copied;
}

} // namespace mvx::spirit
