#pragma once
// The sentence-book operations under their old names and argument order, over SentraBook.
//
// Contract:
// - Books are integer handles from bcSentraBook_Open (-1 = failure). Any operation given a
//   handle that is not open does nothing and fails (-1, empty text).
// - Sentences are numbers in all; word numbers start at 1 (see BOOK_FORMAT.md).
// - Texts are QString in and out (the old caller-filled buffers are return values).
// - Colours are integers with red in the HIGH byte (0xRRGGBB, the player converts its settings
//   with SwapRedBlue) except where an argument says "settings order" (red in the low byte).
// - Booleans handed back through out-parameters are -1 for true and 0 for false.
// - Arguments the callers pass as fixed 0 / -1 ("reserved") are accepted and ignored.
// - Single-threaded: call from one thread only.
#include <QString>
#include <optional>
#include <span>

namespace mvx::sentra {

// The comment page's edit link points here; the player cancels any navigation whose address
// contains this host and opens its comment editor instead. It names no real site.
inline constexpr const char *CommentEditMarker = "mvx-comment-edit.invalid";

// The request text that makes bcSentence_MakeCommentHtml return only the label's inner markup.
inline constexpr const char *InnerHtmlOnlyRequest = "InnerHtmlOnly";

} // namespace mvx::sentra

// szMode "rb" opens read-only, "r+b" read-write. Returns a handle (>= 0) or -1.
int bcSentraBook_Open(const QString &szFileName, const QString &szMode);
// Closes the book; returns 0, or -1 for a handle that is not open.
int bcSentraBook_Close(int hBook);

// Fills the lesson's first number in all, its sentence count and (when asked) its title flag
// (-1: sentence 0 is the title line, 0: not). Returns 0, or -1 (outs left unchanged) for a bad
// handle or lesson number. Out pointers may be null.
int bcSentraBook_GetLessonInfo(int hBook, int nLessonNo, int *pFirstSentence,
                               int *pSentenceCount, int nReserved, int *pHasTitle = nullptr);

// Writes the lesson's English, Chinese, comment and mixed pages (UTF-8 HTML) and fills the
// outs: first number in all, sentence count, title flag (-1 / 0), and the degree of sentence
// i into degrees[i] for every i < min(count, degrees.size()) (the rest are set to 0).
// Colours: 0xRRGGBB. szEStyle / szCStyle are CSS declarations put on the English / Chinese
// labels (for example "FONT-SIZE: 12pt; FONT-FAMILY: Arial"). Returns 1, or -1 when the
// handle, lesson or a file fails (pages may then be missing, never half-written).
int bcSentraBook_MakeHtml(int hBook, const QString &szEHtmlFile, const QString &szCHtmlFile,
                          const QString &szCommentHtmlFile, const QString &szEcHtmlFile,
                          int nLessonNo, int nReserved1, int nEColor, int nCColor,
                          int nCommentColor, int nKeywordColor, int nReserved2, int nReserved3,
                          int *pFirstSentence, int *pSentenceCount, int *pHasTitle,
                          std::span<int> degrees, const QString &szEStyle,
                          const QString &szCStyle, int nReserved4);

// One sentence's English label markup ("ste" + nNoInLesson with its "wrd" anchors), as in the
// English page. Empty for a bad handle or number.
QString bcSentence_MakeEHtml(int hBook, int nNoInAll, int nNoInLesson, int nEColor,
                             int nKeywordColor, int nReserved1, int nReserved2, int nReserved3,
                             int nReserved4);
// One sentence's Chinese label markup ("stc" + nNoInLesson). nCColorSettingsOrder is the
// ChineseColor setting as stored (red in the low byte): the player passes it unconverted.
QString bcSentence_MakeCHtml(int hBook, int nNoInAll, int nNoInLesson, int nCColorSettingsOrder,
                             int nReserved);
// One sentence's comment label ("stz" + nNoInLesson, followed by "<br id=br" + n + ">" when the
// comment is not empty). With szRequest == "InnerHtmlOnly" only the label's inner markup.
QString bcSentence_MakeCommentHtml(int hBook, int nNoInAll, int nNoInLesson,
                                   const QString &szRequest, int nCommentColor);

