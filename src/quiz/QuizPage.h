#pragma once
// The quiz page of the quiz window: generated from the book's quiz source into
// alltmpfile/tmpquiz.htm, loaded into the view (waiting for it, bounded by LoadTimeoutMs),
// its submit inputs "Submit1" / "Submit2" hooked to the window's sink, and the learner's
// answers read back. The old page is deleted first, so a missing or refused source never
// shows an earlier quiz with a stale key; the view then stays empty and the key empty.
#include "core/InputError.h"

#include <QString>
#include <QStringList>

namespace mvx::pages {
class PageHost;
}

namespace mvx {

class QuizPage final
{
public:
    static constexpr int LoadTimeoutMs = 20000;
    static constexpr int QueryTimeoutMs = 2000;
    static constexpr auto SinkName = "EHtmlEventHandler";

    // home: the program folder whose alltmpfile/ receives the page.
    QuizPage(pages::PageHost &host, QString home);

    // Makes and shows the page of sourceFile (relative to the home or absolute) under
    // title. Returns the message for the learner, empty when the quiz is ready.
    QString LoadQuiz(const QString &sourceFile, const QString &title);
    [[nodiscard]] QString AnswerKey() const { return m_key; }
    [[nodiscard]] bool Loaded() const { return m_loaded; }
    [[nodiscard]] int SubmitInputsHooked() const { return m_hooked; }
    [[nodiscard]] QString PageFile() const;
    // For question k = 0 ... n - 1 the checked value, or "NoAnswer" (all of them when the page
    // does not answer in time).
    [[nodiscard]] QStringList Answers(int n) const;

private:
    pages::PageHost &m_host;
    QString m_home;
    QString m_key;
    bool m_loaded = false;
    int m_hooked = 0;
};

} // namespace mvx
