#pragma once
// Decides where the lesson view may go. The view shows only the program's own pages: local
// files under the allowed folders (the program home) and blank frames. A web or mail address
// is handed to the learner's desktop programs instead; the comment-edit marker address is
// turned into the player's comment editing; anything else (other local files, data:, other
// schemes) is refused.
#include <QStringList>
#include <QUrl>

namespace mvx::pages {

class NavigationPolicy final
{
public:
    enum class Decision { Allow, OpenExternally, CommentEdit, Refuse };

    // Folders (absolute) whose files the view may load; sub-folders included.
    void setAllowedFolders(const QStringList &folders);
    [[nodiscard]] QStringList allowedFolders() const { return m_folders; }
    // A view that shows one page only (the quiz): that file and blank frames are allowed,
    // every other address is refused, and nothing is opened externally. Empty: folders rule.
    void setOnlyFile(const QString &file);

    [[nodiscard]] Decision decide(const QUrl &url) const;

private:
    QStringList m_folders; // cleaned, ending without "/"
    QString m_onlyFile;    // cleaned absolute path, or empty
};

} // namespace mvx::pages
