#pragma once
// The "添加课文" dialog of the library window: the learner picks a sound, a text (LRC,
// subtitles or plain text), optional translation and comments, the category and the title,
// looks at a preview of the first sentences, and imports. Reading and writing run off the
// UI thread with a progress bar and can be cancelled; the logic is LessonImport's, the
// thread LessonImportJob's. After an import the handler hears the new article's key.
#include "LessonImportJob.h"
#include "ui/CCheckboxGroup.h"
#include "ui/SkinnedWindow.h"

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTableWidget;

namespace mvx {

class AddLessonForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    // indexPath: the article index the lesson is listed in.
    explicit AddLessonForm(const QString &indexPath, QWidget *parent = nullptr);
    ~AddLessonForm() override;

    // Chooses a file (caption, name filter) and returns it, empty when none: the file
    // dialog, or a stand-in in tests.
    using FileChooser = std::function<QString(QWidget *parent, const QString &caption, const QString &filter)>;
    static void SetFileChooser(FileChooser chooser);
    void SetImportedHandler(std::function<void(const QString &articleKey)> handler) { m_imported = std::move(handler); }

    [[nodiscard]] LessonChoices Choices() const;
    void SetChoices(const LessonChoices &choices);
    [[nodiscard]] QTableWidget *PreviewTable() const { return m_preview; }
    [[nodiscard]] QString StatusText() const;
    [[nodiscard]] LessonImportJob &Job() { return m_job; }

    Q_INVOKABLE void btChooseSound_click();
    Q_INVOKABLE void btChooseText_click();
    Q_INVOKABLE void btChooseTranslation_click();
    Q_INVOKABLE void btChooseComments_click();
    Q_INVOKABLE void btPreview_click();
    Q_INVOKABLE void btImport_click();
    Q_INVOKABLE void btCancel_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    QLineEdit *addFileRow(const QString &name, const QString &label, const QString &button, int top);
    void soundChosen(const QString &path);
    void textChosen(const QString &path);
    void updateRegroup();
    void startJob(LessonImportJob::Step step);
    void jobFinished();
    void showPreview();
    void setBusy(bool busy);

    LessonImportJob m_job;
    CCheckboxGroup m_checkboxes;
    std::function<void(const QString &)> m_imported;
    QLineEdit *m_sound = nullptr;
    QLineEdit *m_text = nullptr;
    QLineEdit *m_translation = nullptr;
    QLineEdit *m_comments = nullptr;
    QLineEdit *m_title = nullptr;
    QComboBox *m_kind = nullptr;
    QComboBox *m_category = nullptr;
    QTableWidget *m_preview = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_progress = nullptr;
    QString m_proposedTitle;
    bool m_closeWhenDone = false;
};

} // namespace mvx
