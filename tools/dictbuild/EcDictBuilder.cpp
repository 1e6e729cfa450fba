#include "EcDictBuilder.h"

#include "notedict/EcDictFormat.h"
#include "notedict/WordFolding.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

namespace mvx {

using namespace ecdict;

namespace {

constexpr uint32_t UnknownRank = 0x7fffffff;

struct Entry
{
    std::string head, phonetic, translation, pos, tag, exchange;
    uint8_t collins = 0, oxford = 0;
    uint32_t rank = UnknownRank;
};

struct Base
{
    std::string base; // folded key of the base word
    std::string codes;
};

struct KeyData
{
    int entry = -1; // index into entries
    std::vector<Base> bases;
};

// Splits one CSV record starting at pos; returns false at the end of the data.
// Quoted fields may hold commas, doubled quotes and line breaks.
bool NextRecord(const QByteArray &data, qsizetype &pos, std::vector<std::string> &fields)
{
    fields.clear();
    const qsizetype n = data.size();
    if (pos >= n)
        return false;
    const char *d = data.constData();
    std::string field;
    bool quoted = false;
    while (pos < n) {
        const char c = d[pos++];
        if (quoted) {
            if (c == '"') {
                if (pos < n && d[pos] == '"') {
                    field += '"';
                    ++pos;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == '"' && field.empty()) {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            break;
        } else if (c != '\r') {
            field += c;
        }
    }
    fields.push_back(std::move(field));
    return true;
}

// ECDICT writes line breaks inside a field as the two characters "\n".
std::string Unescape(const std::string &s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char c = s[i + 1];
            if (c == 'n') { out += '\n'; ++i; continue; }
            if (c == 'r') { ++i; continue; }
            if (c == 't') { out += ' '; ++i; continue; }
        }
        out += s[i];
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

std::string Trim(const std::string &s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return s.substr(b, e - b);
}

std::string Fold(const std::string &word)
{
    // Plain ASCII (almost every key) is folded here; anything else goes through the
    // reader's own folding so both sides agree.
    std::string s;
    s.reserve(word.size());
    bool blank = false;
    for (unsigned char c : word) {
        if (c >= 0x80 || c == 0x60 || c == 0)
            return FoldKey(QString::fromUtf8(word.data(), qsizetype(word.size()))).toStdString();
        if (c == ' ' || (c >= '\t' && c <= '\r')) {
            blank = true;
            continue;
        }
        if (blank && !s.empty())
            s += ' ';
        blank = false;
        s += char(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return s;
}

uint32_t ToUInt(const std::string &s)
{
    uint32_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return 0;
        v = v * 10 + uint32_t(c - '0');
        if (v > 100000000)
            return 0;
    }
    return v;
}

// Only plain single words are offered as nearest spellings.
bool SuggestableKey(const std::string &k)
{
    if (k.empty() || k.size() >= MaxSuggestLength)
        return false;
    for (char c : k)
        if (!((c >= 'a' && c <= 'z') || c == '-' || c == '\''))
            return false;
    return k.front() >= 'a' && k.front() <= 'z';
}

void PutU8(std::string &b, uint32_t v) { b += char(v & 0xff); }
void PutU16(std::string &b, uint32_t v) { PutU8(b, v); PutU8(b, v >> 8); }
void PutU32(std::string &b, uint32_t v) { PutU16(b, v & 0xffff); PutU16(b, v >> 16); }
void PutU64(std::string &b, uint64_t v) { PutU32(b, uint32_t(v)); PutU32(b, uint32_t(v >> 32)); }
void PutStr(std::string &b, const std::string &s)
{
    // Cut at 65535 bytes, then back to a whole UTF-8 character.
    size_t n = std::min<size_t>(s.size(), 0xffff);
    while (n < s.size() && n > 0 && (uchar(s[n]) & 0xc0) == 0x80)
        --n;
    PutU16(b, uint32_t(n));
    b.append(s, 0, n);
}

bool WriteAtomically(const QString &path, const std::string &bytes, QString &error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !f.commit()) {
        error = QStringLiteral("cannot write %1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

} // namespace

bool EcDictBuilder::build(const QString &csvPath, const QString &lemmaPath, const QString &outBase)
{
    m_stats = {};
    m_error.clear();
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot read %1").arg(csvPath);
        return false;
    }
    const QByteArray data = csv.readAll();
    qsizetype pos = 0;
    if (data.startsWith("\xEF\xBB\xBF"))
        pos = 3;
    std::vector<std::string> f;
    if (!NextRecord(data, pos, f)) {
        m_error = QStringLiteral("%1 is empty").arg(csvPath);
        return false;
    }
    auto column = [&f](const char *name) {
        for (size_t i = 0; i < f.size(); ++i)
            if (Trim(f[i]) == name)
                return int(i);
        return -1;
    };
    const int cWord = column("word"), cPhon = column("phonetic"), cDef = column("definition"),
              cTrans = column("translation"), cPos = column("pos"), cCollins = column("collins"),
              cOxford = column("oxford"), cTag = column("tag"), cBnc = column("bnc"), cFrq = column("frq"),
              cExch = column("exchange");
    if (cWord < 0 || cTrans < 0) {
        m_error = QStringLiteral("%1 is not an ECDICT table (no word / translation columns)").arg(csvPath);
        return false;
    }
    const int needed = std::max({cWord, cPhon, cDef, cTrans, cPos, cCollins, cOxford, cTag, cBnc, cFrq, cExch});
    auto get = [&f](int c) -> std::string { return c >= 0 && c < int(f.size()) ? f[size_t(c)] : std::string(); };

    std::vector<Entry> entries;
    entries.reserve(800000);
    std::unordered_map<std::string, KeyData> keys;
    keys.reserve(1000000);
    while (NextRecord(data, pos, f)) {
        if (f.size() == 1 && f[0].empty())
            continue; // blank line
        ++m_stats.rows;
        if (int(f.size()) <= std::max(cWord, cTrans) || int(f.size()) > needed + 8) {
            ++m_stats.skippedRows;
            continue;
        }
        Entry e;
        e.head = Trim(get(cWord));
        if (e.head.empty() || e.head.size() > 200) {
            ++m_stats.skippedRows;
            continue;
        }
        e.translation = Unescape(get(cTrans));
        if (e.translation.empty()) {
            // A few words only have an English definition: keep its first lines.
            std::string def = Unescape(get(cDef));
            size_t cut = 0;
            for (int line = 0; line < 3 && cut != std::string::npos; ++line)
                cut = def.find('\n', cut + 1);
            e.translation = def.substr(0, cut);
        }
        e.phonetic = Trim(get(cPhon));
        e.pos = Trim(get(cPos));
        e.tag = Trim(get(cTag));
        e.exchange = Trim(get(cExch));
        e.collins = uint8_t(std::min<uint32_t>(ToUInt(get(cCollins)), 5));
        e.oxford = ToUInt(get(cOxford)) ? 1 : 0;
        const uint32_t frq = ToUInt(get(cFrq)), bnc = ToUInt(get(cBnc));
        e.rank = frq ? frq : bnc ? bnc : UnknownRank;
        KeyData &kd = keys[Fold(e.head)];
        if (kd.entry >= 0 && !entries[size_t(kd.entry)].translation.empty())
            continue; // same word twice: the first one with a meaning wins
        if (kd.entry >= 0)
            entries[size_t(kd.entry)] = std::move(e);
        else {
            kd.entry = int(entries.size());
            entries.push_back(std::move(e));
        }
    }

    // Inflections: a form's own "0:base/1:codes", then forms named by their base's exchange.
    std::unordered_map<std::string, std::vector<Base>> reverse;
    std::unordered_map<std::string, Base> own;
    for (const Entry &e : entries) {
        if (e.exchange.empty())
            continue;
        const std::string self = Fold(e.head);
        std::string lemma, codes;
        size_t start = 0;
        while (start <= e.exchange.size()) {
            size_t end = e.exchange.find('/', start);
            if (end == std::string::npos)
                end = e.exchange.size();
            const std::string part = e.exchange.substr(start, end - start);
            start = end + 1;
            if (part.size() < 3 || part[1] != ':')
                continue;
            const char code = part[0];
            const std::string form = Trim(part.substr(2));
            if (code == '0')
                lemma = form;
            else if (code == '1')
                codes = form;
            else if (std::string("pdi3rts").find(code) != std::string::npos) {
                const std::string fk = Fold(form);
                if (fk == self || fk.empty())
                    continue;
                auto &list = reverse[fk];
                auto it = std::find_if(list.begin(), list.end(), [&](const Base &b) { return b.base == self; });
                if (it == list.end())
                    list.push_back({self, std::string(1, code)});
                else if (it->codes.find(code) == std::string::npos)
                    it->codes += code;
            }
        }
        if (!lemma.empty() && Fold(lemma) != self)
            own[self] = {Fold(lemma), codes};
    }
    std::unordered_map<std::string, std::vector<std::string>> lemmaOf;
    if (!lemmaPath.isEmpty()) {
        QFile lf(lemmaPath);
        if (!lf.open(QIODevice::ReadOnly)) {
            m_error = QStringLiteral("cannot read %1").arg(lemmaPath);
            return false;
        }
        while (!lf.atEnd()) {
            const QByteArray line = lf.readLine().trimmed();
            if (line.isEmpty() || line.startsWith(';'))
                continue;
            const int arrow = line.indexOf("->");
            if (arrow < 0)
                continue;
            QByteArray lemma = line.left(arrow).trimmed();
            if (const int slash = lemma.indexOf('/'); slash >= 0)
                lemma.truncate(slash);
            const std::string lk = Fold(lemma.toStdString());
            for (const QByteArray &form : line.mid(arrow + 2).split(',')) {
                const std::string fk = Fold(form.trimmed().toStdString());
                if (!fk.empty() && fk != lk)
                    lemmaOf[fk].push_back(lk);
            }
        }
    }
    const auto hasEntry = [&](const std::string &k) {
        auto it = keys.find(k);
        return it != keys.end() && it->second.entry >= 0;
    };
    const auto rankOf = [&](const std::string &k) { return entries[size_t(keys[k].entry)].rank; };
    for (auto &[form, list] : reverse) {
        std::erase_if(list, [&](const Base &b) { return !hasEntry(b.base); });
        std::stable_sort(list.begin(), list.end(), [&](const Base &a, const Base &b) { return rankOf(a.base) < rankOf(b.base); });
        if (list.size() > 3)
            list.resize(3);
    }
    for (auto &[k, b] : own) {
        if (!hasEntry(b.base))
            continue;
        auto rit = reverse.find(k);
        if (b.codes.empty() && rit != reverse.end())
            for (const Base &r : rit->second)
                if (r.base == b.base)
                    b.codes = r.codes;
        keys[k].bases.push_back(b);
    }
    for (auto &[form, list] : reverse) {
        if (own.count(form) && hasEntry(own[form].base))
            continue;
        auto &kd = keys[form];
        kd.bases = list;
    }
    for (auto &[form, lemmas] : lemmaOf) {
        auto it = keys.find(form);
        if (it != keys.end() && (!it->second.bases.empty()
                                 || (it->second.entry >= 0 && !entries[size_t(it->second.entry)].translation.empty())))
            continue;
        for (const std::string &l : lemmas)
            if (hasEntry(l) && keys[form].bases.size() < 3)
                keys[form].bases.push_back({l, std::string()});
    }

    // Sorted keys, the .lib records, then the index.
    std::vector<const std::string *> order;
    order.reserve(keys.size());
    for (auto &[k, kd] : keys)
        if (kd.entry >= 0 || !kd.bases.empty())
            order.push_back(&k);
    std::sort(order.begin(), order.end(), [](const std::string *a, const std::string *b) { return *a < *b; });

    const uint32_t stamp = QRandomGenerator::global()->generate();
    std::string lib;
    lib.reserve(size_t(data.size()) / 2);
    lib.append(LibMagic, 8);
    PutU32(lib, FormatVersion);
    PutU32(lib, stamp);
    std::string pool;
    std::vector<KeyRecord> table;
    table.reserve(order.size());
    struct Sugg
    {
        uint32_t len, rank, index, letters;
    };
    std::vector<Sugg> sugg;
    for (const std::string *k : order) {
        const KeyData &kd = keys[*k];
        table.push_back({uint32_t(pool.size()), uint32_t(lib.size())});
        pool.append(*k);
        pool += '\0';
        if (kd.entry >= 0) {
            const Entry &e = entries[size_t(kd.entry)];
            PutU8(lib, FlagHasEntry);
            for (const std::string *s : {&e.head, &e.phonetic, &e.translation, &e.pos, &e.tag, &e.exchange})
                PutStr(lib, *s);
            PutU8(lib, e.collins);
            PutU8(lib, e.oxford);
            PutU32(lib, e.rank);
            ++m_stats.entries;
            if (SuggestableKey(*k) && (e.rank != UnknownRank || !e.tag.empty() || e.collins || e.oxford))
                sugg.push_back({uint32_t(k->size()), e.rank, uint32_t(table.size() - 1), LetterMask(k->data(), int(k->size()))});
        } else {
            PutU8(lib, 0);
            ++m_stats.formKeys;
        }
        PutU8(lib, uint32_t(kd.bases.size()));
        for (const Base &b : kd.bases) {
            PutStr(lib, entries[size_t(keys[b.base].entry)].head);
            PutStr(lib, b.codes);
        }
        if (lib.size() > 0xffff0000u) {
            m_error = QStringLiteral("dictionary data too large");
            return false;
        }
    }
    std::sort(sugg.begin(), sugg.end(), [](const Sugg &a, const Sugg &b) {
        return a.len != b.len ? a.len < b.len : a.rank < b.rank;
    });
    m_stats.suggestWords = int(sugg.size());

    std::string idx;
    const uint32_t keyTableOffset = uint32_t(sizeof(IdxHeader));
    const uint32_t keyPoolOffset = keyTableOffset + uint32_t(table.size() * sizeof(KeyRecord));
    const uint32_t suggestOffset = keyPoolOffset + uint32_t(pool.size());
    const uint32_t bucketOffset = suggestOffset + uint32_t(sugg.size() * sizeof(SuggestRecord));
    idx.append(IdxMagic, 8);
    PutU32(idx, FormatVersion);
    PutU32(idx, stamp);
    PutU32(idx, uint32_t(table.size()));
    PutU32(idx, keyTableOffset);
    PutU32(idx, keyPoolOffset);
    PutU32(idx, uint32_t(pool.size()));
    PutU32(idx, suggestOffset);
    PutU32(idx, uint32_t(sugg.size()));
    PutU32(idx, bucketOffset);
    PutU32(idx, 0);
    PutU64(idx, lib.size());
    for (const KeyRecord &r : table) {
        PutU32(idx, r.keyOffset);
        PutU32(idx, r.libOffset);
    }
    idx.append(pool);
    for (const Sugg &s : sugg) {
        PutU32(idx, s.index);
        PutU32(idx, s.rank);
        PutU32(idx, s.letters);
    }
    size_t si = 0;
    for (uint32_t len = 0; len <= MaxSuggestLength; ++len) {
        while (si < sugg.size() && sugg[si].len < len)
            ++si;
        PutU32(idx, uint32_t(si));
    }
    // The data file first: a reader never pairs a new index with an old data file
    // unnoticed, because both carry the same stamp.
    return WriteAtomically(outBase + QStringLiteral(".lib"), lib, m_error)
        && WriteAtomically(outBase + QStringLiteral(".idx"), idx, m_error);
}

} // namespace mvx
