#pragma once
// Recording fakes of the player, the pages, the book, the dictionary and the word sound for
// the page-event tests. Every call that changes something is appended to one shared log.
#include "player/events/BookMarks.h"
#include "player/events/EventPages.h"
#include "player/events/LessonReloader.h"
#include "player/events/WordDictionary.h"
#include "player/events/WordSoundPort.h"
#include "player/pages/PageEvent.h"
#include "player/playback/PlayerOperations.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace eventsfakes {

using namespace mvx;

struct Log
{
    QStringList calls;
    void add(const QString &s) { calls.append(s); }
};

class FakePlayer final : public PlayerOperations
{
public:
    explicit FakePlayer(Log &log) : m_log(log) {}
    int status = Stopped;
    bool autoNext = false;
    int cur = 1;
    int count = 6;
    int first = 100; // number in all of sentence 0
    bool busy = false;

    int PlayStatus() const override { return status; }
    bool AutoNext() const override { return autoNext; }
    int CurSentence() const override { return cur; }
    int SentenceCount() const override { return count; }
    int GetSentenceNoInAll(int n) const override { return first + n; }
    int BookHandle() const override { return 1; }
    int scopes = 0; // open busy scopes
    bool IsBusy() const override { return busy || scopes > 0; }
    void EnterBusy() override { ++scopes; }
    void LeaveBusy() override { --scopes; }
    void SetCurSentence(int n) override { m_log.add(QStringLiteral("SetCurSentence %1").arg(n)); cur = n; }
    void GoToSentence(int n) override { m_log.add(QStringLiteral("GoToSentence %1").arg(n)); cur = n; }
    void SetCurrentPos(int ms) override { m_log.add(QStringLiteral("SetCurrentPos %1").arg(ms)); }
    void SetStatus(int s) override { m_log.add(QStringLiteral("SetStatus %1").arg(s)); status = s; }
    void StopPlay() override { m_log.add(QStringLiteral("StopPlay")); }
    void btPlay_Click() override { m_log.add(QStringLiteral("btPlay")); }
    void btStop_Click() override { m_log.add(QStringLiteral("btStop")); autoNext = false; }
    void btPause_Click() override { m_log.add(QStringLiteral("btPause")); }
    void btPlaySentence_click() override { m_log.add(QStringLiteral("btPlaySentence")); }
    void btRepeatSentence_Click() override { m_log.add(QStringLiteral("btRepeatSentence")); }
    void btAutoRepeat_Click() override { m_log.add(QStringLiteral("btAutoRepeat")); }
    void btPrev_Click() override { m_log.add(QStringLiteral("btPrev")); }
    void btNext_Click() override { m_log.add(QStringLiteral("btNext")); }

private:
    Log &m_log;
};

class FakePages final : public EventPages
{
public:
    explicit FakePages(Log &log) : m_log(log) {}
    PageShowState show;
    bool autoE = false, autoC = false, marked = true, title = true;
    QHash<int, int> degrees;
    int words = 5;

    PageShowState ShowState() const override { return show; }
    void SetShowState(const PageShowState &s) override
    {
        show = s;
        m_log.add(QStringLiteral("SetShowState E%1 C%2 Z%3 M%4").arg(s.englishShown).arg(s.chineseShown)
                      .arg(s.commentShown).arg(s.mixedLayout));
    }
    void StyleWord(const QString &frame, const QString &labelId, int k, const QVariantMap &props) override
    {
        m_log.add(QStringLiteral("StyleWord %1 %2 %3 %4")
                      .arg(frame, labelId)
                      .arg(k)
                      .arg(QString::fromUtf8(QJsonDocument(QJsonObject::fromVariantMap(props)).toJson(QJsonDocument::Compact))));
    }
    void ShowESentenceDocContent(bool s) override { m_log.add(QStringLiteral("EDoc %1").arg(s)); }
    void ShowCSentenceDocContent(bool s) override { m_log.add(QStringLiteral("CDoc %1").arg(s)); }
    bool AutoShowEnglish() const override { return autoE; }
    bool AutoShowChinese() const override { return autoC; }
    void SetAutoShow(bool e, bool c) override { autoE = e; autoC = c; }
    void ShowCurSentence(SentenceText t, int n, bool c) override
    {
        m_log.add(QStringLiteral("Cur %1 %2 %3").arg(int(t)).arg(n).arg(c));
    }
    void ShowSentenceMark(SentenceText t, int n, bool s) override
    {
        m_log.add(QStringLiteral("Mark %1 %2 %3").arg(int(t)).arg(n).arg(s));
    }
    void ShowAllMarkedSentences(bool s) override { marked = s; m_log.add(QStringLiteral("AllMarked %1").arg(s)); }
    bool MarkedShown() const override { return marked; }
    int SentenceDegree(int n) const override { return degrees.value(n); }
    void SetSentenceDegree(int n, int d) override { degrees[n] = d; }
    bool HasTitleSentence() const override { return title; }
    QString englishFrame = QStringLiteral("English"); // "EnglishChinese" in the mixed layout
    QString FrameOf(SentenceText t) const override
    {
        return t == SentenceText::English ? englishFrame : QStringLiteral("Chinese");
    }
    int WordCount(int) override { return words; }

private:
    Log &m_log;
};

