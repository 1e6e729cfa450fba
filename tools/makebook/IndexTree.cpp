#include "IndexTree.h"

namespace mvx {

IndexTree::IndexTree(const QStringList &lines)
{
    int current = -1; // the most recent category (P)
    int lastLevel = 0; // L
    QString folder;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        const QString kind = line.left(4);
        if (kind == QLatin1String("CLAS")) {
            bool ok = false;
            const int level = line.mid(4, 4).toInt(&ok);
            if (!ok || line.size() < 8) {
                m_malformedLine = i;
                return;
            }
            IndexNode node;
            node.level = level;
            node.line = i;
            if (level == 1) {
                const qsizetype bars = line.indexOf(QLatin1String("||"));
                if (bars < 8) {
                    m_malformedLine = i;
                    return;
                }
                node.name = line.mid(8, bars - 8);
                folder = line.mid(bars + 2);
                node.depth = 1;
            } else {
                if (current < 0) {
                    m_malformedLine = i;
                    return;
                }
                node.name = line.mid(8);
                int parent = current;
                if (level <= lastLevel) {
                    while (parent >= 0 && m_nodes[parent].depth > level - 1)
                        parent = m_nodes[parent].parent;
                    if (parent < 0)
                        continue; // cannot be placed: skipped
                }
                node.parent = parent;
                node.depth = m_nodes[parent].depth + 1;
            }
            node.folder = folder;
            m_nodes.append(node);
            current = int(m_nodes.size() - 1);
            lastLevel = level;
        } else if (kind == QLatin1String("FILE")) {
            const qsizetype bar = line.indexOf(QLatin1Char('|'));
            if (bar < 0 || current < 0) {
                m_malformedLine = i;
                return;
            }
            IndexNode node;
            node.isArticle = true;
            node.name = line.mid(4, bar - 4);
            node.line = i;
            node.parent = current;
            node.folder = folder;
            const QStringList fields = line.mid(bar + 1).split(QLatin1Char('|'));
            node.type = fields.value(0);
            node.bookFile = fields.value(1);
            node.lessonNo = fields.value(2).toInt();
            node.fourth = fields.value(3);
            m_nodes.append(node);
        }
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
