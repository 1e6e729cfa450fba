#include "dialogs/DisplaySettingsModel.h"

#include "core/PageLook.h"
#include "core/UserSettings.h"

namespace mvx {

namespace {

struct ItalicFlags
{
    bool english = false;
    bool chinese = false;
};

ItalicFlags &Italics()
{
    static ItalicFlags flags;
    return flags;
}

int Clamped(int entry, const QStringList &list)
{
    return entry >= 0 && entry < list.size() ? entry : 0;
}

} // namespace

const QStringList &DisplaySettingsModel::TextureEntries()
{
    static const QStringList list = [] {
        QStringList l{QStringLiteral("无")};
        for (int n = 1; n <= 10; ++n)
            l.append(QStringLiteral("纹理 ") + QString::number(n));
        return l;
    }();
    return list;
}

const QStringList &DisplaySettingsModel::TimesEntries()
{
    static const QStringList list = {"1", "2", "3", "4", "5", "6", "100"};
    return list;
}

const QStringList &DisplaySettingsModel::GapEntries()
{
    static const QStringList list = {QStringLiteral("无"),        QStringLiteral("1 倍句长"), QStringLiteral("1.5 倍句长"),
                                     QStringLiteral("2 倍句长"),   QStringLiteral("2.5 倍句长"), QStringLiteral("3 倍句长")};
    return list;
}

int DisplaySettingsModel::TextureEntryOf(int textureIdx)
{
    return textureIdx >= 1 && textureIdx <= 10 ? textureIdx : 0;
}

int DisplaySettingsModel::TimesEntryOf(int autoRepeatTimes)
{
    if (autoRepeatTimes >= 1 && autoRepeatTimes <= 6)
        return autoRepeatTimes - 1;
    return autoRepeatTimes == 100 ? 6 : 0;
}

int DisplaySettingsModel::GapEntryOf(int gapSetting)
{
    return gapSetting >= 0 && gapSetting <= 5 ? gapSetting : 0;
}

int DisplaySettingsModel::TimesOfEntry(int entry)
{
    return TimesEntries().at(Clamped(entry, TimesEntries())).toInt();
}

void DisplaySettingsModel::Load(const DisplaySettings &display, const PlaybackSettings &playback)
{
    m_display = display;
    m_playback = playback;
    m_textureEntry = TextureEntryOf(display.textureIdx);
    m_timesEntry = TimesEntryOf(playback.autoRepeatTimes);
    m_gapEntry = GapEntryOf(playback.autoRepeatGapSetting);
    m_showNewword = display.showNewword != 0;
    m_showKeyword = display.showKeyword != 0;
    m_nightLook = NightLookOn();
    m_colours[English] = display.englishColor;
    m_colours[Chinese] = display.chineseColor;
    m_colours[Comment] = display.commentColor;
    m_colours[Keyword] = display.keywordColor;
    m_colours[Marked] = display.curSentenceColor;
    m_colours[Background] = display.backgroundColor;
    m_english = {display.englishFontName, display.englishFontSize, Italics().english};
    m_chinese = {display.chineseFontName, display.chineseFontSize, Italics().chinese};
}

void DisplaySettingsModel::SetTextureEntry(int entry)
{
    m_textureEntry = Clamped(entry, TextureEntries());
}

void DisplaySettingsModel::SetTimesEntry(int entry)
{
    m_timesEntry = Clamped(entry, TimesEntries());
}

void DisplaySettingsModel::SetGapEntry(int entry)
{
    m_gapEntry = Clamped(entry, GapEntries());
}

DisplaySettings DisplaySettingsModel::CandidateDisplay() const
{
    DisplaySettings d = m_display;
    d.englishFontName = m_english.name;
    d.englishFontSize = m_english.size;
    d.chineseFontName = m_chinese.name;
    d.chineseFontSize = m_chinese.size;
    // A true box is stored as -1, the integer form of a true Boolean.
    d.showKeyword = m_showKeyword ? -1 : 0;
    d.showNewword = m_showNewword ? -1 : 0;
    d.englishColor = m_colours[English];
    d.chineseColor = m_colours[Chinese];
    d.commentColor = m_colours[Comment];
    d.backgroundColor = m_colours[Background];
    d.keywordColor = m_colours[Keyword];
    d.curSentenceColor = m_colours[Marked];
    d.textureIdx = m_textureEntry;
    return d;
}

PlaybackSettings DisplaySettingsModel::CandidatePlayback() const
{
    PlaybackSettings p = m_playback;
    p.autoRepeatTimes = TimesOfEntry(m_timesEntry);
    p.autoRepeatGapSetting = m_gapEntry;
    return p;
}

void DisplaySettingsModel::Confirm() const
{
    Italics() = {m_english.italic, m_chinese.italic};
    App().display = CandidateDisplay();
    NightLookOn() = m_nightLook;
    const PlaybackSettings p = CandidatePlayback();
    App().playback.autoRepeatTimes = p.autoRepeatTimes;
    App().playback.autoRepeatGapSetting = p.autoRepeatGapSetting;
    SaveDisplaySettings();
}

bool DisplaySettingsModel::EnglishItalic()
{
    return Italics().english;
}

bool DisplaySettingsModel::ChineseItalic()
{
    return Italics().chinese;
}

} // namespace mvx
