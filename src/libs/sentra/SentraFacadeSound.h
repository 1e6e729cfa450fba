#pragma once
// The bc... calls that excerpts and exports add to the facade (SentraFacade.h): any stretch
// of a lesson's sound, its length, a sentence's lesson and heard times, and the sound file name rule.
// Same contract as SentraFacade.h: an invalid handle does nothing and fails.
#include <QString>
#include <QtGlobal>
#include <vector>

namespace mvx::sentra {

// The sound file name of a sentence (bcSentence_GetFileNameEnglish) from the book's path.
QString SentenceFileName(const QString &bookPath, int noInAll, int maxLen = 80);

} // namespace mvx::sentra

// A stretch [nStartMs, nEndMs) of the lesson's sound at 22050 Hz mono (StretchCutter, one per open book).
// Returns 0, or -1 (samples emptied) for a bad handle, lesson or stretch.
int bcSentraBook_CutStretch(int hBook, int nLessonNo, qint64 nStartMs, qint64 nEndMs, std::vector<qint16> &samples);
// Length of the lesson's sound in ms, or -1.
qint64 bcSentraBook_GetSoundLength(int hBook, int nLessonNo);
// The sentence's lesson and its heard times (the learner's nudges applied) in the lesson's
// sound. Returns 0, or -1 (outs left unchanged). Out pointers may be null.
int bcSentence_GetHeardSpan(int hBook, int nNoInAll, int *pLessonNo, int *pStartMs, int *pEndMs);
