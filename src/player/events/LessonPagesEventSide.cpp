#include "player/events/LessonPagesEventSide.h"

#include "player/pages/LessonPages.h"
#include "core/AppState.h"
#include "core/PageLook.h"
#include "player/pages/PageHost.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace mvx {

namespace {

QString Json(const QJsonValue &v)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

} // namespace

LessonPagesEventSide::LessonPagesEventSide(pages::LessonPages &pages, pages::PageHost &host)
    : m_pages(pages), m_host(host)
{
}

PageShowState LessonPagesEventSide::ShowState() const
{
    return m_pages.ShowState();
}

void LessonPagesEventSide::SetShowState(const PageShowState &show)
{
    m_pages.SetShowState(show);
}

QString LessonPagesEventSide::StyleWordScript(const QString &frame, const QString &labelId, int k,
                                              const QVariantMap &props)
{
    // Word ids repeat from sentence to sentence: the word is child k of its label, and must
    // carry the id "wrd" + k.
    return QStringLiteral("(function(f,id,k,p){var l=__mvxAgent.el(f,id);var w=l&&l.children[k];"
                          "if(!w||w.id!=='wrd'+k)return false;for(var q in p)w.style[q]=p[q];return true;})(")
           + Json(frame) + QLatin1Char(',') + Json(labelId) + QLatin1Char(',') + QString::number(k) + QLatin1Char(',')
           + Json(QJsonObject::fromVariantMap(props)) + QLatin1Char(')');
}

void LessonPagesEventSide::StyleWord(const QString &frame, const QString &labelId, int k, const QVariantMap &props)
{
    m_host.run(StyleWordScript(frame, labelId, k, props));
}

void LessonPagesEventSide::ShowESentenceDocContent(bool show)
{
    m_pages.ShowESentenceDocContent(show);
}

void LessonPagesEventSide::ShowCSentenceDocContent(bool show)
{
    m_pages.ShowCSentenceDocContent(show);
}

bool LessonPagesEventSide::AutoShowEnglish() const
{
    return m_pages.AutoShowEnglish();
}

bool LessonPagesEventSide::AutoShowChinese() const
{
    return m_pages.AutoShowChinese();
}

void LessonPagesEventSide::SetAutoShow(bool english, bool chinese)
{
    m_pages.SetAutoShow(english, chinese);
}

void LessonPagesEventSide::ShowCurSentence(SentenceText text, int n, bool current)
{
    m_pages.ShowCurSentence(text, n, current);
}

void LessonPagesEventSide::ShowSentenceMark(SentenceText text, int n, bool show)
{
    const QString id = text == SentenceText::English ? m_pages.GetESentence(n)
                       : text == SentenceText::Chinese ? m_pages.GetCSentence(n)
                                                       : m_pages.GetComment(n);
    if (id.isEmpty()) {
        return;
    }
    const QJsonObject look{{QStringLiteral("textDecoration"), show ? QStringLiteral("underline") : QStringLiteral("none")}};
    m_host.run(QStringLiteral("__mvxAgent.style(") + Json(m_pages.FrameOf(text)) + QLatin1Char(',') + Json(id)
               + QLatin1Char(',') + Json(look) + QLatin1Char(')'));
}

void LessonPagesEventSide::ShowAllMarkedSentences(bool show)
{
    m_pages.ShowAllMarkedSentences(show);
}

bool LessonPagesEventSide::MarkedShown() const
{
    return m_pages.MarkedShown();
}

int LessonPagesEventSide::SentenceDegree(int n) const
{
    const auto &d = m_pages.SentenceDegrees();
    return n >= 0 && n < int(d.size()) ? d[n] : 0;
}

void LessonPagesEventSide::SetSentenceDegree(int n, int degree)
{
    m_pages.SetSentenceDegree(n, degree);
}

bool LessonPagesEventSide::HasTitleSentence() const
{
    return m_pages.HasTitleSentence();
}

QString LessonPagesEventSide::FrameOf(SentenceText text) const
{
    return m_pages.FrameOf(text);
}

int LessonPagesEventSide::WordCount(int n)
{
    const QString id = m_pages.GetESentence(n);
    if (id.isEmpty()) {
        return 0;
    }
    // The query waits inside the player's busy scope: no tick changes the sentence meanwhile.
    const QVariant r = m_pages.Query(QStringLiteral("(function(){var l=__mvxAgent.el(") + Json(FrameOf(SentenceText::English))
                                         + QLatin1Char(',') + Json(id) + QStringLiteral(");return l?l.children.length:0;})()"),
                                     pages::LessonPages::QueryTimeoutMs);
    return r.isValid() ? r.toInt() : 0;
}

QVector<QVector<int>> LessonPagesEventSide::MaskWords(int from, int to)
{
    QVector<QVector<int>> flags;
    const QString frame = FrameOf(SentenceText::English);
    if (frame.isEmpty() || from > to) {
        return flags;
    }
    const QVariant r = m_host.runAndWait(QStringLiteral("__mvxAgent.mask(") + Json(frame) + QStringLiteral(",\"ste\",")
                                             + QString::number(from) + QLatin1Char(',') + QString::number(to)
                                             + QStringLiteral(",\"") + PageLook(App().display).Mask()
                                             + QStringLiteral("\")"),
                                         pages::LessonPages::QueryTimeoutMs);
    for (const QVariant &sentence : r.toList()) {
        QVector<int> words;
        for (const QVariant &f : sentence.toList()) {
            words.push_back(f.toInt());
        }
        flags.push_back(words);
    }
    return flags;
}

void LessonPagesEventSide::UnmaskWords(const QVector<UnmaskedWord> &words)
{
    const QString frame = FrameOf(SentenceText::English);
    if (frame.isEmpty() || words.isEmpty()) {
        return;
    }
    QJsonArray list;
    for (const UnmaskedWord &w : words) {
        list.append(QJsonArray{w.n, w.k, w.colour});
    }
    m_host.run(QStringLiteral("__mvxAgent.unmask(") + Json(frame) + QStringLiteral(",\"ste\",")
               + QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact)) + QLatin1Char(')'));
}

} // namespace mvx
