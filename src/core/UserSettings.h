#pragma once
// The program's own settings over the settings store: every key it reads or writes,
// their defaults and value forms, and the loaders that fill the process-wide copies.
#include <QString>

namespace mvx {

class SettingsStore;

// Keys of the program's own section (application AppName, section "user").
namespace Key {
inline constexpr auto VistaHint = "VistaHint";
inline constexpr auto TtsVoiceName = "TtsVoiceName";
inline constexpr auto CopySndHint = "CopySndHint";
inline constexpr auto StopMode = "StopMode";
inline constexpr auto AutoRepeatTimes = "AutoRepeatTimes";
inline constexpr auto ViewWave = "ViewWave";
inline constexpr auto PreviewLen = "PreviewLen";
inline constexpr auto AutoRepeatGapSetting = "AutoRepeatGapSetting";
inline constexpr auto BackgroundColor = "BackgroundColor";
inline constexpr auto KeywordColor = "KeywordColor";
inline constexpr auto EnglishColor = "EnglishColor";
inline constexpr auto ChineseColor = "ChineseColor";
inline constexpr auto CommentColor = "CommentColor";
inline constexpr auto CurSentenceColor = "CurSentenceColor";
inline constexpr auto ShowKeyword = "ShowKeyword";
inline constexpr auto ShowNewword = "ShowNewword";
inline constexpr auto TextureIdx = "TextureIdx";
inline constexpr auto EnglishFontName = "EnglishFontName";
inline constexpr auto EnglishFontSize = "EnglishFontSize";
inline constexpr auto ChineseFontName = "ChineseFontName";
inline constexpr auto ChineseFontSize = "ChineseFontSize";
inline constexpr auto LastArticle = "LastArticle";
inline constexpr auto DefaultLearnStep = "DefaultLearnStep";
inline constexpr auto ReciteMode = "ReciteMode";
inline constexpr auto Speed = "Speed";
inline constexpr auto WindowRatio = "WindowRatio";
inline constexpr auto AutoMaximize = "AutoMaximize";
inline constexpr auto HardSentenceCount = "HardSentenceCount"; // "只听难句": how many, default 10
inline constexpr auto ShouldShowEnglish = "ShouldShowEnglish";
inline constexpr auto ShouldShowChinese = "ShouldShowChinese";
inline constexpr auto ShouldShowComment = "ShouldShowComment";
inline constexpr auto EnglishChineseMix = "EnglishChineseMix";
inline constexpr auto NotebookFormLeft = "NotebookFormLeft";
inline constexpr auto NotebookFormTop = "NotebookFormTop";
inline constexpr auto SaveSegDest = "SaveSegDest";
inline constexpr auto SentraUserSndHint = "SentraUserSndHint";
inline constexpr auto DigestHint = "DigestHint";
inline constexpr auto PlayLesson = "PlayLesson"; // stored under section "User"
inline constexpr auto SceneGraph = "SceneGraph"; // "software" / "hardware" / "" (decide by the renderer)
} // namespace Key

// The default of a key of the program's own table ("" for keys without one).
// TtsVoiceName's default depends on IsVistaOrLater.
[[nodiscard]] QString DefaultFor(const QString &key);

// Text value under (AppName, "user"); the default when absent.
[[nodiscard]] QString GetUserSetting(const QString &key, const QString &defaultValue);
void SaveUserSetting(const QString &key, const QString &value);

// Value forms. An unconvertible stored text reads as the default.
[[nodiscard]] int GetUserInt(const QString &key, int defaultValue);
[[nodiscard]] bool GetUserBool(const QString &key, bool defaultValue);
[[nodiscard]] double GetUserReal(const QString &key, double defaultValue);
void SaveUserInt(const QString &key, int value);
void SaveUserBool(const QString &key, bool value); // "-1" / "0"
void SaveUserReal(const QString &key, double value);

// Converters shared by every reader of stored values.
[[nodiscard]] int ToInt(const QString &text, int fallback);
[[nodiscard]] bool ToBool(const QString &text, bool fallback); // numeric, non-zero = true
[[nodiscard]] double ToReal(const QString &text, double fallback);
[[nodiscard]] QString RealToText(double value); // 12 -> "12", 10.5 -> "10.5"

void LoadPlaybackSettings();
void LoadDisplaySettings();
void SaveDisplaySettings();

// Another application's value in the same store (vocabra7, PalmLex, the launcher ...).
[[nodiscard]] QString GetAppSetting(const QString &app, const QString &section, const QString &key,
                                    const QString &defaultValue);
void SaveAppSetting(const QString &app, const QString &section, const QString &key, const QString &value);

// A registry value (key path, value name) of the current user: application = key path,
// section = "", key = value name. Empty optional-like: found=false when absent.
[[nodiscard]] QString GetRegistryValue(const QString &keyPath, const QString &valueName, bool *found = nullptr);

} // namespace mvx
