#pragma once
// The notice window ("最新消息"): pages through the new notices of the messages file named
// by the notice service, each with its optional web link, and on closing tells the service
// which notice was on display. CheckNewMessages (Notices.h) opens it.
#include "dialogs/NoticePager.h"
#include "ui/SkinnedWindow.h"

class QLabel;

namespace mvx {

class AdvForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    // file and newCount: the messages file and the number of new notices the service reported.
    AdvForm(const QString &file, int newCount, QWidget *parent = nullptr);

    [[nodiscard]] bool NoticeLoaded() const { return m_loaded; }
    [[nodiscard]] const NoticePager &Notices() const { return m_pager; }
    [[nodiscard]] QLabel *Heading() const { return m_heading; }
    [[nodiscard]] QLabel *TipText() const { return m_text; }
    [[nodiscard]] QLabel *ToLink() const { return m_toLink; }
    [[nodiscard]] QLabel *LinkLabel() const { return m_link; }
    // Whether the link on display may be opened (http and https only).
    [[nodiscard]] bool LinkOpens() const;
    void DisplayCurrentTip();

    Q_INVOKABLE void btPrevTip_Click();
    Q_INVOKABLE void btNextTip_Click();
    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btWinClose_click();
    Q_INVOKABLE void lbLink_Click();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    QString m_file;
    int m_newCount;
    bool m_loaded = false;
    NoticePager m_pager;
    QLabel *m_heading = nullptr;
    QLabel *m_text = nullptr;
    QLabel *m_toLink = nullptr;
    QLabel *m_link = nullptr;
};

} // namespace mvx
