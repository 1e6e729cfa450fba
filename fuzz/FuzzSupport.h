#pragma once
// What every fuzz harness shares: a private scratch folder with the user folders pointed
// into it, the input as a file or as text lines, small valid sound files to start from, and
// a check that stops the run (so the fuzzer keeps the input) when a reader breaks a promise.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

namespace mvx::fuzz {

// Once per process: an application object, the settings and data folders inside the
// scratch folder, SDL's silent driver. Harnesses call it at the top of every input.
void setUp();
// A folder of this process, removed at exit.
[[nodiscard]] QString scratch();
// Writes the bytes to scratch()/name, replacing what was there; returns the path.
QString writeFile(const QString &name, const QByteArray &bytes);
[[nodiscard]] QByteArray readFile(const QString &path);
// The input bytes (deep copy, so a reader can never reach past them unnoticed).
[[nodiscard]] QByteArray input(const uint8_t *data, size_t size);
// The bytes decoded as the program decodes text files, split at LF (a CR before it dropped).
[[nodiscard]] QStringList lines(const QByteArray &bytes);
// The input cut into count pieces at each "\n--8<--\n" (missing pieces are empty).
[[nodiscard]] QList<QByteArray> parts(const QByteArray &bytes, int count);
// A short 16-bit mono WAV tone (valid, a fraction of a second).
[[nodiscard]] QByteArray toneWav(int rate = 8000, double seconds = 0.3);
// Applies "mutation records" to a valid file: the input's first two bytes give a length to
// cut the file to (0 = keep), then each 4 bytes are a 24-bit offset (modulo the size) and the
// byte to put there. Lets a harness mutate files far larger than its inputs.
[[nodiscard]] QByteArray patched(const QByteArray &base, const QByteArray &records);
// Rewrites a SQLite file with 512-byte pages, so the offsets an input names stay small.
void shrinkDatabase(const QString &path);
// SQLite's full check of a file, opened read-only.
[[nodiscard]] bool integrityOk(const QString &path);
// Stops the process with the message when a reader broke what it promises.
[[noreturn]] void fail(const char *what, const QString &detail = {});

} // namespace mvx::fuzz

#define FUZZ_CHECK(cond, detail) \
    do { \
        if (!(cond)) \
            ::mvx::fuzz::fail(#cond, detail); \
    } while (false)
