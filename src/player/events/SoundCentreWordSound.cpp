#include "player/events/SoundCentreWordSound.h"

#include "core/AppState.h"
#include "libs/comm/CommLib.h"
#include "libs/media/WordSoundPlayer.h"

#include <QApplication>

namespace mvx {

bool SoundCentreWordSound::Speak(const QString &word)
{
    if (word.trimmed().isEmpty()) {
        return false;
    }
    int lengthMs = 0;
    if (vcSndCenter_GetSndFile(App().wordSoundCentre, word, 0, QStringLiteral("alltmpfile/tmpeword"), -1, -1, lengthMs,
                               QString())
        == -1) {
        return false;
    }
    return WordSoundPlayer::shared().play(QStringLiteral("alltmpfile/tmpeword.wav"));
}

void SoundCentreWordSound::Beep()
{
    QApplication::beep();
}

} // namespace mvx
