#include "EchoMaxLib.h"

#include "QuizPage.h"
#include "QuizSource.h"
#include "WaveSegment.h"
#include "comm/DigestCache.h"

#include <QSaveFile>

namespace mvx {

void vcEchomaxproNop()
{
}

int vcExtractWaveSeg(const QString &sourceWave, const QString &targetWave, int startMs, int endMs, int *workBuffer,
                     int workLength)
{
    Q_UNUSED(workBuffer);
    Q_UNUSED(workLength);
    return WaveSegment::Extract(sourceWave, targetWave, startMs, endMs) ? 1 : 0;
}

void vcSetVisualWaveDataMan(int on)
{
    SetKeepLastDigest(on != 0);
}

void vcCloseDigestFile()
{
    DropLastDigest();
}

QString vcGenQuiz(const QString &source, const QString &pageFile, const QString &title, InputError *error)
{
    auto fail = [error](const InputError &e) {
        if (error)
            *error = e;
        return QString();
    };
    const QuizSource quiz = QuizSource::read(QString(source).replace(QLatin1Char('\\'), QLatin1Char('/')));
    if (quiz.error.isError())
        return fail(quiz.error);
    const QString pagePath = QString(pageFile).replace(QLatin1Char('\\'), QLatin1Char('/'));
    QSaveFile page(pagePath);
    if (!page.open(QIODevice::WriteOnly) || page.write(RenderQuizPage(quiz, title).toUtf8()) < 0 || !page.commit())
        return fail({pagePath, 0, QStringLiteral("无法写入测验页面：%1").arg(page.errorString())});
    if (error)
        *error = {};
    return quiz.answerKey();
}

} // namespace mvx
