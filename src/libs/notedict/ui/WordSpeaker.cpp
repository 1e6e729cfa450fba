#include "WordSpeaker.h"

#include "notedict/NoteDictLib.h"

#include "comm/CommLib.h"
#include "media/WordSoundPlayer.h"

#include <QDir>

namespace mvx {

bool WordSpeaker::speak(const QString &word)
{
    m_error.clear();
    const QString w = word.trimmed();
    if (w.isEmpty())
        return false;
    QDir().mkpath(QStringLiteral("alltmpfile"));
    const QString base = QStringLiteral("alltmpfile/tmpdictword");
    int lengthMs = 0;
    if (vcSndCenter_GetSndFile(NoteDict().soundCentre, w, 0, base, -1, -1, lengthMs, QString()) == -1) {
        m_error = QStringLiteral("没有“%1”的读音").arg(w);
        return false;
    }
    WordSoundPlayer &player = WordSoundPlayer::shared();
    if (!player.play(base + QStringLiteral(".wav"))) {
        m_error = player.errorText();
        return false;
    }
    return true;
}

} // namespace mvx
