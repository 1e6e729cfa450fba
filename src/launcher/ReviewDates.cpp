#include "launcher/ReviewDates.h"

#include "core/TextCodec.h"

#include <QDir>
#include <QFileInfo>

namespace mvx::spirit {

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int TodaySerial(const QDate &today)
{
    static constexpr int kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    int days = 0;
    for (int y = 1900; y < today.year(); ++y)
        days += IsLeapYear(y) ? 366 : 365;
    days += kDaysBefore[today.month() - 1] + today.day() - 1;
    if (today.month() > 2 && IsLeapYear(today.year()))
        ++days;
    return days;
}

namespace {

// The digits of text[from, from + count) as a number, or -1 when any is not a digit.
int Digits(const QString &text, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const QChar c = text.at(i);
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// Trailing tabs, line feeds, carriage returns and spaces cut, as the line reader does.
QString CutTrailingBlanks(QString line)
{
    while (!line.isEmpty() && (line.back() == u' ' || line.back() == u'\t' || line.back() == u'\r' || line.back() == u'\n'))
        line.chop(1);
    return line;
}

} // namespace

bool IsReviewDue(const ReviewLearner &learner, const QDate &today, int hour)
{
    if (learner.name.isEmpty() || learner.defaultBook.isEmpty() || learner.installPath.isEmpty())
        return false;
    const int todaySerial = TodaySerial(today) + 2;
    const QDir folder(learner.installPath + learner.name + QStringLiteral(".ILE"));
    // "????????????" + book + "*.tes", with the book name taken literally.
    const int minLength = 12 + int(learner.defaultBook.size()) + 4;
    for (const QString &file : folder.entryList(QDir::Files)) {
        if (file.size() < minLength || !file.endsWith(QStringLiteral(".tes"), Qt::CaseInsensitive)
            || file.mid(12, learner.defaultBook.size()).compare(learner.defaultBook, Qt::CaseInsensitive) != 0)
            continue;
        const int day = Digits(file, 0, 8);
        const int fileHour = Digits(file, 8, 2);
        const int interval = Digits(file, int(file.size()) - 7, 3);
        if (day < 0 || fileHour < 0 || fileHour > 23 || interval < 0 || day > todaySerial)
            continue;
        const qint64 elapsed = qint64(todaySerial - day) * 24 + (hour - fileHour);
        if (elapsed > interval)
            return true;
    }
    return false;
}

int ReadReviewMark(const QString &markFile, const QDate &today)
{
    const TextFileContent content = ReadTextFile(markFile);
    if (!content.ok || content.lines.isEmpty())
        return -1;
    const QString line = CutTrailingBlanks(content.lines.first());
    bool ok = false;
    const int mark = line.toInt(&ok);
    if (!ok || mark < 0 || mark > TodaySerial(today) + 3)
        return -1;
    return mark;
}

bool WriteReviewMark(const QString &markFile, int serial)
{
    if (!QDir().mkpath(QFileInfo(markFile).path()))
        return false;
    return WriteTextFile(markFile, {QString::number(serial)});
}

} // namespace mvx::spirit
