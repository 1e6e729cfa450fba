#include "UserSettings.h"

#include "PageLook.h"

#include "AppState.h"
#include "SettingsStore.h"

#include <QHash>
#include <climits>

namespace mvx {

namespace {

const QString kUser = QStringLiteral("user");

// The program's key table: key -> default text. Keys not listed default to "".
const QHash<QString, QString> &defaults()
{
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t;
        const auto add = [&t](const char *key, const char *value) {
            t.insert(QString::fromLatin1(key).toLower(), QString::fromUtf8(value));
        };
        add(Key::VistaHint, "1");
        add(Key::CopySndHint, "1");
        add(Key::StopMode, "0");
        add(Key::AutoRepeatTimes, "2");
        add(Key::ViewWave, "1");
        add(Key::PreviewLen, "1");
        add(Key::AutoRepeatGapSetting, "0");
        add(Key::BackgroundColor, "16777215");
        add(Key::KeywordColor, "255");
        add(Key::EnglishColor, "0");
        add(Key::ChineseColor, "0");
        add(Key::CommentColor, "0");
        add(Key::CurSentenceColor, "16711680");
        add(Key::ShowKeyword, "1");
        add(Key::ShowNewword, "1");
        add(Key::TextureIdx, "1");
        add(Key::EnglishFontName, "MS Sans Serif");
        add(Key::EnglishFontSize, "12");
        add(Key::ChineseFontName, "宋体");
        add(Key::ChineseFontSize, "11");
        add(Key::LastArticle, "");
        add(Key::DefaultLearnStep, "FirstTest");
        add(Key::ReciteMode, "rbThink");
        add(Key::Speed, "0");
        add(Key::WindowRatio, "2");
        add(Key::AutoMaximize, "0");
        add(Key::ShouldShowEnglish, "1");
        add(Key::ShouldShowChinese, "1");
        add(Key::ShouldShowComment, "1");
        add(Key::EnglishChineseMix, "0");
        add(Key::NotebookFormLeft, "0");
        add(Key::NotebookFormTop, "0");
        add(Key::SaveSegDest, "Reviewer");
        add(Key::SentraUserSndHint, "1");
        add(Key::DigestHint, "1");
        add("ExcerptPadMs", "150"); // the excerpts' key (player/excerpt/ExcerptKeys.h)
        add(Key::PlayLesson, "1");
        add(Key::NightLook, "0");
        return t;
    }();
    return table;
}

QString key(const char *k)
{
    return QString::fromLatin1(k);
}

int intSetting(const char *k)
{
    return GetUserInt(key(k), ToInt(DefaultFor(key(k)), 0));
}

double realSetting(const char *k)
{
    return GetUserReal(key(k), ToReal(DefaultFor(key(k)), 0));
}

QString textSetting(const char *k)
{
    return GetUserSetting(key(k), DefaultFor(key(k)));
}

} // namespace

QString DefaultFor(const QString &k)
{
    if (k.compare(key(Key::TtsVoiceName), Qt::CaseInsensitive) == 0)
        return App().isVistaOrLater ? QStringLiteral("Microsoft Anna") : QStringLiteral("Microsoft Mary");
    return defaults().value(k.toLower());
}

QString GetUserSetting(const QString &k, const QString &defaultValue)
{
    return SettingsStore::instance().value(App().appName, kUser, k, defaultValue);
}

void SaveUserSetting(const QString &k, const QString &value)
{
    SettingsStore::instance().setValue(App().appName, kUser, k, value);
}

int ToInt(const QString &text, int fallback)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok) {
        // Older values may carry a fraction ("2.0"); take it when it is a number.
        const double d = text.trimmed().toDouble(&ok);
        return ok && d >= INT_MIN && d <= INT_MAX ? int(d) : fallback;
    }
    return v >= INT_MIN && v <= INT_MAX ? int(v) : fallback;
}

bool ToBool(const QString &text, bool fallback)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double d = t.toDouble(&ok);
    return ok ? d != 0 : fallback;
}

double ToReal(const QString &text, double fallback)
{
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    return ok ? d : fallback;
}

QString RealToText(double value)
{
    return QString::number(value, 'g', 15);
}

int GetUserInt(const QString &k, int defaultValue)
{
    const auto stored = SettingsStore::instance().value(App().appName, kUser, k);
    return stored ? ToInt(*stored, defaultValue) : defaultValue;
}

