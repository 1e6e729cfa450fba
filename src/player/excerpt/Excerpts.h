#pragma once
// Excerpts of the lesson player: the current sentence, or the part being repeated, kept in
// the program's "segment" folder for the listening reviewer (DigestSeg), or the whole
// sentence handed to the separately installed sentence memoriser (DigestToSentra).
// The player gives what it is on (ExcerptSpot), the learner is asked and told through
// ExcerptQuestions, and files go through ExcerptFiles. Nothing is written half: the sound
// and the text are complete under temporary names before either replaces an old excerpt,
// and every failure is reported with the file it concerns.
#include "player/excerpt/ClipMaker.h"

#include <QString>

namespace mvx::excerpt {

class ExcerptFiles;

// The player's state when the excerpt is made.
struct ExcerptSpot
{
    int status = 0;        // PlayStatus; 3 = a sentence or an A-B part is repeating
    int bookHandle = -1;
    int noInAll = -1;      // the current sentence, numbered in the whole book
    int repeatStartMs = 0; // the repeated part, inside the sentence's sound
    int repeatEndMs = 0;
};

class ExcerptQuestions
{
public:
    virtual ~ExcerptQuestions() = default;
    virtual bool Ask(const QString &text) = 0; // Yes / No; true for Yes
    virtual void Tell(const QString &text) = 0;
    virtual void SetBusy(bool busy) = 0;       // the hourglass pointer
};

class Excerpts final
{
public:
    static constexpr int RepeatingStatus = 3;
    static constexpr int MaxNameBytes = 200;

    // home: the program folder that holds "segment".
    Excerpts(QString home, ExcerptFiles &files, ExcerptQuestions &questions);

    // The name proposed for the current sentence: the counter's number, " - ", the title
    // with "/" and "\" made "-".
    [[nodiscard]] static QString ProposedName(int curSentence, bool hasTitleSentence, const QString &title);
    // A name of the "segment" folder: not empty, no "/", "\" or control character, not "."
    // or "..", at most MaxNameBytes bytes of UTF-8.
    [[nodiscard]] static bool IsValidName(const QString &name);
    [[nodiscard]] static QString BadNameMessage();

    // Returns true when the excerpt's files are in place.
    bool DigestSeg(const QString &name, const ExcerptSpot &spot);
    bool DigestToSentra(const ExcerptSpot &spot);

    [[nodiscard]] QString SegmentFolder() const;

private:
    bool SentenceSound(const ExcerptSpot &spot, bool wholeSentence, QByteArray &mp3, QString *error);

    QString m_home;
    ExcerptFiles &m_files;
    ExcerptQuestions &m_questions;
};

} // namespace mvx::excerpt
