#pragma once
// What the player logic needs of a media back end, under the old control's names.
// Positions and durations in seconds (double). The real back end (SDL2 + libsndfile +
// SoundTouch) implements it; tests of the player logic use a fake driven by a virtual clock.
#include <QString>

namespace mvx {

class MediaPlayerInterface
{
public:
    static constexpr int MediaClosed = 0;   // openState with no file (nothing set, or an empty URL)
    static constexpr int MediaOpening = 12; // the file is being read
    static constexpr int MediaOpen = 13;    // openState once the file is open and its duration known
    static constexpr int MediaFailed = -1;  // the file could not be opened; errorText() says why

    virtual ~MediaPlayerInterface() = default;

    // Opens a local file ("file:///..." URL or a plain path); the open state is reached
    // later, through the event loop. An empty URL closes the current file.
    virtual void setURL(const QString &url) = 0;
    [[nodiscard]] virtual QString URL() const = 0;
    [[nodiscard]] virtual int openState() const = 0;
    virtual void play() = 0;
    virtual void stop() = 0;  // position reads 0 afterwards
    virtual void pause() = 0; // keeps the position
    [[nodiscard]] virtual double currentPosition() const = 0;
    virtual void setCurrentPosition(double seconds) = 0;
    [[nodiscard]] virtual double duration() const = 0;
    virtual void setRate(double rate) = 0;
    virtual void setAutoStart(bool autoStart) = 0;
    // Last error for the caller's message; empty when the last open succeeded (closing with
    // an empty URL keeps it).
    [[nodiscard]] virtual QString errorText() const = 0;
};

} // namespace mvx
