#include "SubtitleParser.h"

#include <QHash>
#include <QRegularExpression>

namespace mvx {

namespace {

QString SubtitleTimeText(qint64 ms)
{
    return QStringLiteral("%1:%2:%3,%4")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

QString decodeEntities(const QString &text)
{
    static const QRegularExpression entity(QStringLiteral(R"(&(#[xX][0-9A-Fa-f]{1,6}|#\d{1,7}|[A-Za-z]{2,8});)"));
    static const QHash<QString, QString> named = {
        {QStringLiteral("amp"), QStringLiteral("&")},     {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},      {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},    {QStringLiteral("nbsp"), QStringLiteral(" ")},
        {QStringLiteral("lrm"), QString()},               {QStringLiteral("rlm"), QString()},
        {QStringLiteral("hellip"), QStringLiteral("…")},  {QStringLiteral("mdash"), QStringLiteral("—")},
        {QStringLiteral("ndash"), QStringLiteral("–")},   {QStringLiteral("lsquo"), QStringLiteral("‘")},
        {QStringLiteral("rsquo"), QStringLiteral("’")},   {QStringLiteral("ldquo"), QStringLiteral("“")},
        {QStringLiteral("rdquo"), QStringLiteral("”")},
    };
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString out;
    qsizetype from = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QString body = m.captured(1);
        QString replacement = m.captured(0);
        if (body.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const uint code = body.startsWith(QLatin1String("#x"), Qt::CaseInsensitive) ? body.mid(2).toUInt(&ok, 16)
                                                                                         : body.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
                const char32_t c = char32_t(code);
                replacement = QString::fromUcs4(&c, 1);
            }
        } else if (const auto n = named.constFind(body); n != named.constEnd()) {
            replacement = *n;
        }
        out += QStringView(text).mid(from, m.capturedStart() - from);
        out += replacement;
        from = m.capturedEnd();
    }
    out += QStringView(text).mid(from);
    return out;
}

bool isCjk(char32_t c)
{
    switch (QChar::script(c)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Hangul:
    case QChar::Script_Bopomofo:
        return true;
    default:
        return false;
    }
}

// A block starts with this word alone or followed by a blank ("NOTE this is a note").
bool startsWithWord(const QString &line, const QString &word)
{
    return line == word || line.startsWith(word + QLatin1Char(' ')) || line.startsWith(word + QLatin1Char('\t'));
}

} // namespace

qint64 SubtitleParser::parseTime(const QString &text)
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*(?:(\d{1,3}):)?(\d{1,2}):(\d{1,2})(?:[,.](\d{1,3}))?\s*$)"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return -1;
    const qint64 hours = m.captured(1).toLongLong();
    const qint64 minutes = m.captured(2).toLongLong();
    const qint64 seconds = m.captured(3).toLongLong();
    if (seconds >= 60 || (m.hasCaptured(1) && minutes >= 60))
        return -1;
    const qint64 fraction = m.captured(4).leftJustified(3, QLatin1Char('0')).toLongLong();
    return ((hours * 60 + minutes) * 60 + seconds) * 1000 + fraction;
}

QString SubtitleParser::cleanLine(const QString &line)
{
    // {\an8}, {\i1} and other overrides of the ASS kind.
    static const QRegularExpression overrides(QStringLiteral(R"(\{\\[^{}]*\})"));
    // <i>, </b>, <font color="red">, <v Name>, <c.yellow>, <00:00:01.500> and the like.
    static const QRegularExpression tags(QStringLiteral(R"(<\s*/?\s*(?:[A-Za-z][^<>]*|\d[\d:.,]*)>)"));
    QString t = line;
    t.replace(overrides, QString());
    t.replace(tags, QString());
    return decodeEntities(t).simplified();
}

bool SubtitleParser::isMostlyCjk(const QString &text)
{
    int cjk = 0;
    int latin = 0;
    for (const char32_t c : text.toUcs4()) {
        if (isCjk(c))
            ++cjk;
        else if (QChar::script(c) == QChar::Script_Latin && QChar::isLetter(c))
            ++latin;
    }
    // A Chinese character carries about as much as an English word of several letters.
    return cjk > 0 && cjk * 2 >= latin;
}

