#pragma once
// Process-wide state of the main program: filled by start-up and the settings
// loaders, read everywhere. One instance for the whole process (App()).
#include <QString>

namespace mvx {

struct DisplaySettings
{
    int backgroundColor = 16777215; // colours: red in the low byte
    int keywordColor = 255;
    int englishColor = 0;
    int chineseColor = 0;
    int commentColor = 0;
    int curSentenceColor = 16711680;
    int showKeyword = 1;
    int showNewword = 1;
    int textureIdx = 1;
    QString englishFontName = QStringLiteral("MS Sans Serif");
    double englishFontSize = 12;
    QString chineseFontName = QStringLiteral("宋体");
    double chineseFontSize = 11;
};

struct PlaybackSettings
{
    int stopMode = 0;
    int autoRepeatTimes = 2;
    int viewWave = 1;
    int previewLen = 1;
    int autoRepeatGapSetting = 0;
};

struct AppState
{
    QString appName = QStringLiteral("mvxbrxspecial");
    QString appPath;                 // program home, no trailing separator; also the current folder
    bool isVistaOrLater = false;
    QString mainCaption = QStringLiteral("Lentoria");
    QString dialogCaption = QStringLiteral("Lentoria-Dialog");
    QString productTitle = QStringLiteral("Morvex英语Lentoria");
    QString noteProductTag = QStringLiteral("kbt");
    QString skinRoot;                // appPath + "/ecminterface"
    QString lessonLibName = QStringLiteral("brxspecial");
    int wordSoundCentre = -1;        // sound-centre handle
    QString ttsVoiceName;            // empty when text to speech is unavailable
    bool wordSndLibFound = false;
    QString wordSndLibDir;           // with trailing "/" when found
    int wordSndLibSource = 0;        // 0 none, 1 sibling word program, 2 sentence program, 3 own "snd" or a disc
    int ecDictHandle = -1;
    bool startedForArticle = false;
    QString curArticleTitle;

    DisplaySettings display;
    PlaybackSettings playback;
};

// The one process-wide instance.
AppState &App();

} // namespace mvx
