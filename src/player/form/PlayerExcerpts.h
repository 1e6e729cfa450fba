#pragma once
// The player's excerpt and export actions: F9 / btDigest's excerpt dialog and what it calls
// back (a segment file, the memoriser's copy), and btMp3's lesson MP3 or sentence cards.
// Playing is paused around each dialog and only a pause made here is undone.
#include "dialogs/ExportLessonForm.h"

#include <QString>

#include <memory>

class QWidget;

namespace mvx {

class PlaybackController;

namespace excerpt {
class ExcerptFiles;
class ExcerptQuestions;
class Excerpts;
} // namespace excerpt

class PlayerExcerpts final
{
public:
    // callingForm receives the dialog's call back (DigestSeg, DigestToSentra by name); the
    // "segment" folder is in home.
    PlayerExcerpts(PlaybackController &controller, QWidget *callingForm, const QString &home);
    ~PlayerExcerpts();
    PlayerExcerpts(const PlayerExcerpts &) = delete;
    PlayerExcerpts &operator=(const PlayerExcerpts &) = delete;

    void RunDigestDialog();
    void RunExportDialog();
    void DigestSeg(const QString &name);
    void DigestToSentra();

private:
    excerpt::Excerpts &Maker();
    void RunExport(const ExportLessonForm::Choice &choice);

    PlaybackController &m_controller;
    QWidget *m_form;
    QString m_home;
    std::unique_ptr<excerpt::ExcerptQuestions> m_answers;
    std::unique_ptr<excerpt::ExcerptFiles> m_files;
    std::unique_ptr<excerpt::Excerpts> m_excerpts;
};

} // namespace mvx
