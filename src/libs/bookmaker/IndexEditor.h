#pragma once
// Adds one article to an article index file without disturbing the rest of it.
// The FILE line goes at the end of its category's own articles (before the category's
// first sub-category), new categories are added with the CLAS lines they need, a new
// top category gets the book's folder, and the file keeps its encoding (a GBK index stays
// GBK). Every plan is checked by rebuilding the tree from the new lines: the article must
// appear under the asked category, or nothing is written.
#include "core/InputError.h"
#include "core/TextCodec.h"

#include <QStringList>

namespace mvx {

class IndexEditor final
{
public:
    static constexpr int MaxLineBytes = 198; // as GBK counts them

    // Reads the index; a missing file is an empty index that will be written as UTF-8.
    InputError load(const QString &indexPath);

    // Plans the article line. category: names joined by "/" ("Top/Sub"). bookPath: the book
    // file (need not exist yet; its folder must). fourth: the line's last field, which the
    // program carries but does not use. On error nothing is planned.
    InputError addArticle(const QString &category, const QString &title, const QString &bookPath, int lessonNo,
                          const QString &fourth = QStringLiteral("0"));

    [[nodiscard]] const QStringList &lines() const { return m_lines; }
    [[nodiscard]] TextEncoding encoding() const { return m_encoding; }
    [[nodiscard]] int articleLine() const { return m_articleLine; } // 0-based, -1 before addArticle

    // Writes the planned lines in the file's encoding (whole file replaced at once).
    InputError save() const;

private:
    [[nodiscard]] QString libraryDir(const QString &folderText) const;

    QString m_path;
    QStringList m_lines;
    TextEncoding m_encoding = TextEncoding::Utf8;
    int m_articleLine = -1;
};

} // namespace mvx
