#pragma once
// The windows start-up shows in the main program: the notices, the browser notice, the
// word-sound copy window and the library window (which, with its player, lives until the
// program ends). Tests drive the start-up steps through it.
#include "SoundNotice.h"
#include "core/StartUp.h"

#include <memory>

namespace mvx {

class ArticleForm;

class ShellWindows final : public StartUpWindows
{
public:
    ShellWindows();
    ~ShellWindows() override;
    bool askYesNo(const QString &text) override;
    void showMessage(const QString &text) override;
    // The browser notice, modal; start-up ends the program after it.
    void showBrowserNotice() override;
    // The maker's new notices (CheckNewMessages), modal.
    void checkNewMessages() override;
    void showCopyWordSndForm() override;
    void showArticleForm() override;

private:
    SoundNotice m_soundNotice;
    std::unique_ptr<ArticleForm> m_library;
};

} // namespace mvx
