#include "IndexTree.h"

#include "library/ArticleIndex.h"

namespace mvx {

IndexTree::IndexTree(const QStringList &lines)
{
    // The library window's own builder, so the editor sees exactly what the learner will see.
    const ArticleTree tree = ArticleIndex::build(QString(), lines);
    m_malformedLine = tree.stoppedAtLine - 1;
    for (const ArticleNode &a : tree.nodes) {
        IndexNode node;
        node.isArticle = a.isArticle();
        node.name = a.label;
        node.level = a.level;
        node.depth = node.isArticle ? 0 : ArticleIndex::categoryDepth(a.key);
        node.parent = a.parent;
        node.line = a.line;
        node.folder = a.folder;
        if (node.isArticle) {
            const QStringList fields = a.key.left(a.key.size() - 5).split(QLatin1Char('|'));
            node.type = fields.value(0);
            node.bookFile = fields.value(1);
            node.lessonNo = fields.value(2).toInt();
            node.fourth = fields.value(3);
        }
        m_nodes.append(node);
    }
}

int IndexTree::findCategory(const QStringList &path) const
{
    int parent = -1;
    for (const QString &name : path) {
        int found = -1;
        for (int i = 0; i < m_nodes.size(); ++i) {
            const IndexNode &n = m_nodes[i];
            if (!n.isArticle && n.parent == parent && n.name == name) {
                found = i;
                break;
            }
        }
        if (found < 0)
            return -1;
        parent = found;
    }
    return parent;
}

QStringList IndexTree::categoryPathOf(int node) const
{
    QStringList path;
    for (int p = m_nodes.value(node).parent; p >= 0; p = m_nodes[p].parent)
        path.prepend(m_nodes[p].name);
    return path;
}

QList<int> IndexTree::children(int node) const
{
    QList<int> out;
    for (int i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i].parent == node)
            out.append(i);
    return out;
}

} // namespace mvx
