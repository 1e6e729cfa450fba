#include "quiz/QuizScores.h"

#include "core/AppState.h"
#include "core/UserSettings.h"

namespace mvx::QuizScores {

namespace {

const QString TimeFormat = QStringLiteral("yyyy-MM-dd HH:mm");

QString KeyOf(const QString &bookFile, int lessonNo)
{
    return bookFile + QLatin1Char('|') + QString::number(lessonNo);
}

} // namespace

void Save(const QString &bookFile, int lessonNo, const QString &scoreText, const QDateTime &when)
{
    SaveAppSetting(App().appName, QString::fromLatin1(Section), KeyOf(bookFile, lessonNo),
                   scoreText + QLatin1Char('\t') + when.toString(TimeFormat));
}

QString LastScoreText(const QString &bookFile, int lessonNo)
{
    const QString none = QStringLiteral("还没有做过这个测验");
    const QString stored = GetAppSetting(App().appName, QString::fromLatin1(Section), KeyOf(bookFile, lessonNo), {});
    const QStringList parts = stored.split(QLatin1Char('\t'));
    if (parts.size() != 2)
        return none;
    bool ok = false;
    const double score = parts[0].toDouble(&ok);
    const QDateTime when = QDateTime::fromString(parts[1], TimeFormat);
    if (!ok || score < 0 || score > 100 || !when.isValid())
        return none;
    return QStringLiteral("上次得分：%1（%2）").arg(RealToText(score), when.toString(TimeFormat));
}

} // namespace mvx::QuizScores
