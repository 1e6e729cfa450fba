#include "CardsArguments.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace mvx::excerpt {

namespace {

bool ToNumber(const QString &text, int *value)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (!digits.match(text).hasMatch())
        return false;
    *value = text.toInt();
    return true;
}

} // namespace

bool CardsArguments::CanWriteIn(const QString &dir)
{
    QFileInfo fi(QDir::cleanPath(QDir::current().absoluteFilePath(dir)));
    if (fi.exists())
        return fi.isDir() && fi.isWritable();
    // The nearest folder that exists must take the new ones.
    QString parent = fi.absolutePath();
    while (!QFileInfo::exists(parent) && QFileInfo(parent).absolutePath() != parent)
        parent = QFileInfo(parent).absolutePath();
    const QFileInfo p(parent);
    return p.isDir() && p.isWritable();
}

CardsArguments CardsArguments::Parse(const QStringList &args)
{
    CardsArguments a;
    QString lessonText, sentences, padText;
    bool marked = false, sentencesGiven = false, lessonGiven = false, padGiven = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &opt = args[i];
        if (opt == QLatin1String("--marked")) {
            marked = true;
            continue;
        }
        QString *target = opt == QLatin1String("--book")        ? &a.book
                          : opt == QLatin1String("--lesson")    ? &lessonText
                          : opt == QLatin1String("--sentences") ? &sentences
                          : opt == QLatin1String("--out")       ? &a.out
                          : opt == QLatin1String("--pad")       ? &padText
                                                                : nullptr;
        if (!target) {
            a.error = QStringLiteral("%1：未知的选项").arg(opt);
            return a;
        }
        if (i + 1 >= args.size()) {
            a.error = QStringLiteral("%1：后面缺少值").arg(opt);
            return a;
        }
        *target = args[++i];
        sentencesGiven = sentencesGiven || target == &sentences;
        lessonGiven = lessonGiven || target == &lessonText;
        padGiven = padGiven || target == &padText;
    }
    if (a.book.isEmpty()) {
        a.error = QStringLiteral("--book：缺少句子书");
        return a;
    }
    if (!lessonGiven) {
        a.error = QStringLiteral("--lesson：缺少课号");
        return a;
    }
    if (a.out.isEmpty()) {
        a.error = QStringLiteral("--out：缺少输出文件夹");
        return a;
    }
    if (marked == sentencesGiven) {
        a.error = QStringLiteral("--sentences / --marked：两者要给一个，也只能给一个");
        return a;
    }
    if (!ToNumber(lessonText, &a.lesson)) {
        a.error = QStringLiteral("--lesson %1：课号要是 0 或正整数").arg(lessonText);
        return a;
    }
    a.selection.marked = marked;
    if (sentencesGiven) {
        const QStringList parts = sentences.split(u'-');
        const bool ok = (parts.size() == 1 || parts.size() == 2) && ToNumber(parts.first(), &a.selection.first)
                        && ToNumber(parts.last(), &a.selection.last);
        if (!ok) {
            a.error = QStringLiteral("--sentences %1：要写成 3-5 或 4").arg(sentences);
            return a;
        }
        if (a.selection.first > a.selection.last) {
            a.error = QStringLiteral("--sentences %1：范围反了").arg(sentences);
            return a;
        }
    }
    if (padGiven && (!ToNumber(padText, &a.padMs) || a.padMs > 1000)) {
        a.error = QStringLiteral("--pad %1：要在 0 到 1000 毫秒之间").arg(padText);
        return a;
    }
    if (!CanWriteIn(a.out)) {
        a.error = QStringLiteral("--out %1：无法写入这个文件夹").arg(a.out);
        return a;
    }
    return a;
}

} // namespace mvx::excerpt
