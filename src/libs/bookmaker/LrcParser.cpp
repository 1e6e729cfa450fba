#include "LrcParser.h"

#include <QRegularExpression>
#include <algorithm>

namespace mvx {

namespace {

QString LrcTimeText(qint64 ms)
{
    return QStringLiteral("%1:%2.%3")
        .arg(ms / 60000, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000 / 10, 2, 10, QLatin1Char('0'));
}

// One time tag of one line, before the lines are put in time order.
struct TimedText
{
    qint64 time = 0;
    QString text;
    int line = 0;
    bool oneTag = true; // the line had a single time tag
};

} // namespace

qint64 LrcParser::parseTime(const QString &tagBody)
{
    // mm:ss, mm:ss.f, mm:ss.ff, mm:ss.fff, and the mm:ss:ff some editors write.
    static const QRegularExpression re(QStringLiteral(R"(^\s*(\d{1,3}):(\d{1,2})(?:([.:])(\d{1,3}))?\s*$)"));
    const auto m = re.match(tagBody);
    if (!m.hasMatch())
        return -1;
    const qint64 minutes = m.captured(1).toLongLong();
    const qint64 seconds = m.captured(2).toLongLong();
    if (seconds >= 60)
        return -1;
    qint64 fraction = 0;
    const QString f = m.captured(4);
    if (m.captured(3) == QLatin1String(":")) {
        // After a colon the digits are hundredths, however many are written.
        if (f.size() > 2)
            return -1;
        fraction = f.toLongLong() * 10;
    } else if (!f.isEmpty()) {
        fraction = f.leftJustified(3, QLatin1Char('0')).toLongLong();
    }
    return (minutes * 60 + seconds) * 1000 + fraction;
}

QString LrcParser::stripWordTimes(const QString &text)
{
    static const QRegularExpression wordTime(QStringLiteral(R"(<\s*\d{1,3}:\d{1,2}(?:[.:]\d{1,3})?\s*>)"));
    QString t = text;
    t.remove(wordTime);
    return t.simplified();
}

LrcResult LrcParser::parse(const QStringList &lines, const QString &fileName)
{
    static const QRegularExpression tagRe(QStringLiteral(R"(^\[([^\]]*)\])"));
    static const QRegularExpression offsetRe(QStringLiteral(R"(^\s*offset\s*:\s*([+-]?\d+)\s*$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    LrcResult result;
    auto fail = [&](int line, const QString &message) {
        result.sentences.clear();
        result.error = {fileName, line, message};
        return result;
    };

    qint64 offset = 0;
    QList<TimedText> timed;
    qint64 lastOneTag = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        QString rest = lines[i].trimmed();
        if (i == 0 && rest.startsWith(QChar(0xFEFF)))
            rest.remove(0, 1);
        if (rest.isEmpty())
            continue;
        QList<qint64> times;
        bool tagOnly = false;
        for (auto m = tagRe.match(rest); m.hasMatch(); m = tagRe.match(rest)) {
            const QString body = m.captured(1);
            const qint64 t = parseTime(body);
            if (t >= 0) {
                times.append(t);
            } else if (!times.isEmpty()) {
                return fail(lineNo, QStringLiteral("时间标签 [%1] 无法识别").arg(body));
            } else {
                tagOnly = true;
                const auto om = offsetRe.match(body);
                if (om.hasMatch())
                    offset = om.captured(1).toLongLong();
            }
            rest = rest.mid(m.capturedLength()).trimmed();
        }
        if (times.isEmpty()) {
            if (tagOnly && rest.isEmpty())
                continue; // [ti:...], [length:...] and the like
            return fail(lineNo, QStringLiteral("这一行没有时间标签（应为 [分:秒.百分秒]文字）"));
        }
        const QString text = stripWordTimes(rest);
        if (times.size() == 1) {
            if (times.first() < lastOneTag)
                return fail(lineNo, QStringLiteral("时间 %1 早于上一行的 %2：时间必须逐行递增")
                                        .arg(LrcTimeText(times.first()), LrcTimeText(lastOneTag)));
            lastOneTag = times.first();
        }
        for (const qint64 t : times)
            timed.append({t, text, lineNo, times.size() == 1});
    }
    // Lines that repeat at several times take their places among the others.
    std::stable_sort(timed.begin(), timed.end(), [](const TimedText &a, const TimedText &b) { return a.time < b.time; });

    qint64 lastTime = -1;
    bool lastWasEnd = false; // the previous timed line had no text
    for (const TimedText &e : timed) {
        // A positive offset makes every line come earlier, as LRC players do.
        const qint64 t = qMax<qint64>(0, e.time - offset);
        if (t == lastTime && !e.text.isEmpty() && !lastWasEnd && !result.sentences.isEmpty()) {
            LrcSentence &s = result.sentences.last();
            if (!s.chinese.isEmpty())
                return fail(e.line, QStringLiteral("时间 %1 已有英文和中文两行，多出一行").arg(LrcTimeText(t)));
            s.chinese = e.text;
            continue;
        }
        if (t <= lastTime)
            return fail(e.line, QStringLiteral("时间 %1 不晚于上一行的 %2：时间必须逐行递增")
                                    .arg(LrcTimeText(t), LrcTimeText(lastTime)));
        if (e.text.isEmpty()) {
            if (!result.sentences.isEmpty() && !lastWasEnd) {
                result.sentences.last().endMs = t;
                result.sentences.last().endLine = e.line;
            }
            lastWasEnd = true;
        } else {
            result.sentences.append({t, -1, e.text, {}, e.line, 0});
            lastWasEnd = false;
        }
        lastTime = t;
    }
    if (result.sentences.isEmpty())
        return fail(0, QStringLiteral("没有找到带时间的句子"));
    return result;
}

} // namespace mvx
