#include "core/PageLook.h"

#include <QFileInfo>
#include <cmath>

namespace mvx {

namespace {

const QString kNightBackground = QStringLiteral("#1E2228");
const QString kNightEnglish = QStringLiteral("#E4E0D6");
const QString kNightChinese = QStringLiteral("#DCE0E6");
const QString kNightComment = QStringLiteral("#B9C1CC");
const QString kNightKeyword = QStringLiteral("#F0B46A");
const QString kNightCurrent = QStringLiteral("#7CC4F4");
const QString kNightCommentPage = QStringLiteral("#262B33");
const QString kNightLink = QStringLiteral("#9CC8FF");
const QString kNightPrompt = QStringLiteral("#C9CED6");
const QString kNightMask = QStringLiteral("#3A3F47");

double Linear(double channel)
{
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor &c)
{
    return 0.2126 * Linear(c.redF()) + 0.7152 * Linear(c.greenF()) + 0.0722 * Linear(c.blueF());
}

} // namespace

bool &NightLookOn()
{
    static bool on = false;
    return on;
}

PageLook::PageLook(const DisplaySettings &settings, bool night) : m_settings(settings), m_night(night) {}

QString PageLook::Background() const { return m_night ? kNightBackground : Hex(m_settings.backgroundColor); }
QString PageLook::English() const { return m_night ? kNightEnglish : Hex(m_settings.englishColor); }
QString PageLook::Chinese() const { return m_night ? kNightChinese : Hex(m_settings.chineseColor); }
QString PageLook::Comment() const { return m_night ? kNightComment : Hex(m_settings.commentColor); }
QString PageLook::Keyword() const { return m_night ? kNightKeyword : Hex(m_settings.keywordColor); }
QString PageLook::CurSentence() const { return m_night ? kNightCurrent : Hex(m_settings.curSentenceColor); }
QString PageLook::CommentPage() const { return m_night ? kNightCommentPage : Hex(15000804); }
QString PageLook::CommentPicture() const { return m_night ? QString() : QStringLiteral("my4.jpg"); }
QString PageLook::Link() const { return m_night ? kNightLink : QStringLiteral("#0000FF"); }
QString PageLook::PromptText() const { return m_night ? kNightPrompt : QStringLiteral("#000000"); }
QString PageLook::Mask() const { return m_night ? kNightMask : QStringLiteral("#E0E0E0"); }

QString PageLook::Hex(int settingsColour)
{
    return ToColor(settingsColour).name().toUpper();
}

QColor PageLook::ToColor(int settingsColour)
{
    const unsigned v = unsigned(settingsColour);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

int PageLook::FromColor(const QColor &colour)
{
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

double PageLook::Contrast(const QColor &a, const QColor &b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QString PageLook::TextureFile(const QString &home, int n)
{
    if (n < 1 || n > 10)
        return {};
    for (const char *ext : {".png", ".gif", ".jpg"}) {
        const QString path = home + QStringLiteral("/alltmpfile/") + QString::number(n) + QLatin1String(ext);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QStringList PageLook::NightTexts()
{
    return {kNightEnglish, kNightChinese, kNightComment, kNightKeyword, kNightCurrent, kNightLink, kNightPrompt};
}

QStringList PageLook::NightBackgrounds()
{
    return {kNightBackground, kNightCommentPage, kNightMask};
}

} // namespace mvx
