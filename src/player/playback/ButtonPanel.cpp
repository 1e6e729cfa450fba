#include "player/playback/ButtonPanel.h"

namespace mvx {

namespace {
// The five playback buttons, and A and B: setting a repeat point while paused would
// start a repeat that plays under the pause.
const QStringList kSavedByPause = {QStringLiteral("btAutoRepeat"), QStringLiteral("btStop"),
                                   QStringLiteral("btRepeatSentence"), QStringLiteral("btDigest"),
                                   QStringLiteral("btPlay"), QStringLiteral("btABRepeatA"),
                                   QStringLiteral("btABRepeatB")};
}

ButtonPanel::ButtonPanel()
{
    for (const QString &name : PlayerButtons())
        m_enabled.insert(name.toLower(), true);
    m_enabled.insert(QStringLiteral("btstopthinking"), false);
}

const QStringList &ButtonPanel::PlayerButtons()
{
    static const QStringList names = {
        QStringLiteral("btPlay"),        QStringLiteral("btRepeatSentence"), QStringLiteral("btAutoRepeat"),
        QStringLiteral("btPlaySentence"), QStringLiteral("btABRepeatA"),     QStringLiteral("btABRepeatB"),
        QStringLiteral("btPause"),       QStringLiteral("btStop"),           QStringLiteral("btPrev"),
        QStringLiteral("btNext"),        QStringLiteral("btMarkSentence"),   QStringLiteral("btDigest"),
        QStringLiteral("btPrint"),       QStringLiteral("btSearch"),         QStringLiteral("btMp3"),
        QStringLiteral("btSpell"),       QStringLiteral("btSpeak"),          QStringLiteral("btThink"),
        QStringLiteral("btStopThinking"), QStringLiteral("btWordSummary"),   QStringLiteral("btNotebook"),
        QStringLiteral("btSetting"),     QStringLiteral("btBrowse"),         QStringLiteral("btWinHelp"),
        QStringLiteral("btWinMin"),      QStringLiteral("btWinMax"),         QStringLiteral("btWinNormal"),
        QStringLiteral("btWinClose")};
    return names;
}

void ButtonPanel::Enable(const QString &name, bool enabled)
{
    const QString key = name.toLower();
    auto it = m_enabled.find(key);
    if (it != m_enabled.end() && it.value() == enabled)
        return;
    m_enabled.insert(key, enabled);
    ++m_revision;
}

bool ButtonPanel::IsEnabled(const QString &name) const
{
    return m_enabled.value(name.toLower(), true);
}

void ButtonPanel::EnableGroupSilence(bool enabled)
{
    Enable(QStringLiteral("btAutoRepeat"), enabled);
    Enable(QStringLiteral("btPlay"), enabled);
}

void ButtonPanel::EnableButtonGroup1(bool enabled)
{
    for (const char *n : {"btBrowse", "btSpell", "btSpeak", "btWordSummary", "btThink", "btSetting"})
        Enable(QLatin1String(n), enabled);
}

void ButtonPanel::EnableMostButtons(bool enabled)
{
    for (const char *n : {"btPlay", "btRepeatSentence", "btAutoRepeat", "btDigest"})
        Enable(QLatin1String(n), enabled);
}

void ButtonPanel::DisableAllButtons()
{
    m_saved.clear();
    for (const QString &name : kSavedByPause) {
        m_saved.insert(name, IsEnabled(name));
        Enable(name, false);
    }
}

void ButtonPanel::RestoreAllButtons()
{
    for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it)
        Enable(it.key(), it.value());
}

} // namespace mvx
