#pragma once
// The two platform questions start-up asks, behind one small interface so that
// tests can answer them either way.
namespace mvx {

class PlatformInfo
{
public:
    virtual ~PlatformInfo() = default;
    // Operating system "version 6 or later": always false on this platform.
    [[nodiscard]] virtual bool isVersion6OrLater() const = 0;
    // Whether the HTML engine of the lesson pages can start.
    [[nodiscard]] virtual bool htmlEngineUsable() const = 0;
};

// This machine's answers: not version 6; the HTML engine usable when its
// process can be found (QtWebEngineProcess) and MVX_NO_HTML_ENGINE is unset.
class SystemPlatformInfo final : public PlatformInfo
{
public:
    [[nodiscard]] bool isVersion6OrLater() const override { return false; }
    [[nodiscard]] bool htmlEngineUsable() const override;
};

} // namespace mvx
