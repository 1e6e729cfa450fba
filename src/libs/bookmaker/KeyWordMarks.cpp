#include "KeyWordMarks.h"

namespace mvx {

MarkedText StripKeyWordMarks(const QString &marked)
{
    MarkedText out;
    out.plain.reserve(marked.size());
    int open = -1;
    for (const QChar c : marked) {
        if (c != QLatin1Char('*')) {
            out.plain.append(c);
            continue;
        }
        if (open < 0) {
            open = int(out.plain.size());
            continue;
        }
        int s = open;
        int e = int(out.plain.size());
        while (s < e && out.plain[s].isSpace())
            ++s;
        while (e > s && out.plain[e - 1].isSpace())
            --e;
        if (s == e) {
            out.error = QStringLiteral("关键词标记 ** 之间没有单词");
            return out;
        }
        out.keyWords.append({s, e - s});
        open = -1;
    }
    if (open >= 0)
        out.error = QStringLiteral("关键词标记 * 没有配对（应写成 *单词*）");
    return out;
}

} // namespace mvx
