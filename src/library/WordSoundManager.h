#pragma once
// What the two word-sound windows do, without the windows: the status texts, the voice
// list and the chosen voice, the start-up reminder, and the library registered or found
// again after a copy. Works on the process-wide state (App()) and the settings store; the
// sound centre is the one start-up opened (App().wordSoundCentre).
#include <QString>
#include <QStringList>

namespace mvx {

class WordSoundManager final
{
public:
    // "目前状态：" + the text for where the word sounds come from (0 none, 1 the sibling
    // word program, 2 the sibling sentence program, 3 own "snd" folder or a disc).
    [[nodiscard]] static QString StatusText(int source);
    // The start-up copy window knows only "found" or "not found".
    [[nodiscard]] static QString CopyFormStatusText(bool found);
    // A voice entry as a name to store: the part before the first "-", trimmed
    // ("Microsoft Mary - English (United States)" -> "Microsoft Mary").
    [[nodiscard]] static QString VoiceNameFromEntry(const QString &entry);
    // The first entry containing the voice name; 0 when none does; -1 for an empty list.
    [[nodiscard]] static int VoiceEntryFor(const QStringList &entries, const QString &voiceName);

    // Messages of the copy command.
    [[nodiscard]] static QString NoDiscMessage();
    [[nodiscard]] static QString NoLibraryInFolderMessage(const QString &folder);
    [[nodiscard]] static QString CopyFailedMessage();
    [[nodiscard]] static QString CopyAbortedMessage();
    [[nodiscard]] static QString CopiedMessage();
    [[nodiscard]] static QString VistaVoiceWarning();

    // ---- Word-sound management window ----
    // Looks for the library again, shows the own library as source 3, reads the voices
    // and the reminder setting.
    void openManage();
    [[nodiscard]] QString status() const { return m_status; }
    [[nodiscard]] QStringList voices() const { return m_voices; }
    [[nodiscard]] int initialVoice() const { return m_initialVoice; }
    // The reminder box is ticked when CopySndHint is false.
    [[nodiscard]] bool noCopyHint() const { return m_noCopyHint; }
    // Confirms the window: the voice (an index into voices(), -1 keeps the present voice)
    // and the reminder box. Returns a warning for the learner, empty when none.
    QString confirm(int voiceIndex, bool noCopyHint);

    // ---- Start-up copy window ----
    // Looks for the library and returns the status text.
    QString openCopyForm();
    // Continue: when a library can be found now (say a disc was put in), registers it
    // with the sound centre at once.
    void continueCopyForm();

    // After a complete copy: the library is looked for again (the new "snd" folder).
    static void libraryCopied();

private:
    QString m_status;
    QStringList m_voices;
    int m_initialVoice = -1;
    bool m_noCopyHint = false;
};

} // namespace mvx
