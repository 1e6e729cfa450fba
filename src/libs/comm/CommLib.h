#pragma once
// The common library's facade: sound centre, text to speech, waveform digests, MP3
// encoding, line files, settings-store reads, disc look-up, help and web calls, window
// dragging, key state, the local notice service and timing. The operation names and
// argument order are the program's long-standing ones; integer handles are > 0 when
// valid, and an invalid handle makes an operation do nothing (and return its failure value).
// Paths may use "\" or "/"; relative paths are relative to the current folder (the home).
#include <QString>
#include <QStringList>
#include <functional>

class QObject;
class QPainter;

namespace mvx {

// ---- Sound centre --------------------------------------------------------------------
// Opens a sound centre whose word sounds are written as 16-bit PCM WAV of the given rate
// and channel count (-1 or 0 means 22050 Hz / mono). Returns a handle > 0, or 0 on bad
// arguments. device is the output device (-1 default); sounds are only written to files.
int vcSndCenter_Open(int device, int bitsPerSample, int sampleRate, int channels);
void vcSndCenter_Close(int handle);
// Registers a word-sound library by its index file (format in SoundLibrary.h). Entries are
// found relative to dataFolder, else relative to the index's own folder. kind: 2 the
// program's lesson library, 0 a word-sound library. Libraries are searched in the order
// added. Returns 1 when the library was added, 0 for a missing or damaged index.
int vcSndCenter_AddSndLib(int handle, const QString &indexFile, const QString &dataFolder, int kind);
// Writes basePath + ".wav" with the word's sound: from the first library holding the word,
// else synthesised. Returns 1 (from a library), 2 (synthesised) or -1 (no sound; any old
// basePath + ".wav" is removed). outLengthMs receives the sound's length in ms (0 on -1).
int vcSndCenter_GetSndFile(int handle, const QString &word, int flags, const QString &basePath, int reserved1,
                           int reserved2, int &outLengthMs, const QString &reserved3);
// Non-zero when text to speech works (espeak-ng started and has a voice).
int vcSndCenter_IsTtsAvailable(int handle);
// Chooses the voice; voiceName is rewritten to the voice really used (an unknown name
// such as "Microsoft Mary" becomes the default English voice). Non-zero = voice chosen;
// 0 when text to speech is unavailable or the handle is invalid (name left unchanged).
int vcSndCenter_SetTtsVoiceName(int handle, QString &voiceName);
// The voices for the voice window, each entry an espeak-ng voice name as
// vcSndCenter_SetTtsVoiceName accepts and rewrites it ("English (America)").
[[nodiscard]] QStringList vcSndCenter_GetTtsVoiceList(int handle);

// ---- Waveform digests (file format in WaveDigest.h) -------------------------------------
// Makes the digest of a sound file; stepMs is recorded (peaks are kept finer, so any zoom
// draws clearly). Returns 1, or 0 when the file is no readable sound (an old digest file
// of that name is then removed, so no stale waveform is shown).
int vcMakeWaveDigestFile(const QString &waveFile, const QString &digestFile, int stepMs);
// Returns a handle > 0, or 0 when the file is missing or not a digest.
int vcDigestFile_Open(const QString &digestFile);
void vcDigestFile_Close(int handle);
// Draws the peaks of the window [windowStartMs, windowStartMs + widthPx * windowRatio * 20)
// onto the painter's device, into the rectangle (0, 0, widthPx, heightPx); the background is
// left to the caller. Returns 1 when drawn, 0 for an invalid handle or arguments.
int vcDigestFile_Draw(int handle, QPainter *painter, int heightPx, int widthPx, int windowStartMs, int windowRatio,
                      int stepMs);

// ---- MP3 -----------------------------------------------------------------------------
// Encodes any sound file libsndfile reads to MP3 at kbps (constant bit rate); the target
// appears complete or not at all. Returns 1, or 0 on failure.
int vcEncodeWavToMp3(const QString &waveFile, const QString &mp3File, int kbps);

// ---- Line files ----------------------------------------------------------------------
// A text file read or written line by line. Reading decodes UTF-8, else GB18030; writing
// makes UTF-8 and replaces the file only at close (nothing half-written).
struct VbFileRecord
{
    int handle = 0;
};
// mode "rb" (read), "wb" (write, replacing) or "ab" (append). Returns a handle > 0
// (also stored in the record), -1 when the file cannot be opened.
int vcOpenFileForVb(VbFileRecord &record, const QString &path, const QString &mode);
// Reads the next line (without its line end, cut at a NUL) into buffer, limited to
// maximum bytes as GBK counts them (a Chinese character 2) and never cut inside a
// character; the rest of an over-long line is skipped. maximum <= 0 means no limit.
// Returns the line's length in GBK bytes, or -1 at the end of the file or on error.
int vcReadFileForVb(VbFileRecord &record, QString &buffer, int maximum, int reserved1 = -1, int reserved2 = -1);
// Appends text as it is (the caller writes its own CR LF). Returns 1, or -1.
int vcWriteFileForVb(VbFileRecord &record, const QString &text);
// Closes the file; a written file is put in place now. Returns 1, or -1 when writing failed.
int vcCloseFileForVb(VbFileRecord &record);

// ---- Settings store, files, discs --------------------------------------------------------
inline constexpr qint64 HKEY_CURRENT_USER_ROOT = 0x80000001LL;
// Reads a per-user registry value (settings store: application = keyPath, section "",
// key = valueName). Returns -1 when absent, else 0 with buffer = the value cut to size
// characters and size = its length.
int vcGetKeyValueString(qint64 root, const QString &keyPath, const QString &valueName, QString &buffer, int &size);
// Non-zero when a file (not a folder) of that path exists.
int vcIfFileExist(const QString &path);
// A "drive code" (> 0) of a mounted volume holding the relative path, 0 = none.
// vcCdDriveRoot turns the code back into that volume's root folder (ending with "/").
int vcIfCDROMReady(const QString &relativePath);
[[nodiscard]] QString vcCdDriveRoot(int driveCode);
// Non-zero when a mounted volume holds the relative path; buffer then holds the volume's
// root folder without a trailing "/" (so buffer + "/snd" names the folder).
int vcIfCdFileReady(const QString &relativePath, QString &buffer);

// ---- Keys, windows, help, web, programs ------------------------------------------------
int vcIfAltPressed();
int vcIfCtrlPressed();
// flag -1 (non-zero): the frameless window can be dragged by its body; 0: no more.
// Calls the registered handler (the widget toolkit registers one); without one, a QWindow
// is made draggable directly.
void vcSetMoveWindowProc(QObject *window, int flag);
void SetMoveWindowHandler(std::function<void(QObject *window, bool on)> handler);
// "x.chm::htmlsrc/p.htm" -> AppPath/help/htmlsrc/p.htm; "x.chm" -> AppPath/help/index.htm.
[[nodiscard]] QString HelpPagePath(const QString &helpFile);
// Shows the help page through the registered viewer, else in the desktop's browser.
// Returns 1, or 0 when the page does not exist.
int vcHtmlHelp(const QString &helpFile);
void SetHelpViewerHandler(std::function<void(const QString &localFile)> handler);
// Opens http, https and mailto addresses in the desktop's programs; refuses anything
// else (returns 0).
int vcHttpPage(const QString &address);
// Starts a program detached ("x.exe" also finds "x"). Returns 1 when started, else 0.
int vcStartSp(const QString &programPath);

// ---- Notice service (file format in NoticeService.h) ------------------------------------
int vcInitQmrAdv();
void vcEndQmrAdv();
// Number of notices newer than the seen serial; buffer receives the notices file's full path.
int vcIfNewMsgExist(QString &buffer);
// Notices up to this serial count as seen (the stored serial never goes down).
int vcSetMaxViewedMsg(int serial);

// ---- Time and small text helpers -------------------------------------------------------
// Milliseconds on a monotonic clock, and the milliseconds passed since such a stamp.
[[nodiscard]] qint64 vcMyGetTime();
[[nodiscard]] qint64 vcTimePassed(qint64 stamp);
[[nodiscard]] int vcMystrlen(const QString &text);    // length up to the first NUL
[[nodiscard]] int vcVBStringLen(const QString &text); // the same
[[nodiscard]] int vcStrcmp(const QString &a, const QString &b); // 0 = equal, <0, >0
void vcStrcpy(QString &target, const QString &source);
[[nodiscard]] qint64 vcBitAnd(qint64 a, qint64 b);
void StrongRtrim(QString &text); // cuts at a NUL, then trailing blanks (space, tab, CR, LF)

} // namespace mvx
