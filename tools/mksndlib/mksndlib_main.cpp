// mvxbrx-mksndlib: builds a word-sound library index for the sound centre.
#include "SoundLibraryBuilder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

using namespace mvx;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mvxbrx-mksndlib"));
    QTextStream err(stderr);
    QTextStream out(stdout);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds a word-sound library (an index file naming one sound per word) for the sound centre.\n"
        "\n"
        "Usage:\n"
        "  mvxbrx-mksndlib --out INDEX [--data FOLDER] --from-folder SOUNDS\n"
        "      index the sound files under SOUNDS (wav, mp3, ogg, flac, aiff, au); each file's\n"
        "      base name is its word (\"_\" reads as a space).\n"
        "  mvxbrx-mksndlib --out INDEX [--data FOLDER] --words LIST... [--voice NAME] [--wpm N]\n"
        "      synthesise every word of LIST (one word or phrase per line, \"#\" lines skipped).\n"
        "  mvxbrx-mksndlib --out INDEX [--data FOLDER] --marked TEXT... [--voice NAME] [--wpm N]\n"
        "      synthesise every word marked *word* in the TEXT files (lesson sources).\n"
        "Sources can be combined; a word's first source wins. Synthesised sounds go to\n"
        "FOLDER/<index base name>snd/ as 22050 Hz mono 16-bit WAV; sounds already there are\n"
        "reused unless --force. Entries are relative to FOLDER (default: the index's folder).\n"
        "\n"
        "Example (the bundled lessons' key words):\n"
        "  mvxbrx-mksndlib --out home/brxspecial/brxspecial.idx --marked data/library/articles/*.txt"));
    parser.addHelpOption();
    const QCommandLineOption outOpt(QStringLiteral("out"), QStringLiteral("Index file to write."), QStringLiteral("INDEX"));
    const QCommandLineOption dataOpt(QStringLiteral("data"), QStringLiteral("Folder entries are relative to."),
                                     QStringLiteral("FOLDER"));
    const QCommandLineOption folderOpt(QStringLiteral("from-folder"), QStringLiteral("Folder of per-word sound files."),
                                       QStringLiteral("SOUNDS"));
    const QCommandLineOption wordsOpt(QStringLiteral("words"), QStringLiteral("Word list file (repeatable)."),
                                      QStringLiteral("LIST"));
    const QCommandLineOption markedOpt(QStringLiteral("marked"),
                                       QStringLiteral("Text file with *word* marks (repeatable)."), QStringLiteral("TEXT"));
    const QCommandLineOption voiceOpt(QStringLiteral("voice"), QStringLiteral("Speech voice (default: American English)."),
                                      QStringLiteral("NAME"));
    const QCommandLineOption wpmOpt(QStringLiteral("wpm"), QStringLiteral("Speaking rate in words per minute (default 140)."),
                                    QStringLiteral("N"), QStringLiteral("140"));
    const QCommandLineOption forceOpt(QStringLiteral("force"), QStringLiteral("Synthesise again every word."));
    parser.addOptions({outOpt, dataOpt, folderOpt, wordsOpt, markedOpt, voiceOpt, wpmOpt, forceOpt});
    parser.process(app);

    // Arguments after --marked / --words that are no options (a shell glob) belong to them.
    QStringList markedFiles = parser.values(markedOpt);
    QStringList wordFiles = parser.values(wordsOpt);
    if (!parser.positionalArguments().isEmpty()) {
        if (parser.isSet(markedOpt))
            markedFiles += parser.positionalArguments();
        else if (parser.isSet(wordsOpt))
            wordFiles += parser.positionalArguments();
        else {
            err << "mvxbrx-mksndlib: unexpected argument " << parser.positionalArguments().first() << "\n";
            return 1;
        }
    }
    if (!parser.isSet(outOpt) || (!parser.isSet(folderOpt) && markedFiles.isEmpty() && wordFiles.isEmpty())) {
        err << "mvxbrx-mksndlib: give --out and at least one of --from-folder, --words, --marked (see --help)\n";
        return 1;
    }
    bool ok = false;
    const int wpm = parser.value(wpmOpt).toInt(&ok);
    if (!ok || wpm < 80 || wpm > 450) {
        err << "mvxbrx-mksndlib: --wpm takes 80 to 450\n";
        return 1;
    }

    SoundLibraryBuilder builder(parser.value(outOpt), parser.value(dataOpt));
    for (const QString &folder : parser.values(folderOpt))
        builder.addFolder(folder);
    for (const QString &file : std::as_const(wordFiles))
        if (!builder.addWordList(file, false)) {
            err << "mvxbrx-mksndlib: " << builder.errorText() << "\n";
            return 2;
        }
    for (const QString &file : std::as_const(markedFiles))
        if (!builder.addWordList(file, true)) {
            err << "mvxbrx-mksndlib: " << builder.errorText() << "\n";
            return 2;
        }
    if (!builder.build(parser.value(voiceOpt), wpm, parser.isSet(forceOpt))) {
        err << "mvxbrx-mksndlib: " << builder.errorText() << "\n";
        return 2;
    }
    out << "mvxbrx-mksndlib: " << builder.entryCount() << " words (" << builder.synthesisedCount()
        << " synthesised) -> " << parser.value(outOpt) << "\n";
    return 0;
}
