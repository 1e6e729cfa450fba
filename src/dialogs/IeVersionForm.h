#pragma once
// The notice shown at start when the HTML engine cannot start: a plain window with the
// platform's border, centred, whose link opens the installation help page in the desktop's
// browser. Start-up ends the program when it closes.
#include <QDialog>

class QLabel;
class QPushButton;

namespace mvx {

class IeVersionForm final : public QDialog
{
    Q_OBJECT

public:
    explicit IeVersionForm(QWidget *parent = nullptr);

    // The page lbIeLink opens: AppPath/help/htmlsrc/mvxbrx_engine.htm.
    [[nodiscard]] static QString HelpPage();
    [[nodiscard]] QLabel *Label1() const { return m_label1; }
    [[nodiscard]] QLabel *Label2() const { return m_label2; }
    [[nodiscard]] QLabel *IeLink() const { return m_link; }
    [[nodiscard]] QPushButton *OkButton() const { return m_ok; }

    void Form_Load();
    Q_INVOKABLE void btOk_Click();
    Q_INVOKABLE void lbIeLink_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_link = nullptr;
    QPushButton *m_ok = nullptr;
};

} // namespace mvx
