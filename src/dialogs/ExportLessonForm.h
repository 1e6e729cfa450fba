#pragma once
// The lesson export dialog behind btMp3: the whole lesson as MP3 + LRC (the default), or
// sentence cards of a range of sentences (counter numbers) or of the marked ones, into a
// folder, with the pad around each card's sentence. OK stores the folder of the chosen
// kind (ExportFolder / CardsFolder) and the pad (ExcerptPadMs); the player reads the
// choice after exec() and runs the export.
#include "ui/CRadioGroup.h"
#include "ui/SkinnedWindow.h"

class QLabel;
class QLineEdit;
class QSpinBox;

namespace mvx {

class ExportLessonForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    struct Choice
    {
        bool cards = false;
        bool marked = false;
        int first = 0; // counter numbers
        int last = 0;
        QString folder;
        int padMs = 150;
    };

    explicit ExportLessonForm(QWidget *parent = nullptr);

    // The lesson's counter numbers (lowest..highest) and the current one.
    void SetSentences(int lowest, int highest, int current);
    [[nodiscard]] Choice Chosen() const;
    [[nodiscard]] bool Accepted() const { return m_accepted; }
    void SelectKind(const QString &tag);  // "Mp3Lrc" or "Cards"
    void SelectRange(const QString &tag); // "Range" or "Marked"
    void SetFolder(const QString &folder);

    [[nodiscard]] static QString DefaultExportFolder();
    [[nodiscard]] static QString DefaultCardsFolder();

    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btCancel_click();
    Q_INVOKABLE void btWinClose_click();
    Q_INVOKABLE void btBrowse_click();

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    void ShowCardControls();
    [[nodiscard]] QString StoredFolder(bool cards) const;

    CRadioGroup m_kind;
    CRadioGroup m_range;
    QLineEdit *m_folder = nullptr;
    QSpinBox *m_first = nullptr;
    QSpinBox *m_last = nullptr;
    QSpinBox *m_pad = nullptr;
    QList<QWidget *> m_cardControls;
    QString m_shownKind;
    bool m_accepted = false;
};

} // namespace mvx
