#include "libs/echomax/QuizSource.h"

#include "core/KeyValueLine.h"
#include "core/TextCodec.h"

#include <QFileInfo>
#include <QSet>

namespace mvx {

namespace {

// Checks a finished question; the error points at its "[question]" line.
InputError checkQuestion(const QuizQuestion &q, bool typed, const QString &file)
{
    if (!typed)
        return {file, q.line, QStringLiteral("题目缺少 type:（truefalse 或 choice）")};
    if (q.text.isEmpty())
        return {file, q.line, QStringLiteral("题目缺少 text:")};
    if (q.answer.isNull())
        return {file, q.line, QStringLiteral("题目缺少 answer:")};
    if (q.kind == QuizQuestion::Kind::TrueFalse) {
        if (!q.choices.isEmpty())
            return {file, q.line, QStringLiteral("判断题不能有选项")};
        if (q.answer != QLatin1Char('T') && q.answer != QLatin1Char('F'))
            return {file, q.line, QStringLiteral("判断题的答案必须是 T 或 F")};
    } else {
        if (q.choices.size() < QuizSource::MinChoices)
            return {file, q.line, QStringLiteral("选择题至少要有 A、B 两个选项")};
        const int index = q.answer.unicode() - 'A';
        if (index < 0 || index >= q.choices.size())
            return {file, q.line, QStringLiteral("答案 %1 不是这道题的选项").arg(q.answer)};
    }
    return {};
}

} // namespace

QuizSource QuizSource::parse(const QStringList &lines, const QString &fileName)
{
    QuizSource quiz;
    auto fail = [&](int line, const QString &message) {
        quiz.questions.clear();
        quiz.error = {fileName, line, message};
        return quiz;
    };
    bool inQuestion = false;
    bool typed = false;
    QSet<QString> keysSeen; // of the current question, or of the lines before the first one
    for (int i = 0; i < lines.size(); ++i) {
        const KeyValueLine line = KeyValueLine::read(lines[i], i == 0);
        const int lineNo = i + 1;
        if (line.kind == KeyValueLine::Kind::Skip)
            continue;
        if (line.text.compare(QLatin1String("[question]"), Qt::CaseInsensitive) == 0) {
            if (inQuestion)
                if (InputError e = checkQuestion(quiz.questions.last(), typed, fileName); e.isError())
                    return fail(e.line, e.message);
            if (quiz.questions.size() == MaxQuestions)
                return fail(lineNo, QStringLiteral("最多 %1 道题").arg(MaxQuestions));
            quiz.questions.append(QuizQuestion{});
            quiz.questions.last().line = lineNo;
            inQuestion = true;
            typed = false;
            keysSeen.clear();
            continue;
        }
        if (line.kind == KeyValueLine::Kind::NoName)
            return fail(lineNo, QStringLiteral("应为“名称: 内容”或 [question]"));
        const QString &key = line.key;
        const QString &value = line.value;
        if (line.kind == KeyValueLine::Kind::NoValue)
            return fail(lineNo, QStringLiteral("“%1:”后面没有内容").arg(key));
        if (keysSeen.contains(key))
            return fail(lineNo, QStringLiteral("“%1:”出现了两次").arg(key));
        keysSeen.insert(key);
        if (!inQuestion) {
            if (key != QLatin1String("title"))
                return fail(lineNo, QStringLiteral("第一道题之前只能有 title:"));
            quiz.title = value;
            continue;
        }
        QuizQuestion &q = quiz.questions.last();
        if (key == QLatin1String("type")) {
            if (value == QLatin1String("truefalse"))
                q.kind = QuizQuestion::Kind::TrueFalse;
            else if (value == QLatin1String("choice"))
                q.kind = QuizQuestion::Kind::Choice;
            else
                return fail(lineNo, QStringLiteral("题型只能是 truefalse 或 choice"));
            typed = true;
        } else if (key == QLatin1String("text")) {
            q.text = value;
        } else if (key == QLatin1String("zh")) {
            q.chinese = value;
        } else if (key == QLatin1String("answer")) {
            if (value.size() != 1)
                return fail(lineNo, QStringLiteral("答案只能是一个字母"));
            q.answer = value.at(0).toUpper();
        } else if (key.size() == 1 && key.at(0) >= QLatin1Char('a') && key.at(0) <= QLatin1Char('z')) {
            const int index = key.at(0).unicode() - 'a';
            if (index != q.choices.size() || index >= MaxChoices)
                return fail(lineNo, QStringLiteral("选项必须按 A、B、C、D 的顺序排列，最多 %1 个").arg(MaxChoices));
            q.choices.append(value);
        } else {
            return fail(lineNo, QStringLiteral("不认识的名称“%1”").arg(key));
        }
    }
    if (!inQuestion)
        return fail(0, QStringLiteral("测验文件里没有题目"));
    if (InputError e = checkQuestion(quiz.questions.last(), typed, fileName); e.isError())
        return fail(e.line, e.message);
    return quiz;
}

QuizSource QuizSource::read(const QString &path)
{
    QuizSource quiz;
    const QFileInfo info(path);
    if (!info.exists()) {
        quiz.error = {path, 0, QStringLiteral("找不到测验文件")};
        return quiz;
    }
    if (!info.isFile()) {
        quiz.error = {path, 0, QStringLiteral("无法读取测验文件")};
        return quiz;
    }
    if (info.size() > MaxFileBytes) {
        quiz.error = {path, 0, QStringLiteral("测验文件太大（超过 %1 KB）").arg(MaxFileBytes / 1024)};
        return quiz;
    }
    const TextFileContent content = ReadTextFile(path);
    if (!content.ok) {
        quiz.error = {path, 0, QStringLiteral("无法读取测验文件")};
        return quiz;
    }
    return parse(content.lines, path);
}

QString QuizSource::answerKey() const
{
    QString key;
    for (const QuizQuestion &q : questions)
        key.append(q.answer);
    return key;
}

} // namespace mvx
