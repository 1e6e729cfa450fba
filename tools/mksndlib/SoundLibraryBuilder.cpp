#include "SoundLibraryBuilder.h"

#include "comm/SoundIo.h"
#include "comm/SoundLibrary.h"
#include "comm/SpeechEngine.h"
#include "core/Helpers.h"
#include "core/TextCodec.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace mvx {

namespace {

const QStringList kSoundSuffixes = {QStringLiteral("wav"), QStringLiteral("mp3"), QStringLiteral("ogg"),
                                    QStringLiteral("oga"), QStringLiteral("flac"), QStringLiteral("aiff"),
                                    QStringLiteral("aif"), QStringLiteral("au")};

} // namespace

SoundLibraryBuilder::SoundLibraryBuilder(const QString &indexFile, const QString &dataFolder)
    : m_indexFile(QFileInfo(ToFsPath(indexFile)).absoluteFilePath())
{
    const QString folder = dataFolder.isEmpty() ? QFileInfo(m_indexFile).absolutePath()
                                                : QFileInfo(ToFsPath(dataFolder)).absoluteFilePath();
    m_dataFolder = QDir::cleanPath(folder) + QLatin1Char('/');
}

QString SoundLibraryBuilder::soundFolder() const
{
    return m_dataFolder + QFileInfo(m_indexFile).completeBaseName() + QStringLiteral("snd/");
}

QString SoundLibraryBuilder::FileNameFor(const QString &normalisedWord)
{
    QString name;
    for (const QChar c : normalisedWord)
        name += (c.isLetterOrNumber() && c.unicode() < 0x80) ? c : QLatin1Char('_');
    // Distinct words that look alike once cleaned ("don't", "don t") keep distinct files.
    // FNV-1a: the same name in every run, so a rebuild reuses the sounds it made before.
    quint32 hash = 2166136261u;
    for (const char byte : normalisedWord.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 16777619u;
    }
    const quint32 tag = hash & 0xffff;
    return name.left(60) + QLatin1Char('-') + QString::number(tag, 16) + QStringLiteral(".wav");
}

int SoundLibraryBuilder::addFolder(const QString &folder)
{
    int added = 0;
    QDirIterator it(ToFsPath(folder), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (!kSoundSuffixes.contains(info.suffix().toLower()))
            continue;
        const QString word = SoundLibrary::NormaliseWord(info.completeBaseName().replace(QLatin1Char('_'), QLatin1Char(' ')));
        if (word.isEmpty() || m_entries.contains(word))
            continue;
        m_entries.insert(word, QDir(m_dataFolder).relativeFilePath(info.absoluteFilePath()));
        ++added;
    }
    return added;
}

bool SoundLibraryBuilder::addWordList(const QString &file, bool marked)
{
    const TextFileContent content = ReadTextFile(ToFsPath(file));
    if (!content.ok) {
        m_error = QStringLiteral("cannot read %1").arg(file);
        return false;
    }
    static const QRegularExpression mark(QStringLiteral("\\*([^*\\r\\n]+)\\*"));
    for (const QString &line : content.lines) {
        if (marked) {
            for (auto m = mark.globalMatch(line); m.hasNext();)
                addWord(m.next().captured(1));
        } else if (!line.trimmed().startsWith(QLatin1Char('#'))) {
            addWord(line);
        }
    }
    return true;
}

void SoundLibraryBuilder::addWord(const QString &word)
{
    const QString key = SoundLibrary::NormaliseWord(word);
    if (!key.isEmpty() && !m_entries.contains(key) && !m_toSynthesise.contains(key))
        m_toSynthesise << key;
}

bool SoundLibraryBuilder::build(const QString &voice, int wordsPerMinute, bool force)
{
    m_synthesised = 0;
    if (!m_toSynthesise.isEmpty()) {
        SpeechEngine &speech = SpeechEngine::instance();
        if (!speech.available()) {
            m_error = QStringLiteral("text to speech (espeak-ng) is not available");
            return false;
        }
        const QString folder = soundFolder();
        if (!QDir().mkpath(folder)) {
            m_error = QStringLiteral("cannot make %1").arg(folder);
            return false;
        }
        QSet<QString> wanted;
        for (const QString &word : std::as_const(m_toSynthesise)) {
            const QString name = FileNameFor(word);
            wanted.insert(name);
            const QString path = folder + name;
            if (force || !QFileInfo(path).isFile()) {
                QVector<qint16> samples;
                if (!speech.synthesize(word, voice, wordsPerMinute, samples)) {
                    m_error = QStringLiteral("could not synthesise \"%1\"").arg(word);
                    return false;
                }
                if (!SoundIo::WriteWav16(path, SoundIo::Resample(samples, speech.sampleRate(), 22050), 22050, 1,
                                         &m_error))
                    return false;
                ++m_synthesised;
            }
            m_entries.insert(word, QDir(m_dataFolder).relativeFilePath(path));
        }
        // Sounds this tool made for words that left the list would only take space; files it
        // did not make, or that an entry names, stay.
        QSet<QString> named;
        for (const QString &file : std::as_const(m_entries))
            named.insert(QDir::cleanPath(m_dataFolder + file));
        static const QRegularExpression ours(QStringLiteral("^[a-z0-9_]{0,60}-[0-9a-f]{1,4}\\.wav$"));
        for (const QFileInfo &old : QDir(folder).entryInfoList({QStringLiteral("*.wav")}, QDir::Files))
            if (!wanted.contains(old.fileName()) && !named.contains(QDir::cleanPath(old.absoluteFilePath()))
                && ours.match(old.fileName()).hasMatch())
                QFile::remove(old.absoluteFilePath());
    }
    QStringList lines;
    lines << QStringLiteral("%1\t1").arg(QLatin1String(SoundLibrary::Magic));
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        lines << it.key() + QLatin1Char('\t') + it.value();
    if (!QDir().mkpath(QFileInfo(m_indexFile).absolutePath()) || !WriteTextFile(m_indexFile, lines)) {
        m_error = QStringLiteral("cannot write %1").arg(m_indexFile);
        return false;
    }
    return true;
}

} // namespace mvx
