#include "ArticleLibrary.h"

#include "core/AppState.h"
#include "core/Helpers.h"
#include "core/UserSettings.h"
#include "core/WorkingFiles.h"
#include "libs/sentra/SentraFacade.h"

#include <QFile>

namespace mvx {

QString ArticleLibrary::load(const QString &indexFileName)
{
    m_tree = ArticleIndex::buildFromFile(indexFileName);
    m_selected = -1;
    const QString last = GetUserSetting(QString::fromLatin1(Key::LastArticle), QString());
    if (last.isEmpty())
        selectKey(QStringLiteral("ROOT0001-0001"));
    else
        selectKey(last);
    return m_tree.message;
}

QString ArticleLibrary::selectedKey() const
{
    return m_selected >= 0 ? m_tree.nodes[m_selected].key : QString();
}

QString ArticleLibrary::selectedLabel() const
{
    return m_selected >= 0 ? m_tree.nodes[m_selected].label : QString();
}

void ArticleLibrary::select(int nodeIndex)
{
    m_selected = nodeIndex >= 0 && nodeIndex < m_tree.nodes.size() ? nodeIndex : -1;
}

bool ArticleLibrary::selectKey(const QString &key)
{
    const int index = m_tree.indexOfKey(key);
    if (index >= 0)
        m_selected = index;
    return index >= 0;
}

bool ArticleLibrary::ArticleSelected() const
{
    return m_selected >= 0 && m_tree.nodes[m_selected].isArticle();
}

std::optional<ArticleInfo> ArticleLibrary::GetSelectedItemInfo()
{
    if (m_selected < 0)
        return std::nullopt;
    saveLastArticle();
    return ArticleIndex::parseArticleKey(selectedKey());
}

bool ArticleLibrary::prepareLearning(QString *message)
{
    if (!ArticleSelected()) {
        if (message)
            *message = QStringLiteral("您还没有选择文章。");
        return false;
    }
    App().curArticleTitle = selectedLabel();
    return true;
}

void ArticleLibrary::LearnArticle(const QString &step, LearningRoutes &routes)
{
    const auto info = GetSelectedItemInfo();
    if (!info)
        return;
    const QString file = info->fileName();
    if (step == QLatin1String(DetailListen)) {
        routes.hideLibrary();
        QFile::remove(WorkingFiles::TmpDigest);
        routes.openPlayer(file, info->lessonNo);
    } else if (step == QLatin1String(FirstTest)) {
        routes.hideLibrary();
        routes.openQuiz(file, info->lessonNo, quizFileFor(info->bookFile), selectedLabel());
    } else if (step == QLatin1String(LastTest)) {
        // The test covers the lesson's sentences after its title line (when it has one).
        int first = 0;
        int count = 0;
        int hasTitle = 0;
        const int book = bcSentraBook_Open(file, QStringLiteral("rb"));
        const bool read = book >= 0 && bcSentraBook_GetLessonInfo(book, info->lessonNo, &first, &count, 0, &hasTitle) == 0;
        if (book >= 0)
            bcSentraBook_Close(book);
        if (!read) {
            routes.tellLearner(QStringLiteral("无法读取这篇文章的句子库文件：%1").arg(file));
            return;
        }
        const int skip = hasTitle ? 1 : 0;
        routes.hideLibrary();
        routes.runSpellTest(file, first + skip, count - skip);
        routes.showLibrary();
    }
}

void ArticleLibrary::saveLastArticle()
{
    SaveUserSetting(QString::fromLatin1(Key::LastArticle), selectedKey());
}

QString ArticleLibrary::quizFileFor(const QString &bookFile)
{
    return QStringLiteral("quiz/") + StripExtension(FileNamePart(bookFile)) + QStringLiteral(".txt");
}

} // namespace mvx
