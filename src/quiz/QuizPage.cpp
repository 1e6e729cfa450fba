#include "quiz/QuizPage.h"

#include "core/WorkingFiles.h"
#include "libs/echomax/EchoMaxLib.h"
#include "player/pages/PageHost.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace mvx {

QuizPage::QuizPage(pages::PageHost &host, QString home) : m_host(host), m_home(std::move(home)) {}

QString QuizPage::PageFile() const
{
    return m_home + QLatin1Char('/') + WorkingFiles::TmpQuiz;
}

QString QuizPage::LoadQuiz(const QString &sourceFile, const QString &title)
{
    m_key.clear();
    m_loaded = false;
    m_hooked = 0;
    const QString page = PageFile();
    QFile::remove(page);
    QDir().mkpath(QFileInfo(page).absolutePath());
    const QString source = QDir(m_home).filePath(QString(sourceFile).replace(QLatin1Char('\\'), QLatin1Char('/')));
    if (!QFileInfo::exists(source))
        return QStringLiteral("这篇文章没有测验题。");
    InputError error;
    const QString key = vcGenQuiz(source, page, title, &error);
    if (key.isEmpty())
        return QStringLiteral("测验文件有错误：") + error.toString();
    QString loadError;
    if (!m_host.loadAndWait(page, LoadTimeoutMs, &loadError))
        return QStringLiteral("测验页面没有打开：") + loadError;
    m_key = key;
    m_loaded = true;
    const QString hook = QStringLiteral("__mvxAgent.hookInputs('', '%1', ['Submit1', 'Submit2'])").arg(QLatin1String(SinkName));
    m_hooked = m_host.runAndWait(hook, QueryTimeoutMs).toInt();
    return {};
}

QStringList QuizPage::Answers(int n) const
{
    QStringList answers;
    if (m_loaded) {
        const QVariant got = m_host.runAndWait(QStringLiteral("__mvxAgent.radioAnswers('', %1)").arg(n), QueryTimeoutMs);
        answers = got.toStringList();
    }
    while (answers.size() < n)
        answers << QStringLiteral("NoAnswer");
    return answers.mid(0, n);
}

} // namespace mvx
