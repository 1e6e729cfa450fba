#include "ArticleIndex.h"

#include "core/Helpers.h"
#include "core/TextCodec.h"

namespace mvx {

namespace {

QString fourDigits(int n)
{
    return QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'));
}

// Level of a CLAS line (characters 5 to 8), 0 when they are not a number.
int levelOf(const QString &line)
{
    bool ok = false;
    const int level = line.mid(4, 4).trimmed().toInt(&ok);
    return ok ? level : 0;
}

} // namespace

bool ArticleNode::isArticle() const
{
    return ArticleIndex::isArticleKey(key);
}

int ArticleTree::indexOfKey(const QString &key) const
{
    for (int i = 0; i < nodes.size(); ++i)
        if (nodes[i].key == key)
            return i;
    return -1;
}

QString ArticleInfo::fileName() const
{
    return folder.isEmpty() ? bookFile : folder + QLatin1Char('/') + bookFile;
}

bool ArticleIndex::isArticleKey(const QString &key)
{
    return !key.startsWith(QLatin1String("ROOT"));
}

int ArticleIndex::categoryDepth(const QString &key)
{
    return int((key.size() - 5) / 4) - 1;
}

std::optional<ArticleInfo> ArticleIndex::parseArticleKey(const QString &key)
{
    if (!isArticleKey(key) || key.size() <= 5)
        return std::nullopt;
    const QStringList parts = key.left(key.size() - 5).split(QLatin1Char('|'));
    if (parts.size() < 5)
        return std::nullopt;
    ArticleInfo info;
    info.fileType = parts[0];
    info.bookFile = parts[1];
    info.lessonNo = parts[2].trimmed().toInt();
    info.fourthField = parts[3].trimmed().toInt();
    info.folder = ToFsPath(parts.mid(4).join(QLatin1Char('|')));
    return info;
}

ArticleTree ArticleIndex::build(const QString &indexFileName, const QStringList &rawLines)
{
    ArticleTree tree;
    tree.opened = true;
    const QString folderPrefix = ToFsPath(FolderPart(indexFileName));
    int n = 1;                // node counter
    int r = 1;                // top-category counter
    int parent = -1;          // most recent category
    int lastLevel = 0;
    QString folder;

    for (int lineNo = 1; lineNo <= rawLines.size(); ++lineNo) {
        const QString line = CutToGbkBytes(TrimAtNul(rawLines[lineNo - 1]), MaxLineBytes);
        const bool isClass = line.startsWith(QLatin1String("CLAS"));
        const bool isFile = line.startsWith(QLatin1String("FILE"));
        if (!isClass && !isFile)
            continue;
        const int level = isClass ? levelOf(line) : 0;
        if (isClass && level < 1)
            continue;
        if (n > MaxNodes) {
            tree.hitNodeLimit = true;
            tree.message = QStringLiteral("节目索引文件太长：最多只能显示 %1 个条目，从第 %2 行起的内容没有显示。")
                               .arg(MaxNodes)
                               .arg(lineNo);
            return tree;
        }
        const auto malformed = [&] {
            tree.stoppedAtLine = lineNo;
            tree.message = QStringLiteral("节目索引文件第 %1 行格式错误，以后的内容没有显示。").arg(lineNo);
        };

        if (isClass && level == 1) {
            const int bars = int(line.indexOf(QLatin1String("||")));
            if (bars < 0) {
                malformed();
                return tree;
            }
            folder = folderPrefix + line.mid(bars + 2);
            tree.nodes.push_back({QStringLiteral("ROOT") + fourDigits(r) + QLatin1Char('-') + fourDigits(n),
                                  line.mid(8, bars - 8), -1, lineNo - 1, 1, folder});
            parent = int(tree.nodes.size()) - 1;
            ++n;
            ++r;
            lastLevel = 1;
        } else if (isClass) {
            if (parent < 0) {
                malformed();
                return tree;
            }
            int attachTo = parent;
            if (lastLevel >= level) {
                // Climb from the most recent category until one is shallow enough to hold this level.
                while (attachTo >= 0 && categoryDepth(tree.nodes[attachTo].key) > level - 1)
                    attachTo = tree.nodes[attachTo].parent;
                if (attachTo < 0)
                    continue; // no ancestor can hold this level: the line is skipped
            }
            const QString &parentKey = tree.nodes[attachTo].key;
            tree.nodes.push_back({parentKey.left(parentKey.size() - 5) + fourDigits(level) + QLatin1Char('-') + fourDigits(n),
                                  line.mid(8), attachTo, lineNo - 1, level, folder});
            parent = int(tree.nodes.size()) - 1;
            ++n;
            lastLevel = level;
        } else {
            // Type, book file, lesson number and fourth field: an article short of one cannot be opened.
            const int bar = int(line.indexOf(QLatin1Char('|')));
            if (bar < 0 || parent < 0 || line.mid(bar + 1).split(QLatin1Char('|')).size() < 4) {
                malformed();
                return tree;
            }
            tree.nodes.push_back({line.mid(bar + 1) + QLatin1Char('|') + folder + QLatin1Char('-') + fourDigits(n),
                                  line.mid(4, bar - 4), parent, lineNo - 1, 0, folder});
            ++n;
        }
    }
    return tree;
}

ArticleTree ArticleIndex::buildFromFile(const QString &indexFileName)
{
    const TextFileContent content = ReadTextFile(indexFileName);
    if (!content.ok) {
        ArticleTree tree;
        tree.message = QStringLiteral("节目索引文件打开错误");
        return tree;
    }
    return build(indexFileName, content.lines);
}

QStringList ArticleIndex::describe(const ArticleTree &tree)
{
    QStringList out;
    for (const ArticleNode &node : tree.nodes)
        out << node.key + QLatin1Char('\t') + node.label;
    return out;
}

} // namespace mvx