bool SubtitleParser::hasWords(const QString &text)
{
    static const QRegularExpression labels(
        QStringLiteral(R"(\[[^\]]*\]|\([^)]*\)|（[^）]*）|【[^】]*】|♪[^♪]*♪|[♪♫♬])"));
    QString t = text;
    t.replace(labels, QStringLiteral(" "));
    for (const char32_t c : t.toUcs4())
        if (QChar::isLetter(c))
            return true;
    return false;
}

SubtitleResult SubtitleParser::parse(const QStringList &lines, const QString &fileName)
{
    SubtitleResult result;
    auto fail = [&](int line, const QString &message) {
        result.cues.clear();
        result.error = {fileName, line, message};
        return result;
    };
    auto lineAt = [&](int i) {
        QString l = lines[i].trimmed();
        if (i == 0 && l.startsWith(QChar(0xFEFF)))
            l.remove(0, 1);
        return l;
    };
    const int count = int(lines.size());
    int i = 0;
    while (i < count && lineAt(i).isEmpty())
        ++i;
    result.webVtt = i < count && startsWithWord(lineAt(i), QStringLiteral("WEBVTT"));
    if (result.webVtt)
        while (i < count && !lineAt(i).isEmpty()) // the header block
            ++i;

    for (;;) {
        while (i < count && lineAt(i).isEmpty())
            ++i;
        if (i >= count)
            break;
        const int blockStart = i;
        QStringList block;
        while (i < count && !lineAt(i).isEmpty())
            block << lineAt(i++);
        if (result.webVtt && (startsWithWord(block.first(), QStringLiteral("NOTE"))
                              || startsWithWord(block.first(), QStringLiteral("STYLE"))
                              || startsWithWord(block.first(), QStringLiteral("REGION"))))
            continue;
        // The time line comes first, or after the cue's number or identifier.
        int timeAt = block.first().contains(QLatin1String("-->")) ? 0 : 1;
        if (timeAt >= block.size() || !block[timeAt].contains(QLatin1String("-->")))
            return fail(blockStart + 1, QStringLiteral("这段字幕没有时间行（应为 00:00:01,000 --> 00:00:03,500）"));
        const int lineNo = blockStart + timeAt + 1;
        const QString timeLine = block[timeAt];
        const qsizetype arrow = timeLine.indexOf(QLatin1String("-->"));
        const QStringList after = timeLine.mid(arrow + 3).simplified().split(QLatin1Char(' '));
        const qint64 start = parseTime(timeLine.left(arrow));
        const qint64 end = parseTime(after.value(0)); // cue settings follow the end time
        if (start < 0 || end < 0)
            return fail(lineNo, QStringLiteral("时间行无法识别：%1").arg(timeLine));
        if (end <= start)
            return fail(lineNo, QStringLiteral("结束时间 %1 不晚于开始时间 %2").arg(SubtitleTimeText(end), SubtitleTimeText(start)));

        QStringList english;
        QStringList chinese;
        for (int k = timeAt + 1; k < block.size(); ++k) {
            const QString text = cleanLine(block[k]);
            if (!text.isEmpty())
                (isMostlyCjk(text) ? chinese : english) << text;
        }
        SubtitleCue cue{start, end, english.join(QLatin1Char(' ')), chinese.join(QLatin1Char(' ')), lineNo};
        if (!hasWords(cue.english + QLatin1Char(' ') + cue.chinese)) {
            ++result.skipped;
            continue;
        }
        if (!result.cues.isEmpty()) {
            SubtitleCue &before = result.cues.last();
            if (start <= before.startMs)
                return fail(lineNo, QStringLiteral("开始时间 %1 不晚于上一条字幕的 %2：字幕必须按时间先后排列")
                                        .arg(SubtitleTimeText(start), SubtitleTimeText(before.startMs)));
            if (before.endMs - start > MaxOverlapMs)
                return fail(lineNo, QStringLiteral("与上一条字幕重叠了 %1 毫秒（最多允许 %2 毫秒）")
                                        .arg(before.endMs - start)
                                        .arg(MaxOverlapMs));
            before.endMs = qMin(before.endMs, start);
        }
        result.cues.append(cue);
    }
    if (result.cues.isEmpty())
        return fail(0, result.skipped > 0
                           ? QStringLiteral("没有可用的字幕：%1 条字幕都只有声音标记或没有文字").arg(result.skipped)
                           : QStringLiteral("没有可用的字幕"));
    return result;
}

} // namespace mvx