bool GetUserBool(const QString &k, bool defaultValue)
{
    const auto stored = SettingsStore::instance().value(App().appName, kUser, k);
    return stored ? ToBool(*stored, defaultValue) : defaultValue;
}

double GetUserReal(const QString &k, double defaultValue)
{
    const auto stored = SettingsStore::instance().value(App().appName, kUser, k);
    return stored ? ToReal(*stored, defaultValue) : defaultValue;
}

void SaveUserInt(const QString &k, int value)
{
    SaveUserSetting(k, QString::number(value));
}

void SaveUserBool(const QString &k, bool value)
{
    SaveUserSetting(k, value ? QStringLiteral("-1") : QStringLiteral("0"));
}

void SaveUserReal(const QString &k, double value)
{
    SaveUserSetting(k, RealToText(value));
}

void LoadPlaybackSettings()
{
    PlaybackSettings &p = App().playback;
    p.stopMode = intSetting(Key::StopMode);
    p.autoRepeatTimes = intSetting(Key::AutoRepeatTimes);
    p.viewWave = intSetting(Key::ViewWave);
    p.previewLen = intSetting(Key::PreviewLen);
}

void LoadDisplaySettings()
{
    DisplaySettings &d = App().display;
    d.backgroundColor = intSetting(Key::BackgroundColor);
    d.keywordColor = intSetting(Key::KeywordColor);
    d.englishColor = intSetting(Key::EnglishColor);
    d.chineseColor = intSetting(Key::ChineseColor);
    d.commentColor = intSetting(Key::CommentColor);
    d.curSentenceColor = intSetting(Key::CurSentenceColor);
    d.showKeyword = intSetting(Key::ShowKeyword);
    d.showNewword = intSetting(Key::ShowNewword);
    d.textureIdx = intSetting(Key::TextureIdx);
    d.englishFontName = textSetting(Key::EnglishFontName);
    d.englishFontSize = realSetting(Key::EnglishFontSize);
    d.chineseFontName = textSetting(Key::ChineseFontName);
    d.chineseFontSize = realSetting(Key::ChineseFontSize);
    App().playback.autoRepeatTimes = intSetting(Key::AutoRepeatTimes);
    App().playback.autoRepeatGapSetting = intSetting(Key::AutoRepeatGapSetting);
    NightLookOn() = GetUserBool(key(Key::NightLook), false);
}

void SaveDisplaySettings()
{
    const DisplaySettings &d = App().display;
    SaveUserInt(key(Key::BackgroundColor), d.backgroundColor);
    SaveUserInt(key(Key::KeywordColor), d.keywordColor);
    SaveUserInt(key(Key::EnglishColor), d.englishColor);
    SaveUserInt(key(Key::ChineseColor), d.chineseColor);
    SaveUserInt(key(Key::CommentColor), d.commentColor);
    SaveUserInt(key(Key::TextureIdx), d.textureIdx);
    SaveUserInt(key(Key::CurSentenceColor), d.curSentenceColor);
    SaveUserInt(key(Key::ShowKeyword), d.showKeyword);
    SaveUserInt(key(Key::ShowNewword), d.showNewword);
    SaveUserSetting(key(Key::EnglishFontName), d.englishFontName);
    SaveUserReal(key(Key::EnglishFontSize), d.englishFontSize);
    SaveUserSetting(key(Key::ChineseFontName), d.chineseFontName);
    SaveUserReal(key(Key::ChineseFontSize), d.chineseFontSize);
    SaveUserInt(key(Key::AutoRepeatTimes), App().playback.autoRepeatTimes);
    SaveUserInt(key(Key::AutoRepeatGapSetting), App().playback.autoRepeatGapSetting);
    SaveUserBool(key(Key::NightLook), NightLookOn());
}

QString GetAppSetting(const QString &app, const QString &section, const QString &k, const QString &defaultValue)
{
    return SettingsStore::instance().value(app, section, k, defaultValue);
}

void SaveAppSetting(const QString &app, const QString &section, const QString &k, const QString &value)
{
    SettingsStore::instance().setValue(app, section, k, value);
}

QString GetRegistryValue(const QString &keyPath, const QString &valueName, bool *found)
{
    const auto v = SettingsStore::instance().value(keyPath, QString(), valueName);
    if (found)
        *found = v.has_value();
    return v.value_or(QString());
}

} // namespace mvx
