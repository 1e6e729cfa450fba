#include "player/events/CommentEditor.h"

#include "core/AppState.h"
#include "core/PageLook.h"
#include "libs/comm/CommLib.h"
#include "libs/sentra/SentraFacade.h"
#include "player/pages/CommentPage.h"
#include "player/playback/PlayerOperations.h"

namespace mvx {

CommentEditor::CommentEditor(PlayerOperations &player, pages::CommentPage &page, HandleGetter bookHandle)
    : m_player(player), m_page(page), m_bookHandle(std::move(bookHandle))
{
}

QString CommentEditor::Comment(int n) const
{
    const int book = m_bookHandle();
    if (book == -1 || n < 0 || n >= m_player.SentenceCount())
        return {};
    return bcSentence_GetComment(book, m_player.GetSentenceNoInAll(n));
}

bool CommentEditor::ModifyCurSentence(int n, const QString &comment)
{
    const int book = m_bookHandle();
    if (book == -1 || n < 0 || n >= m_player.SentenceCount())
        return false;
    QString text = comment;
    StrongRtrim(text);
    const int noInAll = m_player.GetSentenceNoInAll(n);
    if (bcSentence_Modify(book, noInAll, std::nullopt, std::nullopt, text) != 0)
        return false;
    if (!m_page.HasCommentLabel(n))
        return true; // comments are not shown: the next load shows it
    const QString inner = bcSentence_MakeCommentHtml(book, noInAll, n, QLatin1String(sentra::InnerHtmlOnlyRequest),
                                                     PageLook::FromColor(QColor(PageLook(App().display).Comment())));
    PlayerOperations::BusyScope busy(&m_player);
    const bool hadText = m_page.CommentLabelHasText(n);
    if (text.isEmpty()) {
        m_page.SetCommentMarkup(n, QString());
        if (hadText)
            m_page.RemoveCommentBreak(n);
        m_page.AnalyzeComment();
        return true;
    }
    m_page.SetCommentMarkup(n, inner);
    if (hadText) {
        m_page.AnalyzeComment();
        return true;
    }
    m_page.InsertCommentBreak(n);
    m_page.AnalyzeComment();
    // The dialog is modal while playing goes on: only a sentence still current is highlighted.
    m_page.ShowCurSentence(SentenceText::Comment, n, n == m_player.CurSentence());
    switch (m_page.ElementDisplayingStatus(SentenceText::Comment, n)) {
    case 0:
    case 3:
        m_page.ScrollSentence(SentenceText::Comment, n, true);
        break;
    case 2:
    case 4:
    case 5:
        m_page.ScrollSentence(SentenceText::Comment, n, false);
        break;
    default:
        break;
    }
    return true;
}

} // namespace mvx
