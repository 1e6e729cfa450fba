#pragma once
// Enabled states of the player's picture buttons by name ("btPlay"), with the groups the
// status table switches together and the save/restore of the five playback buttons used
// by Pause. Names are compared without case. A name never set reads as enabled.
#include <QHash>
#include <QString>
#include <QStringList>

namespace mvx {

class ButtonPanel final
{
public:
    ButtonPanel();

    void Enable(const QString &name, bool enabled);
    [[nodiscard]] bool IsEnabled(const QString &name) const;

    void EnableGroupSilence(bool enabled);  // btAutoRepeat, btPlay
    void EnableButtonGroup1(bool enabled);  // btBrowse, btSpell, btSpeak, btWordSummary, btThink, btSetting
    void EnableMostButtons(bool enabled);   // btPlay, btRepeatSentence, btAutoRepeat, btDigest
    // Saves the states of btAutoRepeat, btStop, btRepeatSentence, btDigest, btPlay,
    // btABRepeatA and btABRepeatB and disables them; RestoreAllButtons gives them back.
    void DisableAllButtons();
    void RestoreAllButtons();

    // Bumped on every real change, so a view can tell whether to refresh.
    [[nodiscard]] quint64 Revision() const { return m_revision; }

    static const QStringList &PlayerButtons(); // every button of the player window

private:
    QHash<QString, bool> m_enabled; // keys in lower case
    QHash<QString, bool> m_saved;
    quint64 m_revision = 0;
};

} // namespace mvx
