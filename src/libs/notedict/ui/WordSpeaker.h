#pragma once
// Speaks a word for the dictionary and notebook windows: the sound centre writes the
// word's sound (recorded, else synthesised) to a working file, which the shared word
// sound player plays without waiting. False, with errorText(), when there is no sound.
#include <QString>

namespace mvx {

class WordSpeaker final
{
public:
    bool speak(const QString &word);
    [[nodiscard]] QString errorText() const { return m_error; }

private:
    QString m_error;
};

} // namespace mvx
