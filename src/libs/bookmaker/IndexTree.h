#pragma once
// The article index "BrxSpecialIdx.txt" as the library window reads it (built by the
// window's own ArticleIndex), with what the index editor needs of each node: names,
// levels, depths, lines, library folders and the article fields. Reading stops at the
// first malformed line, as it does in the window.
#include <QList>
#include <QString>
#include <QStringList>

namespace mvx {

struct IndexNode
{
    bool isArticle = false;
    QString name;      // category name or article title
    int level = 0;     // categories: the level written in the line
    int depth = 0;     // categories: 1 for top categories, parent depth + 1 below
    int parent = -1;   // index into nodes(), -1 for top categories
    int line = 0;      // 0-based line in the file
    QString folder;    // library folder of the enclosing top category (text after "||")
    // Articles only:
    QString type;
    QString bookFile;
    int lessonNo = 0;
    QString fourth;
};

class IndexTree final
{
public:
    // Builds the tree from the lines; the index file's folder part is not included in folder.
    explicit IndexTree(const QStringList &lines);

    [[nodiscard]] const QList<IndexNode> &nodes() const { return m_nodes; }
    // 0-based line where reading stopped on a malformed line, or -1 when all was read.
    [[nodiscard]] int malformedLine() const { return m_malformedLine; }
    // The category at a path of names ("Top/Sub"), or -1.
    [[nodiscard]] int findCategory(const QStringList &path) const;
    // Names from the top category down to the node's parent category.
    [[nodiscard]] QStringList categoryPathOf(int node) const;
    [[nodiscard]] QList<int> children(int node) const;

private:
    QList<IndexNode> m_nodes;
    int m_malformedLine = -1;
};

} // namespace mvx
