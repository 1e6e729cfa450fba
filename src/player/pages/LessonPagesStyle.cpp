// LessonPages: element look-ups and the restyling of sentences in the loaded pages.
#include "player/pages/LessonPages.h"

#include "player/pages/FontFallback.h"
#include "player/pages/PageHost.h"

#include "core/AppState.h"
#include "core/PageLook.h"
#include "core/Helpers.h"
#include "core/UserSettings.h"
#include "core/WorkingFiles.h"
#include "libs/sentra/SentraFacade.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace mvx::pages {

namespace {

QString JsArgs(const QVariantList &args)
{
    const QByteArray json = QJsonDocument(QJsonArray::fromVariantList(args)).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QVariantMap Colour(const QString &colour)
{
    return {{QStringLiteral("color"), colour}};
}

QVariantMap Decoration(bool underline)
{
    return {{QStringLiteral("textDecoration"), underline ? QStringLiteral("underline") : QStringLiteral("none")}};
}

QVariantMap NewWordLook(bool show)
{
    return {{QStringLiteral("textDecoration"), show ? QStringLiteral("underline") : QStringLiteral("none")},
            {QStringLiteral("fontWeight"), show ? QStringLiteral("bold") : QStringLiteral("normal")}};
}

const QString Style = QStringLiteral("style");
const QString StyleChildren = QStringLiteral("styleChildren");
const QString KeyWordMarker = QStringLiteral("color");
const QString NewWordMarker = QStringLiteral("textDecoration");

} // namespace

// ---- Look-ups -------------------------------------------------------------------------------

QString LessonPages::GetESentence(int n) const
{
    return !m_eFrame.isEmpty() && m_eIds.contains(n) ? QStringLiteral("ste") + QString::number(n) : QString();
}

QString LessonPages::GetCSentence(int n) const
{
    return !m_cFrame.isEmpty() && m_cIds.contains(n) ? QStringLiteral("stc") + QString::number(n) : QString();
}

QString LessonPages::GetComment(int n) const
{
    return !m_cmtFrame.isEmpty() && m_cmtIds.contains(n) ? QStringLiteral("stz") + QString::number(n) : QString();
}

QString LessonPages::GetNoLabel(int k) const
{
    return !m_eFrame.isEmpty() && m_noIds.contains(k) ? QStringLiteral("No") + QString::number(k) : QString();
}

QString LessonPages::FrameOf(SentenceText text) const
{
    switch (text) {
    case SentenceText::English:
        return m_eFrame;
    case SentenceText::Chinese:
        return m_cFrame;
    case SentenceText::Comment:
        return m_cmtFrame;
    }
    return {};
}

QString LessonPages::IdOf(SentenceText text, int n) const
{
    switch (text) {
    case SentenceText::English:
        return GetESentence(n);
    case SentenceText::Chinese:
        return GetCSentence(n);
    case SentenceText::Comment:
        return GetComment(n);
    }
    return {};
}

bool LessonPages::HasSentenceElement(SentenceText text, int n) const
{
    if (text == SentenceText::Comment) {
        return !GetComment(n).isEmpty() && m_cmtFilled.contains(n);
    }
    return !IdOf(text, n).isEmpty();
}

// ---- Current sentence -----------------------------------------------------------------------

int LessonPages::ElementDisplayingStatus(SentenceText text, int n)
{
    const QString id = IdOf(text, n);
    if (id.isEmpty()) {
        return 0;
    }
    const QVariant r = Query(QStringLiteral("__mvxAgent.classify(") + JsArgs({FrameOf(text), id}) + QLatin1Char(')'),
                             QueryTimeoutMs);
    // No answer in time: leave the page where it is rather than jump.
    return r.isValid() && r.toInt() >= 0 ? r.toInt() : 1;
}

void LessonPages::ShowCurSentence(SentenceText text, int n, bool current)
{
    const QString id = IdOf(text, n);
    if (id.isEmpty()) {
        return;
    }
    const DisplaySettings &d = App().display;
    const PageLook look(d);
    const QString frame = FrameOf(text);
    const QString cur = look.CurSentence();
    QVariantList ops;
    switch (text) {
    case SentenceText::English: {
        const bool keywords = d.showKeyword != 0;
        if (current) {
            ops.push_back(QVariantList{Style, frame, id, Colour(cur)});
            if (!m_show.maskActive) {
                const int degree = n < int(m_degrees.size()) ? m_degrees[n] : 0;
                const QString kw = keywords ? look.Keyword() : (degree != 0 && m_markedShown ? cur : look.English());
                ops.push_back(QVariantList{StyleChildren, frame, id, KeyWordMarker, Colour(kw)});
            }
        } else {
            ops.push_back(QVariantList{Style, frame, id, Colour(look.English())});
            if (!m_show.maskActive) {
                ops.push_back(
                    QVariantList{StyleChildren, frame, id, KeyWordMarker, Colour(keywords ? look.Keyword() : look.English())});
            }
            ops.push_back(QVariantList{StyleChildren, frame, id, NewWordMarker, NewWordLook(d.showNewword != 0)});
        }
        break;
    }
    case SentenceText::Chinese:
        ops.push_back(QVariantList{Style, frame, id, Colour(current ? cur : look.Chinese())});
        break;
    case SentenceText::Comment:
        if (current) {
            ops.push_back(QVariantList{Style, frame, id, Colour(cur)});
        } else {
            QVariantMap plain = NewWordLook(false);
            plain.insert(QStringLiteral("color"), look.Comment());
            ops.push_back(QVariantList{Style, frame, id, plain});
        }
        break;
    }
    if (current) {
        m_current = n;
    }
    RunOps(ops);
}

void LessonPages::ScrollSentence(SentenceText text, int n, bool alignTop)
{
    const QString id = IdOf(text, n);
    if (!id.isEmpty()) {
        RunOp(QVariantList{QStringLiteral("scrollTo"), FrameOf(text), id, alignTop});
    }
}

void LessonPages::RefreshCurrentSentencePages(int n)
{
    m_current = n;
    if (!m_show.englishShown) {
        ShowESentenceDocContent(m_autoShowEnglish);
    }
    if (!m_show.chineseShown) {
        ShowCSentenceDocContent(m_autoShowChinese);
    }
}

void LessonPages::ShowESentenceDocContent(bool show)
{
    if (m_eCurFrame.isEmpty()) {
        return;
    }
    const DisplaySettings &d = App().display;
    const PageLook look(d);
    const auto colour = [](const QString &hex) { return int(SwapRedBlue(PageLook::FromColor(QColor(hex)))); };
    const QString latin = FontFallback::EnglishFamily(QStringLiteral("MS Sans Serif"));
    const QString song = FontFallback::ChineseFamily(QStringLiteral("宋体"));
    const QString sink = SinkNames()[ECurSink];
    QString html;
    QVariantList hooks;
    if (show && m_bookHandle != -1 && m_current >= 0 && m_current < m_sentenceCount) {
        const QString markup = TrimAtNul(bcSentence_MakeEHtml(m_bookHandle, m_firstSentence + m_current, m_current,
                                                              colour(look.English()), colour(look.Keyword()), -1,
                                                              -1, 0, 0));
        html = QStringLiteral("<font face=\"%1\" size=1.5pt>").arg(latin) + markup + QStringLiteral("</font>");
        hooks.append(QVariantMap{{"labels", QStringLiteral("ste")}, {"sink", sink}});
    } else {
        html = QStringLiteral("<font face=\"%1\" size=1.5pt color=%3><u><LABEL id = \"CurESentence\"> "
                              "点击此处或按 C键 或 F5键显示当前句子英文</label></u></font><br><br>"
                              "<font size=1.5 color=%4 face=\"%2\">按 F11 键可切换是否需要自动显示当前句子英文</font>")
                   .arg(latin, song, look.Link(), look.PromptText());
        hooks.append(QVariantMap{{"labels", QStringLiteral("CurESentence")}, {"sink", sink}, {"dblclick", false}});
    }
    RunOp(QVariantList{QStringLiteral("setBody"), m_eCurFrame, html, hooks});
}

void LessonPages::ShowCSentenceDocContent(bool show)
{
    if (m_cCurFrame.isEmpty()) {
        return;
    }
    const DisplaySettings &d = App().display;
    const PageLook look(d);
    const QString song = FontFallback::ChineseFamily(QStringLiteral("宋体"));
    QString html;
    QVariantList hooks;
    if (show && m_bookHandle != -1 && m_current >= 0 && m_current < m_sentenceCount) {
        // The library takes this colour in the settings' byte order and converts it itself.
        const QString markup =
            TrimAtNul(bcSentence_MakeCHtml(m_bookHandle, m_firstSentence + m_current, m_current,
                                           look.Night() ? PageLook::FromColor(QColor(look.Chinese())) : d.chineseColor, 0));
        html = QStringLiteral("<font face=\"%1\" size=1.5pt>").arg(song) + markup + QStringLiteral("</font>");
    } else {
        html = QStringLiteral("<font size=1.5pt color=%2 face=\"%1\"><u><LABEL id = \"CurCSentence\"> "
                              "点击此处或按 X键 或 F3键显示当前句子译文</label></u></font><br><br>"
                              "<font size=1.5pt color=%3 face=\"%1\">按 F12 键可切换是否需要自动显示当前句子译文</font>")
                   .arg(song, look.Link(), look.PromptText());
        hooks.append(
            QVariantMap{{"labels", QStringLiteral("CurCSentence")}, {"sink", SinkNames()[CCurSink]}, {"dblclick", false}});
    }
    RunOp(QVariantList{QStringLiteral("setBody"), m_cCurFrame, html, hooks});
}

// ---- Whole lesson ---------------------------------------------------------------------------

void LessonPages::ApplyDisplayOptions()
{
    if (!m_loaded) {
        return;
    }
    const DisplaySettings &d = App().display;
    RunOps(BackgroundOps(false));
    if (m_show.mixedLayout && m_show.englishShown && m_show.chineseShown) {
        SetChineseFont();
        SetEnglishFont();
    }
    if (m_markedShown) {
        ShowAllMarkedSentences(true);
    }
    if (d.showKeyword == 0) {
        ShowAllKeyWords(false);
    }
    if (d.showNewword == 0) {
        ShowAllNewWords(false);
    }
}

QStringList LessonPages::BoundFrames() const
{
    QStringList frames;
    for (const QString &f : {m_eFrame, m_cFrame, m_cmtFrame, m_eCurFrame, m_cCurFrame}) {
        if (!f.isEmpty() && !frames.contains(f)) {
            frames.append(f);
        }
    }
    return frames;
}

QVariantList LessonPages::BackgroundOps(bool explicitNone) const
{
    const PageLook look(App().display);
    // A texture shows only when its picture is there: no file, no picture.
    const QString picture = PageLook::TextureFile(m_home, App().display.textureIdx);
    const QVariant texture = !picture.isEmpty() ? QVariant(QFileInfo(picture).fileName())
                             : explicitNone     ? QVariant(QString())
                                                : QVariant();
    const QVariant none = explicitNone ? QVariant(QString()) : QVariant();
    const QVariant scheme = look.Night() ? QVariant(QStringLiteral("dark")) : none;
    QVariantList ops;
    QStringList done;
    for (const QString &f : {m_eFrame, m_cFrame}) {
        if (!f.isEmpty() && !done.contains(f)) {
            done.append(f);
            ops.push_back(QVariantList{QStringLiteral("docStyle"), f, look.Background(), texture, scheme});
        }
    }
    if (!m_cmtFrame.isEmpty()) {
        ops.push_back(QVariantList{QStringLiteral("docStyle"), m_cmtFrame, look.CommentPage(), look.CommentPicture(), scheme});
    }
    for (const QString &f : {m_eCurFrame, m_cCurFrame}) {
        if (!f.isEmpty()) {
            ops.push_back(QVariantList{QStringLiteral("docStyle"), f,
                                    look.Night() ? QVariant(look.Background()) : none, QVariant(), scheme});
        }
    }
    return ops;
}

void LessonPages::ShowAllMarkedSentences(bool show)
{
    m_markedShown = show;
    const bool chineseToo = !(m_show.mixedLayout && m_show.englishShown);
    QVariantList ops;
    for (int n = FirstSentence(); n < m_sentenceCount && n < int(m_degrees.size()); ++n) {
        if (m_degrees[n] < 1) {
            continue;
        }
        const QString e = GetESentence(n);
        const QString c = GetCSentence(n);
        if (!e.isEmpty()) {
            ops.push_back(QVariantList{Style, m_eFrame, e, Decoration(show)});
        }
        if (!c.isEmpty() && (!show || chineseToo)) {
            ops.push_back(QVariantList{Style, m_cFrame, c, Decoration(show)});
        }
    }
    RunOps(ops);
}

void LessonPages::MarkHardSentences(const QList<int> &sentences)
{
    if (!m_loaded || m_eFrame.isEmpty()) {
        return;
    }
    const QVariantMap plain{{QStringLiteral("borderLeft"), QString()}, {QStringLiteral("paddingLeft"), QString()}};
    const QVariantMap marked{{QStringLiteral("borderLeft"), QStringLiteral("3px solid #E07000")},
                             {QStringLiteral("paddingLeft"), QStringLiteral("2px")}};
    QVariantList ops;
    ops.push_back(QVariantList{QStringLiteral("styleLabels"), m_eFrame, QStringLiteral("ste"), plain});
    for (int n : sentences) {
        const QString e = GetESentence(n);
        if (!e.isEmpty()) {
            ops.push_back(QVariantList{Style, m_eFrame, e, marked});
        }
    }
    RunOps(ops);
}

void LessonPages::ShowAllKeyWords(bool show)
{
    if (m_show.maskActive) {
        return;
    }
    const PageLook colours(App().display);
    const QVariantMap look = Colour(show ? colours.Keyword() : colours.English());
    QVariantList ops;
    for (int n = FirstSentence(); n < m_sentenceCount; ++n) {
        const QString e = GetESentence(n);
        if (!e.isEmpty()) {
            ops.push_back(QVariantList{StyleChildren, m_eFrame, e, KeyWordMarker, look});
        }
    }
    RunOps(ops);
}

void LessonPages::ShowAllNewWords(bool show)
{
    QVariantList ops;
    for (int n = FirstSentence(); n < m_sentenceCount; ++n) {
        const QString e = GetESentence(n);
        if (!e.isEmpty()) {
            ops.push_back(QVariantList{StyleChildren, m_eFrame, e, NewWordMarker, NewWordLook(show)});
        }
    }
    RunOps(ops);
}

void LessonPages::SetEnglishFont()
{
    const DisplaySettings &d = App().display;
    const QVariantMap font{{QStringLiteral("fontFamily"), FontFallback::EnglishFamily(d.englishFontName)},
                           {QStringLiteral("fontSize"), RealToText(d.englishFontSize) + QStringLiteral("pt")}};
    QVariantList ops;
    int k = 1;
    for (int n = FirstSentence(); n < m_sentenceCount; ++n, ++k) {
        const QString e = GetESentence(n);
        if (!e.isEmpty()) {
            ops.push_back(QVariantList{Style, m_eFrame, e, font});
        }
        if (m_show.mixedLayout && !GetNoLabel(k).isEmpty()) {
            ops.push_back(QVariantList{Style, m_eFrame, GetNoLabel(k), font});
        }
    }
    RunOps(ops);
}

void LessonPages::SetChineseFont()
{
    const DisplaySettings &d = App().display;
    const QVariantMap font{{QStringLiteral("fontFamily"), FontFallback::ChineseFamily(d.chineseFontName)},
                           {QStringLiteral("fontSize"), RealToText(d.chineseFontSize) + QStringLiteral("pt")}};
    QVariantList ops;
    for (int n = FirstSentence(); n < m_sentenceCount; ++n) {
        const QString c = GetCSentence(n);
        if (!c.isEmpty()) {
            ops.push_back(QVariantList{Style, m_cFrame, c, font});
        }
    }
    RunOps(ops);
}

} // namespace mvx::pages
