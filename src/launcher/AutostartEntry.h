#pragma once
// The desktop session's autostart file for the launcher:
// $XDG_CONFIG_HOME/autostart/MvxEnglishSpirit.desktop.
#include <QString>

namespace mvx::spirit {

class AutostartEntry final
{
public:
    // The file in the given config folder ($XDG_CONFIG_HOME when empty).
    explicit AutostartEntry(const QString &configHome = {});

    [[nodiscard]] QString path() const { return m_path; }
    [[nodiscard]] bool exists() const;
    // The learner turned it off in the desktop's settings (Hidden=true or
    // X-GNOME-Autostart-enabled=false).
    [[nodiscard]] bool disabledByDesktop() const;
    // Writes the entry for the program when missing or different; false on failure.
    bool write(const QString &programPath) const;
    bool remove() const;

    // The whole file for a program path.
    [[nodiscard]] static QByteArray contentFor(const QString &programPath);
    // The program path as an Exec value: quoted, with the characters the desktop-entry
    // rules reserve escaped.
    [[nodiscard]] static QString execValue(const QString &programPath);

private:
    QString m_path;
};

} // namespace mvx::spirit
