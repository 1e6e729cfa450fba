// LessonPages: patching one sentence's comment in the loaded comment page.
#include "player/pages/LessonPages.h"

#include "player/pages/PageHost.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace mvx::pages {

namespace {

QString CommentArgs(const QVariantList &args)
{
    const QByteArray json = QJsonDocument(QJsonArray::fromVariantList(args)).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QString BreakId(int n)
{
    return QStringLiteral("br%1").arg(n);
}

} // namespace

bool LessonPages::HasCommentLabel(int n) const
{
    return !GetComment(n).isEmpty();
}

bool LessonPages::CommentLabelHasText(int n)
{
    const QString id = GetComment(n);
    if (id.isEmpty())
        return false;
    const QVariant r = m_host.runAndWait(QStringLiteral("__mvxAgent.text(") + CommentArgs({m_cmtFrame, id})
                                             + QLatin1Char(')'),
                                         QueryTimeoutMs);
    // No answer in time: what the last analysis found.
    return r.isValid() && !r.isNull() ? !r.toString().isEmpty() : m_cmtFilled.contains(n);
}

void LessonPages::SetCommentMarkup(int n, const QString &innerHtml)
{
    const QString id = GetComment(n);
    if (!id.isEmpty())
        RunOp(QVariantList{QStringLiteral("setInner"), m_cmtFrame, id, innerHtml});
}

void LessonPages::InsertCommentBreak(int n)
{
    const QString id = GetComment(n);
    if (!id.isEmpty())
        RunOp(QVariantList{QStringLiteral("insertBreakAfter"), m_cmtFrame, id, BreakId(n)});
}

void LessonPages::RemoveCommentBreak(int n)
{
    if (!GetComment(n).isEmpty())
        RunOp(QVariantList{QStringLiteral("removeElement"), m_cmtFrame, BreakId(n)});
}

} // namespace mvx::pages
