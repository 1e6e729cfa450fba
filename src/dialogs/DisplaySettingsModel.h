#pragma once
// The choices of the display settings dialog, without widgets: the dialog's three lists,
// how stored values select their entries and how entries give values back, the six
// colours (settings form: red in the low byte), the two fonts with their italic flags,
// the marking boxes and the night look. Load takes the settings in force; Candidate gives
// the settings the current choices make; Confirm stores them (App().display, the store).
#include "core/AppState.h"

#include <QStringList>
#include <array>

namespace mvx {

class DisplaySettingsModel final
{
public:
    // The swatches in the order of the dialog's table.
    enum Swatch { Background, Keyword, English, Chinese, Comment, Marked, SwatchCount };
    struct Font
    {
        QString name;
        double size = 12;
        bool italic = false;
    };

    [[nodiscard]] static const QStringList &TextureEntries(); // "无", "纹理 1" .. "纹理 10"
    [[nodiscard]] static const QStringList &TimesEntries();   // "1" .. "6", "100"
    [[nodiscard]] static const QStringList &GapEntries();     // "无", "1 倍句长" .. "3 倍句长"
    // Entry selected for a stored value; a value the list does not offer selects entry 0.
    [[nodiscard]] static int TextureEntryOf(int textureIdx);
    [[nodiscard]] static int TimesEntryOf(int autoRepeatTimes);
    [[nodiscard]] static int GapEntryOf(int gapSetting);
    // The number written in a times entry (1 for an entry out of range).
    [[nodiscard]] static int TimesOfEntry(int entry);

    // Choices as the dialog opens on the given settings (italic flags from this run, the night
    // look in force).
    void Load(const DisplaySettings &display, const PlaybackSettings &playback);

    [[nodiscard]] int Colour(Swatch swatch) const { return m_colours[swatch]; }
    void SetColour(Swatch swatch, int settingsColour) { m_colours[swatch] = settingsColour; }
    [[nodiscard]] const Font &EnglishFont() const { return m_english; }
    [[nodiscard]] const Font &ChineseFont() const { return m_chinese; }
    void SetEnglishFont(const Font &font) { m_english = font; }
    void SetChineseFont(const Font &font) { m_chinese = font; }
    [[nodiscard]] int TextureEntry() const { return m_textureEntry; }
    [[nodiscard]] int TimesEntry() const { return m_timesEntry; }
    [[nodiscard]] int GapEntry() const { return m_gapEntry; }
    void SetTextureEntry(int entry);
    void SetTimesEntry(int entry);
    void SetGapEntry(int entry);
    [[nodiscard]] bool ShowKeyword() const { return m_showKeyword; }
    [[nodiscard]] bool ShowNewword() const { return m_showNewword; }
    [[nodiscard]] bool NightLook() const { return m_nightLook; }
    void SetShowKeyword(bool on) { m_showKeyword = on; }
    void SetShowNewword(bool on) { m_showNewword = on; }
    void SetNightLook(bool on) { m_nightLook = on; }

    // The settings these choices make: what the pages would show after OK.
    [[nodiscard]] DisplaySettings CandidateDisplay() const;
    [[nodiscard]] PlaybackSettings CandidatePlayback() const;
    // OK: the run's italic flags, App().display, App().playback and the night look, then the store.
    void Confirm() const;

    // The italic flags of this run (not stored).
    [[nodiscard]] static bool EnglishItalic();
    [[nodiscard]] static bool ChineseItalic();

private:
    DisplaySettings m_display;
    PlaybackSettings m_playback;
    std::array<int, SwatchCount> m_colours{};
    Font m_english;
    Font m_chinese;
    int m_textureEntry = 0;
    int m_timesEntry = 0;
    int m_gapEntry = 0;
    bool m_showKeyword = false;
    bool m_showNewword = false;
    bool m_nightLook = false;
};

} // namespace mvx
