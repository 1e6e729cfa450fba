#include "IndexEditor.h"

#include "IndexTree.h"
#include "core/Helpers.h"

#include <QDir>
#include <QFileInfo>

namespace mvx {

namespace {

QString sameDirKey(const QString &dir)
{
    const QFileInfo info(dir);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString levelText(int level)
{
    return QStringLiteral("%1").arg(level, 4, 10, QLatin1Char('0'));
}

} // namespace

InputError IndexEditor::load(const QString &indexPath)
{
    m_path = indexPath;
    m_lines.clear();
    m_articleLine = -1;
    m_encoding = TextEncoding::Utf8;
    const QFileInfo info(indexPath);
    if (!info.exists())
        return {};
    if (!info.isFile())
        return {indexPath, 0, QStringLiteral("不是文件")};
    const TextFileContent content = ReadTextFile(indexPath);
    if (!content.ok)
        return {indexPath, 0, QStringLiteral("无法读取节目索引文件")};
    m_lines = content.lines;
    m_encoding = content.encoding;
    // A file that ends with a line end reads as one more, empty line; it is not kept twice.
    while (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    return {};
}

QString IndexEditor::libraryDir(const QString &folderText) const
{
    const QDir indexDir = QFileInfo(m_path).absoluteDir();
    return QDir::cleanPath(indexDir.absoluteFilePath(ToFsPath(folderText)));
}

InputError IndexEditor::addArticle(const QString &category, const QString &title, const QString &bookPath,
                                   int lessonNo, const QString &fourth)
{
    auto fail = [&](int line, const QString &message) { return InputError{m_path, line, message}; };
    QStringList path = category.split(QLatin1Char('/'));
    for (QString &p : path)
        p = p.trimmed();
    if (category.trimmed().isEmpty() || path.contains(QString()))
        return fail(0, QStringLiteral("类别“%1”无效：应写成“大类/小类”").arg(category));
    if (path.first().contains(QLatin1String("||")))
        return fail(0, QStringLiteral("类别名不能含有“||”"));
    if (title.trimmed().isEmpty() || title.contains(QLatin1Char('|')))
        return fail(0, QStringLiteral("文章标题不能为空，也不能含有“|”"));

    const IndexTree before(m_lines);
    if (before.malformedLine() >= 0)
        return fail(before.malformedLine() + 1, QStringLiteral("索引行格式错误，程序读到这一行就会停止"));

    const QFileInfo book(bookPath);
    const QString bookFile = book.fileName();
    const QString bookDirKey = sameDirKey(book.absolutePath());

    QStringList newLines;
    int insertAt = 0;
    int matched = 0;
    int node = -1;
    for (; matched < path.size(); ++matched) {
        const int next = before.findCategory(path.mid(0, matched + 1));
        if (next < 0)
            break;
        node = next;
    }
    if (node < 0) {
        // A new top category takes the book's folder, relative to the index.
        QString folder = QDir(QFileInfo(m_path).absolutePath()).relativeFilePath(book.absolutePath());
        if (folder.isEmpty())
            folder = QStringLiteral(".");
        newLines << QStringLiteral("CLAS0001") + path.first() + QStringLiteral("||") + folder;
        for (int i = 1; i < path.size(); ++i)
            newLines << QStringLiteral("CLAS") + levelText(i + 1) + path[i];
        insertAt = int(m_lines.size());
    } else {
        int top = node;
        while (before.nodes()[top].parent >= 0)
            top = before.nodes()[top].parent;
        const IndexNode &topNode = before.nodes()[top];
        if (sameDirKey(libraryDir(topNode.folder)) != bookDirKey)
            return {bookPath, 0,
                    QStringLiteral("书必须放在类别“%1”的文章库文件夹“%2”中（%3 第 %4 行）")
                        .arg(topNode.name, libraryDir(topNode.folder), m_path)
                        .arg(topNode.line + 1)};
        // The last line that belongs to the node: its own articles, or its whole subtree
        // when new sub-categories go below it.
        const bool newCategories = matched < path.size();
        int last = before.nodes()[node].line;
        QList<int> stack{node};
        while (!stack.isEmpty()) {
            const int n = stack.takeLast();
            for (int c : before.children(n)) {
                const IndexNode &child = before.nodes()[c];
                if (child.isArticle || newCategories) {
                    if (!child.isArticle)
                        stack.append(c);
                    last = std::max(last, child.line);
                }
            }
        }
        const int depth = before.nodes()[node].depth;
        for (int i = matched; i < path.size(); ++i)
            newLines << QStringLiteral("CLAS") + levelText(depth + 1 + (i - matched)) + path[i];
        insertAt = last + 1;
    }
    if (fourth.contains(QLatin1Char('|')))
        return fail(0, QStringLiteral("索引行的第四个字段不能含有“|”"));
    newLines << QStringLiteral("FILE%1|sentra|%2|%3|%4").arg(title.trimmed(), bookFile).arg(lessonNo).arg(fourth);
    for (int i = 0; i < newLines.size(); ++i)
        if (GbkByteLength(newLines[i]) > MaxLineBytes)
            return fail(0, QStringLiteral("索引行超过 %1 字节（标题、类别名或文件名太长）：%2")
                               .arg(MaxLineBytes)
                               .arg(newLines[i]));

    QStringList planned = m_lines;
    for (int i = 0; i < newLines.size(); ++i)
        planned.insert(insertAt + i, newLines[i]);
    const int articleLine = insertAt + int(newLines.size()) - 1;

    // The new tree must show the article under the asked category, with the book's folder.
    const IndexTree after(planned);
    bool placed = false;
    for (int i = 0; i < after.nodes().size(); ++i) {
        const IndexNode &n = after.nodes()[i];
        if (n.isArticle && n.line == articleLine) {
            placed = after.categoryPathOf(i) == path && n.bookFile == bookFile &&
                     sameDirKey(libraryDir(n.folder)) == bookDirKey;
            break;
        }
    }
    if (!placed)
        return fail(insertAt + 1, QStringLiteral("无法把文章放到类别“%1”下（索引的类别层次不规则）").arg(category));
    m_lines = planned;
    m_articleLine = articleLine;
    return {};
}

InputError IndexEditor::save() const
{
    if (!WriteTextFile(m_path, m_lines, m_encoding))
        return {m_path, 0, QStringLiteral("无法写入节目索引文件")};
    return {};
}

} // namespace mvx
