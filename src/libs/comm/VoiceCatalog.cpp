#include "VoiceCatalog.h"

namespace mvx::VoiceCatalog {

namespace {

QString Folded(QString text)
{
    return text.replace(QLatin1Char('_'), QLatin1Char(' ')).simplified().toLower();
}

int FirstWithLanguage(const QList<VoiceInfo> &voices, const QString &language, bool primaryOnly)
{
    for (int i = 0; i < voices.size(); ++i) {
        const QStringList &langs = voices.at(i).languages;
        if (primaryOnly) {
            if (!langs.isEmpty() && langs.first().compare(language, Qt::CaseInsensitive) == 0)
                return i;
        } else if (langs.contains(language, Qt::CaseInsensitive)) {
            return i;
        }
    }
    return -1;
}

} // namespace

int DefaultVoice(const QList<VoiceInfo> &voices)
{
    if (voices.isEmpty())
        return -1;
    for (const char *language : {"en-us", "en-gb", "en"}) {
        const int i = FirstWithLanguage(voices, QLatin1String(language), true);
        if (i >= 0)
            return i;
    }
    const int english = FirstWithLanguage(voices, QStringLiteral("en"), false);
    return english >= 0 ? english : 0;
}

int Resolve(const QList<VoiceInfo> &voices, const QString &requested)
{
    if (voices.isEmpty())
        return -1;
    const QString want = Folded(requested);
    if (want.isEmpty())
        return DefaultVoice(voices);
    for (int i = 0; i < voices.size(); ++i)
        if (Folded(voices.at(i).name) == want)
            return i;
    for (int i = 0; i < voices.size(); ++i) {
        const QString id = voices.at(i).identifier.toLower();
        if (!id.isEmpty() && (id == want || id.section(QLatin1Char('/'), -1) == want))
            return i;
    }
    int byLanguage = FirstWithLanguage(voices, want, true);
    if (byLanguage < 0)
        byLanguage = FirstWithLanguage(voices, want, false);
    if (byLanguage >= 0)
        return byLanguage;
    if (want.size() >= 3)
        for (int i = 0; i < voices.size(); ++i)
            if (Folded(voices.at(i).name).startsWith(want))
                return i;
    return DefaultVoice(voices);
}

} // namespace mvx::VoiceCatalog
