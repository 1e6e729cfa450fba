// LessonPages: the trial look of the display settings dialog, drawn by the pages' own
// styling code fed the candidate settings, and taken back exactly.
#include "player/pages/LessonPages.h"

#include "core/AppState.h"
#include "core/PageLook.h"

namespace mvx::pages {

void LessonPages::Show(const DisplaySettings &candidate, bool nightLook)
{
    if (!m_loaded) {
        return;
    }
    if (!m_previewSaved) {
        QVariantList ops;
        for (const QString &frame : BoundFrames()) {
            ops.push_back(QVariantList{QStringLiteral("saveLook"), frame});
        }
        RunOps(ops);
        m_previewSaved = true;
    }
    m_previewCandidate = candidate;
    m_previewNight = nightLook;
    // Several changes in one turn of the event loop make one batch.
    if (!m_previewTimer.isActive()) {
        m_previewTimer.start();
    }
}

void LessonPages::ApplyPreview()
{
    if (!m_loaded || !m_previewSaved) {
        return;
    }
    // The styling code reads the settings in force: it is lent the candidate for the length
    // of this call, and what it would run is gathered into one batch.
    const DisplaySettings kept = App().display;
    const bool keptNight = NightLookOn();
    App().display = m_previewCandidate;
    NightLookOn() = m_previewNight;
    QVariantList ops;
    m_collect = &ops;
    ops.append(BackgroundOps(true));
    const bool chineseCurrent = !m_show.mixedLayout || m_show.maskActive || !m_show.englishShown;
    for (int n = FirstSentence(); n < m_sentenceCount; ++n) {
        const bool current = n == m_current;
        ShowCurSentence(SentenceText::English, n, current);
        ShowCurSentence(SentenceText::Chinese, n, current && chineseCurrent);
        if (m_cmtFilled.contains(n) || !current) {
            ShowCurSentence(SentenceText::Comment, n, current);
        }
    }
    SetEnglishFont();
    SetChineseFont();
    m_collect = nullptr;
    App().display = kept;
    NightLookOn() = keptNight;
    RunOps(ops);
}

void LessonPages::End(bool keep)
{
    m_previewTimer.stop();
    if (!m_previewSaved) {
        return;
    }
    m_previewSaved = false;
    QVariantList ops;
    for (const QString &frame : BoundFrames()) {
        ops.push_back(QVariantList{QStringLiteral("restoreLook"), frame, keep});
    }
    RunOps(ops);
}

} // namespace mvx::pages
