#include "player/form/PlayerExcerpts.h"

#include "core/AppState.h"
#include "dialogs/ExportProgress.h"
#include "dialogs/SaveSegForm.h"
#include "libs/sentra/SentraBook.h"
#include "player/excerpt/ExcerptFiles.h"
#include "player/excerpt/Excerpts.h"
#include "player/excerpt/LessonExport.h"
#include "player/excerpt/SentenceCards.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>

namespace mvx {

namespace {

// The learner's answers to the excerpts' questions: the skinned message box and the hourglass.
class ExcerptAnswers final : public excerpt::ExcerptQuestions
{
public:
    bool Ask(const QString &text) override { return ShowMessageBox(text, 0) != 0; }
    void Tell(const QString &text) override { ShowMessageBox(text, 1); }
    void SetBusy(bool busy) override
    {
        if (busy)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    }
};

excerpt::ExcerptSpot SpotOf(const PlaybackController &c)
{
    excerpt::ExcerptSpot spot;
    spot.status = c.PlayStatus();
    spot.bookHandle = c.BookHandle();
    spot.noInAll = c.CurSentence() < 0 ? -1 : c.GetSentenceNoInAll(c.CurSentence());
    spot.repeatStartMs = c.RepeatStart();
    spot.repeatEndMs = c.RepeatEnd();
    return spot;
}

} // namespace

PlayerExcerpts::PlayerExcerpts(PlaybackController &controller, QWidget *callingForm, const QString &home)
    : m_controller(controller), m_form(callingForm), m_home(home)
{
}

PlayerExcerpts::~PlayerExcerpts() = default;

excerpt::Excerpts &PlayerExcerpts::Maker()
{
    if (!m_excerpts) {
        m_answers = std::make_unique<ExcerptAnswers>();
        m_files = std::make_unique<excerpt::ExcerptFiles>();
        m_excerpts = std::make_unique<excerpt::Excerpts>(m_home, *m_files, *m_answers);
    }
    return *m_excerpts;
}

void PlayerExcerpts::RunDigestDialog()
{
    PlaybackController &c = m_controller;
    if (c.BookHandle() == -1 || c.CurSentence() < 0)
        return;
    const QString name = excerpt::Excerpts::ProposedName(c.CurSentence(), c.HasTitleSentence() != 0, App().curArticleTitle);
    // Playing is paused around the dialog, and only a pause made here is undone.
    const bool pauseHere = c.PlayStatus() != Stopped && !c.Paused();
    if (pauseHere)
        c.btPause_Click();
    SaveSegForm dialog(m_form);
    dialog.Load();
    dialog.SetCallingForm(m_form);
    dialog.SetFileName(name);
    dialog.exec();
    dialog.RunChoice();
    if (pauseHere && c.Paused())
        c.btPause_Click();
}

void PlayerExcerpts::RunExportDialog()
{
    PlaybackController &c = m_controller;
    if (c.BookHandle() == -1 || c.SentenceCount() <= 0)
        return;
    const bool pauseHere = c.PlayStatus() >= Playing && !c.Paused();
    if (pauseHere)
        c.btPause_Click();
    const bool hasTitle = c.HasTitleSentence() != 0;
    const int lowest = excerpt::SentenceCards::CounterNumber(hasTitle ? 1 : 0, hasTitle);
    const int highest = excerpt::SentenceCards::CounterNumber(c.SentenceCount() - 1, hasTitle);
    const int current = excerpt::SentenceCards::CounterNumber(std::max(c.CurSentence(), hasTitle ? 1 : 0), hasTitle);
    ExportLessonForm dialog(m_form);
    dialog.Load();
    dialog.SetSentences(lowest, highest, std::clamp(current, lowest, highest));
    dialog.exec();
    if (dialog.Accepted())
        RunExport(dialog.Chosen());
    if (pauseHere && c.Paused())
        c.btPause_Click();
}

void PlayerExcerpts::RunExport(const ExportLessonForm::Choice &choice)
{
    const QString bookFile = m_controller.BookFile();
    const int lessonNo = m_controller.LessonNo();
    // The worker reads its own read-only copy of the book; the player keeps its own.
    auto book = std::make_shared<sentra::SentraBook>();
    if (!book->open(bookFile, false)) {
        ShowMessageBox(QStringLiteral("课文无法读出：%1").arg(book->lastError()), 1);
        return;
    }
    const QString folder = QDir::cleanPath(choice.folder);
    if (!choice.cards) {
        QString mp3;
        const ExportOutcome outcome = RunExportWithProgress(m_form, QStringLiteral("正在导出整课 MP3 和 LRC……"),
            [&](const std::atomic<bool> &cancel, const std::function<void(int, int)> &, QString *error) {
                excerpt::ExcerptFiles files;
                mp3 = excerpt::LessonExport::Export(*book, lessonNo, folder, files, error, &cancel);
                return mp3.isEmpty() ? -1 : 1;
            });
        if (outcome.cancelled)
            return;
        if (outcome.result < 0) {
            ShowMessageBox(QStringLiteral("课文没有导出：%1").arg(outcome.error), 1);
            return;
        }
        const QFileInfo fi(mp3);
        ShowMessageBox(QStringLiteral("已导出 %1 和 %2.lrc，在文件夹 %3 中。\n\n把两个文件一起拷到手机或播放器上，就能边听边看课文。")
                           .arg(fi.fileName(), fi.completeBaseName(), QDir::toNativeSeparators(fi.absolutePath())),
                       1);
        return;
    }
    QString error;
    const QList<int> sentences = excerpt::SentenceCards::Select(
        *book, lessonNo, {choice.marked, choice.first, choice.last}, &error);
    if (sentences.isEmpty()) {
        ShowMessageBox(error, 1);
        return;
    }
    const int padMs = choice.padMs;
    const ExportOutcome outcome = RunExportWithProgress(m_form, QStringLiteral("正在制作句子卡片……"),
        [&](const std::atomic<bool> &cancel, const std::function<void(int, int)> &progress, QString *err) {
            excerpt::ExcerptFiles files;
            return excerpt::SentenceCards::Export(*book, lessonNo, sentences, folder, padMs, files, cancel, progress, err);
        });
    if (outcome.cancelled)
        return;
    if (outcome.result < 0) {
        ShowMessageBox(QStringLiteral("句子卡片没有做成：%1").arg(outcome.error), 1);
        return;
    }
    ShowMessageBox(QStringLiteral("%1 张句子卡片已存到文件夹 %2：每句一个 MP3，和 %3。\n\n在 Anki 中使用："
                                  "先把这些 MP3 文件拷进 Anki 用户资料的 collection.media 文件夹（直接放入，不要子文件夹），"
                                  "再用“文件 → 导入”导入 %3。")
                       .arg(outcome.result)
                       .arg(QDir::toNativeSeparators(folder), excerpt::SentenceCards::CsvName(bookFile, lessonNo)),
                   1);
}

void PlayerExcerpts::DigestSeg(const QString &name)
{
    Maker().DigestSeg(name, SpotOf(m_controller));
}

void PlayerExcerpts::DigestToSentra()
{
    Maker().DigestToSentra(SpotOf(m_controller));
}

} // namespace mvx