// Writes the sentence's sound: with nWaveFlag != 0 (-1) szBaseName + ".wav" only (22050 Hz,
// mono, 16-bit, exactly the sentence's samples); with nWaveFlag == 0 szBaseName + ".mp3"
// (96 kbit/s). The sound centre and the other reserved arguments are ignored; *pOut (may be
// null) receives the sample count. Returns 0, or -1 (no file written) on failure.
int bcSentence_MakeSndFile(int hBook, int nNoInAll, int hSndCentre, int nReserved1, int *pOut,
                           const QString &szBaseName, int nWaveFlag, int nReserved2);
// Makes szBaseName + ".mp3" (96 kbit/s) from szBaseName + ".wav" unless an MP3 at least as new
// is already there. Excerpts call this before copying a sentence's MP3. Returns 0 or -1.
int bcSentence_MakeSndMp3(const QString &szBaseName);

QString bcSentence_GetPureEnglish(int hBook, int nNoInAll);
// The English as the book stores it (the same plain text; kept for the excerpt files).
QString bcSentence_GetMiddleEnglish(int hBook, int nNoInAll);
QString bcSentence_GetChinese(int hBook, int nNoInAll);
QString bcSentence_GetComment(int hBook, int nNoInAll);
// The sentence as a notebook example: English, a line break ("\r\n"), Chinese.
QString bcSentence_GetSentenceAsWordSample(int hBook, int nNoInAll);
// A file-name-safe name for the sentence's sound (no extension), at most nMaxLen characters.
QString bcSentence_GetFileNameEnglish(int hBook, int nNoInAll, int nMaxLen = 80);

// Word marks. nSetMode 0 toggles, -1 sets. nWordLen > 0 must be the word's length (the page's
// text of the anchor); a mismatch fails. *pNowMarked (may be null) = -1 when the word is marked
// afterwards, 0 when not. Returns 0, or -1 with nothing changed (read-only book, bad handle,
// sentence or word number).
int bcSentence_SetKeywordByNo(int hBook, int nNoInAll, int nWordNo, int nWordLen, int nSetMode,
                              int *pNowMarked);
int bcSentence_SetNewwordByNo(int hBook, int nNoInAll, int nWordNo, int nWordLen, int nSetMode,
                              int *pNowMarked);

QString bcSentence_GetWordMean(int hBook, int nNoInAll, const QString &szWord);
int bcSentence_SetAWordMean(int hBook, int nNoInAll, const QString &szWord,
                            const QString &szMeaning);

// Stores the sentence's degree (0 or 1). Returns 0 or -1.
int bcSentence_SetDegree(int hBook, int nNoInAll, int nDegree);

// The sentence's first dictation check of the last visit (right words, words). Set returns 0,
// or -1 (nothing stored) for a read-only book or bad numbers; Get returns 0, or -1 when there
// is no result.
int bcSentence_SetDictation(int hBook, int nNoInAll, int nWordsRight, int nWordsTotal);
int bcSentence_GetDictation(int hBook, int nNoInAll, int *pWordsRight, int *pWordsTotal);

// Stores the texts that are given; std::nullopt keeps a text. Returns 0 or -1.
int bcSentence_Modify(int hBook, int nNoInAll, const std::optional<QString> &szEnglish,
                      const std::optional<QString> &szChinese,
                      const std::optional<QString> &szComment);

// Whether the book was opened for writing and may be changed.
bool bcSentraBook_IsWritable(int hBook);

// The sentence's times: the maker's (kept as made) and the heard ones (with the learner's
// nudges, what every cut plays). Outs may be null. Returns 0, or -1 for a bad handle or number.
int bcSentence_GetTimes(int hBook, int nNoInAll, int *pMakerStart, int *pMakerEnd, int *pHeardStart,
                        int *pHeardEnd);
// Moves the heard start (nEdge 0) or end (nEdge 1) by nDeltaMs, held in the sentence's limits
// (at least 100 ms long, not before the previous sentence's start, not past the next
// sentence's end or the sound's end). Returns 0, or -1 with nothing changed (read-only book).
int bcSentence_NudgeTime(int hBook, int nNoInAll, int nEdge, int nDeltaMs);
// Sets the heard times outright (an undo); the maker's times remove the nudge. Returns 0 or -1.
int bcSentence_SetHeardTimes(int hBook, int nNoInAll, int nStartMs, int nEndMs);
// Puts the sentence back to the maker's times. Returns 0 or -1.
int bcSentence_RestoreTimes(int hBook, int nNoInAll);
