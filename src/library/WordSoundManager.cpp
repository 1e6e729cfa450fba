#include "WordSoundManager.h"

#include "WordSoundCopy.h"
#include "core/AppState.h"
#include "core/StartUp.h"
#include "core/UserSettings.h"
#include "libs/comm/CommLib.h"

#include <QRegularExpression>

namespace mvx {

QString WordSoundManager::StatusText(int source)
{
    QString text;
    switch (source) {
    case 1: text = QStringLiteral("使用《Vocabra》的单词真人发音"); break;
    case 2: text = QStringLiteral("使用《Sentra》的单词真人发音"); break;
    case 3: text = QStringLiteral("单词真人发音有"); break;
    default: text = QStringLiteral("单词真人发音无"); break;
    }
    return QStringLiteral("目前状态：") + text;
}

QString WordSoundManager::CopyFormStatusText(bool found)
{
    return StatusText(found ? 3 : 0);
}

QString WordSoundManager::VoiceNameFromEntry(const QString &entry)
{
    const int dash = entry.indexOf(QLatin1Char('-'));
    return (dash >= 0 ? entry.left(dash) : entry).trimmed();
}

int WordSoundManager::VoiceEntryFor(const QStringList &entries, const QString &voiceName)
{
    if (entries.isEmpty())
        return -1;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries[i].contains(voiceName))
            return i;
    }
    return 0;
}

QString WordSoundManager::NoDiscMessage()
{
    return QStringLiteral("光盘没有放好！请放入光盘 Disc B，或插上存有单词声音的U盘。\r\n\r\n"
                          "自己手工拷贝单词声音的办法是将 Disc B光盘（或U盘、其他文件夹）上的snd文件夹拷贝到程序目录下面。");
}

QString WordSoundManager::NoLibraryInFolderMessage(const QString &folder)
{
    return QStringLiteral("文件夹 %1 里没有单词声音。\r\n\r\n"
                          "请选择含有 vocabranewsnd.idx 的 snd 文件夹，或者它的上一级文件夹。")
        .arg(folder);
}

QString WordSoundManager::CopyFailedMessage()
{
    return QStringLiteral("拷贝失败");
}

QString WordSoundManager::CopyAbortedMessage()
{
    return QStringLiteral("拷贝失败,也许是因为磁盘空间不足");
}

QString WordSoundManager::CopiedMessage()
{
    return QStringLiteral("请注意：拷贝声音后要重新启动本软件才能听到单词真人发音。");
}

QString WordSoundManager::VistaVoiceWarning()
{
    return QStringLiteral("在Vista上，Mary和Mike的合成语音可能不能正常工作。如果您发现果然如此，请改回选择 Anna。");
}

void WordSoundManager::openManage()
{
    AppState &app = App();
    FindWordSoundLibrary();
    if (app.wordSndLibFound)
        app.wordSndLibSource = 3;
    m_status = StatusText(app.wordSndLibSource);
    m_voices = vcSndCenter_GetTtsVoiceList(app.wordSoundCentre);
    m_initialVoice = VoiceEntryFor(m_voices, app.ttsVoiceName);
    m_noCopyHint = !GetUserBool(QString::fromLatin1(Key::CopySndHint), true);
}

QString WordSoundManager::confirm(int voiceIndex, bool noCopyHint)
{
    AppState &app = App();
    QString warning;
    if (voiceIndex >= 0 && voiceIndex < m_voices.size()) {
        QString name = VoiceNameFromEntry(m_voices[voiceIndex]);
        vcSndCenter_SetTtsVoiceName(app.wordSoundCentre, name);
        app.ttsVoiceName = name;
        SaveUserSetting(QString::fromLatin1(Key::TtsVoiceName), name);
        static const QRegularExpression mary(QStringLiteral("\\bMary\\b"));
        if (app.isVistaOrLater && (name.contains(QLatin1String("Mike")) || name.contains(mary)))
            warning = VistaVoiceWarning();
    }
    SaveUserSetting(QString::fromLatin1(Key::CopySndHint), noCopyHint ? QStringLiteral("0") : QStringLiteral("-1"));
    FindWordSoundLibrary();
    return warning;
}

QString WordSoundManager::openCopyForm()
{
    FindWordSoundLibrary();
    return CopyFormStatusText(App().wordSndLibFound);
}

void WordSoundManager::continueCopyForm()
{
    AppState &app = App();
    const QString folder = FindWordSoundLibrary();
    if (folder.isEmpty())
        return;
    vcSndCenter_AddSndLib(app.wordSoundCentre, folder + WordSoundCopy::IndexFileName(), folder, 0);
    app.wordSndLibSource = 3;
}

void WordSoundManager::libraryCopied()
{
    FindWordSoundLibrary();
}

} // namespace mvx
