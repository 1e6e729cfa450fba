#include "ArticleSource.h"

#include "libs/bookmaker/KeyWordMarks.h"
#include "core/KeyValueLine.h"
#include "core/TextCodec.h"

#include <QFileInfo>

namespace mvx {

ArticleSource ArticleSource::parse(const QStringList &lines, const QString &fileName)
{
    ArticleSource a;
    auto fail = [&](int line, const QString &message) {
        a.sentences.clear();
        a.error = {fileName, line, message};
        return a;
    };
    for (int i = 0; i < lines.size(); ++i) {
        const KeyValueLine line = KeyValueLine::read(lines[i], i == 0);
        const int lineNo = i + 1;
        if (line.kind == KeyValueLine::Kind::Skip)
            continue;
        if (line.kind == KeyValueLine::Kind::NoName)
            return fail(lineNo, QStringLiteral("应为“名称: 内容”"));
        const QString &key = line.key;
        const QString &value = line.value;
        if (line.kind == KeyValueLine::Kind::NoValue)
            return fail(lineNo, QStringLiteral("“%1:”后面没有内容").arg(key));
        if (key == QLatin1String("category")) {
            a.category = value;
        } else if (key == QLatin1String("book")) {
            if (value.contains(QLatin1Char('/')) || value.contains(QLatin1Char('\\')) || value.contains(QLatin1Char('|')))
                return fail(lineNo, QStringLiteral("书名只能是文件名"));
            a.book = value;
        } else if (key == QLatin1String("title") || key == QLatin1String("en")) {
            if ((key == QLatin1String("title")) != a.sentences.isEmpty())
                return fail(lineNo, QStringLiteral("文章必须以一个 title: 开始，之后每句用 en:"));
            const MarkedText marked = StripKeyWordMarks(value);
            if (!marked.error.isEmpty())
                return fail(lineNo, marked.error);
            a.sentences.append({value, {}, {}, lineNo});
        } else if (key == QLatin1String("zh") || key == QLatin1String("note")) {
            if (a.sentences.isEmpty())
                return fail(lineNo, QStringLiteral("“%1:”之前没有句子").arg(key));
            QString &target = key == QLatin1String("zh") ? a.sentences.last().chinese : a.sentences.last().note;
            if (!target.isEmpty())
                return fail(lineNo, QStringLiteral("这一句已经有“%1:”了").arg(key));
            target = value;
        } else {
            return fail(lineNo, QStringLiteral("不认识的名称“%1”").arg(key));
        }
    }
    if (a.category.isEmpty() || a.book.isEmpty())
        return fail(0, QStringLiteral("缺少 category: 或 book:"));
    if (a.sentences.size() < 2)
        return fail(0, QStringLiteral("文章至少要有标题和一句正文"));
    return a;
}

ArticleSource ArticleSource::read(const QString &path)
{
    const TextFileContent content = ReadTextFile(path);
    if (!QFileInfo(path).isFile() || !content.ok) {
        ArticleSource a;
        a.error = {path, 0, QStringLiteral("无法读取文章源文件")};
        return a;
    }
    return parse(content.lines, path);
}

} // namespace mvx
