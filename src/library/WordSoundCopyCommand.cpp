#include "WordSoundCopyCommand.h"

#include "WordSoundCopy.h"
#include "WordSoundManager.h"
#include "core/AppState.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QProgressDialog>

namespace mvx {

namespace {

WordSoundFolderChooser &chooser()
{
    static WordSoundFolderChooser c;
    return c;
}

QString chooseFolder(QWidget *owner)
{
    if (chooser())
        return chooser()(owner);
    return QFileDialog::getExistingDirectory(owner, QStringLiteral("选择单词声音所在的文件夹（snd）"), QDir::homePath());
}

} // namespace

void SetWordSoundFolderChooser(WordSoundFolderChooser c)
{
    chooser() = std::move(c);
}

bool RunWordSoundCopy(QWidget *owner)
{
    QString source = WordSoundCopy::DiscLibraryFolder();
    if (source.isEmpty()) {
        // No volume carries the library: the learner may point at a copy elsewhere.
        const QString offer = WordSoundManager::NoDiscMessage()
            + QStringLiteral("\r\n\r\n如果单词声音在硬盘、U盘或别的文件夹里，请按“确定”选择那个 snd 文件夹。");
        if (ShowMessageBox(offer, 0) == 0)
            return false;
        const QString chosen = chooseFolder(owner);
        if (chosen.isEmpty())
            return false;
        source = WordSoundCopy::LibraryFolderIn(chosen);
        if (source.isEmpty()) {
            ShowMessageBox(WordSoundManager::NoLibraryInFolderMessage(chosen), 1);
            return false;
        }
    }

    WordSoundCopy copy(source, App().appPath + QStringLiteral("/snd"));
    QProgressDialog progress(QStringLiteral("正在拷贝单词声音……"), QStringLiteral("取消"), 0, 1000, owner);
    progress.setWindowTitle(App().dialogCaption);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    // Busy while the files are listed; the progress window takes over once copying starts.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool busy = true;
    const WordSoundCopy::Result result = copy.run([&](qint64 done, qint64 total) {
        if (busy) {
            QApplication::restoreOverrideCursor();
            busy = false;
        }
        progress.setValue(total > 0 ? int(done * 1000 / total) : 0);
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
    if (busy)
        QApplication::restoreOverrideCursor();
    progress.close();

    switch (result) {
    case WordSoundCopy::Result::Copied:
        WordSoundManager::libraryCopied();
        ShowMessageBox(WordSoundManager::CopiedMessage(), 1);
        return true;
    case WordSoundCopy::Result::Cancelled:
        ShowMessageBox(WordSoundManager::CopyAbortedMessage(), 1);
        return false;
    case WordSoundCopy::Result::NoSpace:
        ShowMessageBox(WordSoundManager::CopyAbortedMessage() + QStringLiteral("\r\n\r\n") + copy.errorText(), 1);
        return false;
    case WordSoundCopy::Result::Failed:
        break;
    }
    ShowMessageBox(WordSoundManager::CopyFailedMessage() + QStringLiteral("\r\n\r\n") + copy.errorText(), 1);
    return false;
}

} // namespace mvx
