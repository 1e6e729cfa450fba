#pragma once
// Reads subtitles (SRT, or WebVTT when the first line is "WEBVTT") into cues: each cue's
// own start and end, its English and its Chinese. Cue text loses its markup (<i>, <b>,
// <u>, <font ...>, <v Name>, <c.class>, timestamps inside cues, {\an8}-style overrides) and
// has its HTML entities decoded; a line that is mostly CJK is Chinese, the others English,
// and lines of one kind are joined with a blank. A cue with no letters, or only a sound
// label ("[Music]", "(applause)", "♪ ... ♪"), is skipped and counted. WebVTT header, NOTE,
// STYLE and REGION blocks, cue identifiers and cue settings are ignored.
// Refused, with the line: a malformed time line, an end not after its start, a cue that
// starts before the one before it or overlaps it by more than MaxOverlapMs, no usable cue.
// A smaller overlap is taken off the earlier cue's end, so sentences never overlap.
#include "core/InputError.h"

#include <QList>
#include <QStringList>

namespace mvx {

struct SubtitleCue
{
    qint64 startMs = 0;
    qint64 endMs = 0;
    QString english;
    QString chinese;
    int line = 0; // 1-based line of the cue's time line
};

struct SubtitleResult
{
    QList<SubtitleCue> cues;
    int skipped = 0; // cues without words (sound labels, music, empty)
    bool webVtt = false;
    InputError error;
};

class SubtitleParser final
{
public:
    static constexpr qint64 MaxOverlapMs = 500;

    // lines: the file's text split into lines; fileName only names the file in messages.
    [[nodiscard]] static SubtitleResult parse(const QStringList &lines, const QString &fileName);
    // "00:01:02,500", "01:02.500", "00:01:02.5" -> ms; -1 when it is not a time.
    [[nodiscard]] static qint64 parseTime(const QString &text);
    // A cue line without markup and with its entities decoded, blanks made single.
    [[nodiscard]] static QString cleanLine(const QString &line);
    // True when the text is mostly Chinese (or other CJK) characters.
    [[nodiscard]] static bool isMostlyCjk(const QString &text);
    // True when the cue text holds words (not only a sound label, music notes or signs).
    [[nodiscard]] static bool hasWords(const QString &text);
};

} // namespace mvx