class FakeBook final : public BookMarks
{
public:
    explicit FakeBook(Log &log) : m_log(log) {}
    QHash<QString, bool> marks; // "k100/2", "n100/2"
    QHash<QString, QString> means;
    QHash<int, int> degrees;
    bool refuse = false;

    bool SetKeyword(int no, int k, int len, bool set, bool &now) override { return Toggle('k', no, k, len, set, now); }
    bool SetNewword(int no, int k, int len, bool set, bool &now) override { return Toggle('n', no, k, len, set, now); }
    bool SetDegree(int no, int d) override
    {
        if (refuse)
            return false;
        degrees[no] = d;
        m_log.add(QStringLiteral("SetDegree %1 %2").arg(no).arg(d));
        return true;
    }
    QString WordMean(int no, const QString &w) const override { return means.value(QString::number(no) + w); }
    bool SetWordMean(int no, const QString &w, const QString &m) override
    {
        if (refuse)
            return false;
        means[QString::number(no) + w] = m;
        m_log.add(QStringLiteral("SetWordMean %1 %2 %3").arg(no).arg(w, m));
        return true;
    }
    QString SentenceExample(int no) const override { return QStringLiteral("example %1").arg(no); }
    QString SourceReference(int no) const override { return QStringLiteral("#kbt|b.dat|%1").arg(no); }

private:
    bool Toggle(char kind, int no, int k, int len, bool set, bool &now)
    {
        if (refuse)
            return false;
        const QString key = QStringLiteral("%1%2/%3").arg(QLatin1Char(kind)).arg(no).arg(k);
        now = set ? true : !marks.value(key);
        marks[key] = now;
        m_log.add(QStringLiteral("Set%1 %2 %3 len%4 -> %5").arg(QLatin1Char(kind)).arg(no).arg(k).arg(len).arg(now));
        return true;
    }
    Log &m_log;
};

class FakeDict final : public WordDictionary
{
public:
    explicit FakeDict(Log &log) : m_log(log) {}
    QString savedWord, savedMeaning, savedThird;
    bool hasSaved = false;
    int addResult = 1;

    void PopSearch(const QString &w, const QRectF &r, const QString &m) override
    {
        m_log.add(QStringLiteral("Pop %1 %2,%3 [%4]").arg(w).arg(r.x()).arg(r.y()).arg(m));
    }
    bool SavedWord(QString &w, QString &m, QString &t) override
    {
        w = savedWord;
        m = savedMeaning;
        t = savedThird;
        return hasSaved;
    }
    int AddToNotebook(const QString &w, const QString &m, const QString &t, const QString &s, const QString &e) override
    {
        m_log.add(QStringLiteral("AddToNotebook %1|%2|%3|%4|%5").arg(w, m, t, s, e));
        return addResult;
    }

private:
    Log &m_log;
};

class FakeSound final : public WordSoundPort
{
public:
    explicit FakeSound(Log &log) : m_log(log) {}
    bool Speak(const QString &w) override { m_log.add(QStringLiteral("Speak ") + w); return true; }
    void Beep() override { m_log.add(QStringLiteral("Beep")); }

private:
    Log &m_log;
};

class FakeReloader final : public LessonReloader
{
public:
    explicit FakeReloader(Log &log) : m_log(log) {}
    void ReloadLesson(bool regen) override { m_log.add(QStringLiteral("Reload %1").arg(regen)); }
    void ShowMessage(const QString &t) override { m_log.add(QStringLiteral("Message ") + t); }

private:
    Log &m_log;
};

// Page events as the agent reports them.
inline pages::PageEvent Word(const QString &sink, int n, int k, const QString &text, int button = 1, bool ctrl = false,
                             bool alt = false, const QString &prefix = QStringLiteral("ste"))
{
    pages::PageEvent e;
    e.sink = sink;
    e.type = QStringLiteral("mousedown");
    e.frame = QStringLiteral("English");
    e.srcTag = QStringLiteral("A");
    e.srcId = QStringLiteral("wrd%1").arg(k);
    e.parentId = prefix + QString::number(n);
    e.text = text;
    e.button = button;
    e.ctrl = ctrl;
    e.alt = alt;
    e.rect = QRectF(10, 20, 30, 12);
    return e;
}

inline pages::PageEvent Label(const QString &sink, const QString &id, int button = 1, bool ctrl = false,
                              bool alt = false, const QString &type = QStringLiteral("mousedown"))
{
    pages::PageEvent e;
    e.sink = sink;
    e.type = type;
    e.frame = QStringLiteral("English");
    e.srcTag = QStringLiteral("LABEL");
    e.srcId = id;
    e.button = button;
    e.ctrl = ctrl;
    e.alt = alt;
    return e;
}

inline pages::PageEvent Key(const QString &sink, int code)
{
    pages::PageEvent e;
    e.sink = sink;
    e.type = QStringLiteral("keydown");
    e.keyCode = code;
    return e;
}

} // namespace eventsfakes
