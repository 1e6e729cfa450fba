#pragma once
// Writes a sentence's comment into the open book and patches the shown comment page in
// place, without a reload: the label's markup is replaced, a first comment gets its line
// break "br" + n after the label, is highlighted and scrolled into view by its visibility
// class (top for 0 and 3, bottom for 2, 4 and 5, none for 1), and an emptied comment loses
// its break. The page is asked (and waited for) inside the player's busy scope.
#include <QString>
#include <functional>

namespace mvx {

class PlayerOperations;

namespace pages {
class CommentPage;
}

class CommentEditor final
{
public:
    using HandleGetter = std::function<int()>;
    CommentEditor(PlayerOperations &player, pages::CommentPage &page, HandleGetter bookHandle);

    // The stored comment of sentence n of the lesson; "" for none or without a book.
    [[nodiscard]] QString Comment(int n) const;
    // Stores comment (trailing white space removed; empty deletes it) for sentence n and
    // updates the page. False when the book could not store it; then nothing changed.
    bool ModifyCurSentence(int n, const QString &comment);

private:
    PlayerOperations &m_player;
    pages::CommentPage &m_page;
    HandleGetter m_bookHandle;
};

} // namespace mvx
