#pragma once
// The player's word notebook window: opened for the open lesson's words (the lesson range
// "#kbt|book.dat|first|last", first after the title line, last the lesson's own last
// sentence), at the position stored when it last closed, once at a time; a lesson without
// notebook words (or without a notebook yet) says how words get there.
#include <QString>
#include <functional>

class QWidget;

namespace mvx {

class PlayerOperations;

class PlayerNotebook final
{
public:
    using TextGetter = std::function<QString()>;
    using FlagGetter = std::function<bool()>;
    PlayerNotebook(PlayerOperations &player, TextGetter bookFile, FlagGetter hasTitle);

    // "#tag|file name|first|last"; "" when the numbers make no range.
    [[nodiscard]] static QString RangeText(const QString &tag, const QString &bookFile, int first, int last);
    // The open lesson's range; "" without a lesson.
    [[nodiscard]] QString LessonRange() const;

    // Opens the window for owner (does nothing while one is open). Returns the message for
    // the learner, "" when the window was shown.
    QString Open(QWidget *owner);
    // The window reported that it closed at left, top (twips): the position is stored.
    void Closed(int left, int top);
    // Closes the window opened from owner (its close report stores the position).
    void Close(QWidget *owner);
    [[nodiscard]] bool IsOpen() const { return m_open; }

    static const QString &NoWordsMessage();

private:
    PlayerOperations &m_player;
    TextGetter m_bookFile;
    FlagGetter m_hasTitle;
    bool m_open = false;
};

} // namespace mvx
