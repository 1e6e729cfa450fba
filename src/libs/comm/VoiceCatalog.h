#pragma once
// Choosing a text-to-speech voice from a requested name. Pure rules over a voice list,
// so the rewriting of names (an old "Microsoft Mary", a language code, a cut-off
// description) is tested without the speech engine.
#include <QList>
#include <QString>
#include <QStringList>

namespace mvx {

struct VoiceInfo
{
    QString name;          // the engine's voice name, "English (America)"
    QString identifier;    // its file within the engine's data, "gmw/en-US"
    QStringList languages; // in the engine's priority order, "en-us", "en"
};

namespace VoiceCatalog {

// The voice to use for a requested name, as an index into voices (-1 only when the list is
// empty). Tried in order: the exact name (case and "_"/" " ignored); the identifier or its
// last part; a language code ("en-us"); a name beginning with the request (at least three
// characters); otherwise the default voice.
[[nodiscard]] int Resolve(const QList<VoiceInfo> &voices, const QString &requested);
// The default voice: American English, else British English, else any English, else the first.
[[nodiscard]] int DefaultVoice(const QList<VoiceInfo> &voices);

} // namespace VoiceCatalog
} // namespace mvx
