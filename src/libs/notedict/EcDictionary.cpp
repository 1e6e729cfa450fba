#include "EcDictionary.h"

#include "EcDictFormat.h"
#include "WordFolding.h"

#include <algorithm>
#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the dictionary files are read in place as little-endian");

namespace mvx {

using namespace ecdict;

EcDictionary::~EcDictionary()
{
    close();
}

void EcDictionary::close()
{
    if (m_idx)
        m_idxFile.unmap(const_cast<uchar *>(m_idx));
    if (m_lib)
        m_libFile.unmap(const_cast<uchar *>(m_lib));
    m_idx = m_lib = nullptr;
    m_idxFile.close();
    m_libFile.close();
    m_idxSize = m_libSize = 0;
    m_keyCount = 0;
}

bool EcDictionary::open(const QString &idxPath, const QString &libPath)
{
    close();
    m_error.clear();
    auto fail = [this](const QString &why) {
        m_error = why;
        close();
        return false;
    };
    m_idxFile.setFileName(idxPath);
    m_libFile.setFileName(libPath);
    if (!m_idxFile.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("无法打开词典索引文件 %1").arg(idxPath));
    if (!m_libFile.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("无法打开词典数据文件 %1").arg(libPath));
    m_idxSize = m_idxFile.size();
    m_libSize = m_libFile.size();
    if (m_idxSize < qint64(sizeof(IdxHeader)) || m_libSize < qint64(sizeof(LibHeader)))
        return fail(QStringLiteral("词典文件已损坏（太短）"));
    m_idx = m_idxFile.map(0, m_idxSize);
    m_lib = m_libFile.map(0, m_libSize);
    if (!m_idx || !m_lib)
        return fail(QStringLiteral("无法读取词典文件"));

    IdxHeader h;
    LibHeader lh;
    std::memcpy(&h, m_idx, sizeof h);
    std::memcpy(&lh, m_lib, sizeof lh);
    if (std::memcmp(h.magic, IdxMagic, 8) != 0 || std::memcmp(lh.magic, LibMagic, 8) != 0
        || h.version != FormatVersion || lh.version != FormatVersion)
        return fail(QStringLiteral("不是本程序的词典文件，或版本不符"));
    if (h.stamp != lh.stamp || h.libSize != quint64(m_libSize))
        return fail(QStringLiteral("词典索引文件与数据文件不配套"));
    const auto within = [this](quint64 off, quint64 len) { return off + len <= quint64(m_idxSize); };
    if (!within(h.keyTableOffset, quint64(h.keyCount) * sizeof(KeyRecord)) || !within(h.keyPoolOffset, h.keyPoolSize)
        || !within(h.suggestOffset, quint64(h.suggestCount) * sizeof(SuggestRecord))
        || !within(h.bucketOffset, (MaxSuggestLength + 1) * 4) || h.keyPoolSize == 0
        || m_idx[h.keyPoolOffset + h.keyPoolSize - 1] != 0)
        return fail(QStringLiteral("词典索引文件已损坏"));
    m_keyCount = h.keyCount;
    m_keyTable = h.keyTableOffset;
    m_keyPool = h.keyPoolOffset;
    m_keyPoolSize = h.keyPoolSize;
    m_suggest = h.suggestOffset;
    m_suggestCount = h.suggestCount;
    m_buckets = h.bucketOffset;
    return true;
}

const char *EcDictionary::keyAt(int keyIndex) const
{
    const quint32 off = ReadU32(m_idx + m_keyTable + quint64(keyIndex) * sizeof(KeyRecord));
    if (off >= m_keyPoolSize)
        return "";
    return reinterpret_cast<const char *>(m_idx + m_keyPool + off);
}

int EcDictionary::findKey(const QByteArray &foldedKey) const
{
    if (!m_idx || foldedKey.isEmpty())
        return -1;
    int lo = 0, hi = int(m_keyCount) - 1;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        const int c = std::strcmp(keyAt(mid), foldedKey.constData());
        if (c == 0)
            return mid;
        if (c < 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return -1;
}

namespace {
// Bounds-checked reader over one .lib record.
struct Cursor
{
    const uchar *p;
    const uchar *end;
    bool ok = true;
    bool need(qint64 n)
    {
        if (!ok || end - p < n)
            ok = false;
        return ok;
    }
    quint32 u8()
    {
        return need(1) ? *p++ : 0;
    }
    quint32 u32()
    {
        if (!need(4))
            return 0;
        const quint32 v = ReadU32(p);
        p += 4;
        return v;
    }
    QString str()
    {
        if (!need(2))
            return {};
        const int n = ReadU16(p);
        p += 2;
        if (!need(n))
            return {};
        const QString s = QString::fromUtf8(reinterpret_cast<const char *>(p), n);
        p += n;
        return s;
    }
};
} // namespace

bool EcDictionary::readRecord(int keyIndex, Record &out) const
{
    if (!m_idx || keyIndex < 0 || quint32(keyIndex) >= m_keyCount)
        return false;
    const quint32 off = ReadU32(m_idx + m_keyTable + quint64(keyIndex) * sizeof(KeyRecord) + 4);
    if (off < sizeof(LibHeader) || off >= m_libSize)
        return false;
    Cursor c{m_lib + off, m_lib + m_libSize};
    const quint32 flags = c.u8();
    out.hasEntry = flags & FlagHasEntry;
    if (out.hasEntry) {
        DictEntry &e = out.entry;
        e.headWord = c.str();
        e.phonetic = c.str();
        e.translation = c.str().split(u'\n', Qt::SkipEmptyParts);
        e.pos = c.str();
        e.tags = c.str().split(u' ', Qt::SkipEmptyParts);
        e.exchange = c.str();
        e.collins = int(c.u8());
        e.oxford = c.u8() != 0;
        e.rank = c.u32();
    }
    const quint32 n = c.u8();
    for (quint32 i = 0; i < n && c.ok; ++i) {
        const QString base = c.str();
        const QString codes = c.str();
        out.bases.append({base, codes});
    }
    if (!c.ok || (out.hasEntry && out.entry.headWord.isEmpty()))
        return false;
    return true;
}

DictEntry EcDictionary::entry(const QString &word) const
{
    Record r;
    if (readRecord(findKey(FoldKey(word)), r) && r.hasEntry)
        return r.entry;
    return {};
}

DictLookup EcDictionary::lookup(const QString &text, int maxSuggestions) const
{
    DictLookup result;
    result.asked = text;
    const QStringList candidates = LookupCandidates(text);
    for (const QString &cand : candidates) {
        Record r;
        if (!readRecord(findKey(FoldKey(cand)), r))
            continue;
        DictLookup found;
        found.asked = text;
        found.word = cand;
        if (r.hasEntry)
            found.entry = r.entry;
        for (const auto &[base, codes] : r.bases) {
            DictEntry be = entry(base);
            if (!be.isValid() || QString::compare(be.headWord, cand, Qt::CaseInsensitive) == 0)
                continue;
            found.bases.append({codes, RelationText(be.headWord, codes), be});
        }
        if (found.found())
            return found;
    }
    result.word = candidates.value(0, text.trimmed());
    if (!isOpen() || maxSuggestions <= 0)
        return result;
    for (const QString &cand : candidates) {
        result.suggestions = nearest(cand, maxSuggestions);
        if (!result.suggestions.isEmpty())
            break;
    }
    return result;
}

namespace {
// Optimal string alignment distance (adjacent swaps count 1), giving up above bound.
// Only the band of cells within bound of the diagonal can stay within bound.
int BoundedDistance(const char *a, int la, const char *b, int lb, int bound)
{
    if (std::abs(la - lb) > bound || la >= 62 || lb >= 62)
        return bound + 1;
    const int big = bound + 1;
    int prev2[64], prev[64], cur[64];
    for (int j = 0; j <= lb; ++j)
        prev[j] = j <= bound ? j : big;
    for (int i = 1; i <= la; ++i) {
        const int lo = std::max(1, i - bound), hi = std::min(lb, i + bound);
        cur[0] = i <= bound ? i : big;
        if (lo > 1)
            cur[lo - 1] = big;
        int rowMin = lo == 1 ? cur[0] : big;
        for (int j = lo; j <= hi; ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            int v = prev[j - 1] + cost;
            if (j < i + bound)
                v = std::min(v, prev[j] + 1);
            v = std::min(v, cur[j - 1] + 1);
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                v = std::min(v, prev2[j - 2] + 1);
            cur[j] = std::min(v, big);
            rowMin = std::min(rowMin, cur[j]);
        }
        if (hi < lb)
            cur[hi + 1] = big;
        if (rowMin > bound)
            return big;
        std::memcpy(prev2, prev, sizeof(int) * (lb + 1));
        std::memcpy(prev, cur, sizeof(int) * (lb + 1));
    }
    return prev[lb];
}
} // namespace

QStringList EcDictionary::nearest(const QString &word, int max) const
{
    if (!m_idx || max <= 0)
        return {};
    const QByteArray key = FoldKey(word);
    const int len = int(key.size());
    if (len == 0 || len >= int(MaxSuggestLength) - 2)
        return {};
    const int bound = len <= 4 ? 1 : 2;
    const quint32 queryLetters = LetterMask(key.constData(), len);
    struct Hit
    {
        int dist;
        quint32 rank;
        quint32 keyIndex;
    };
    std::vector<Hit> hits;
    const auto bucket = [this](int l) { return ReadU32(m_idx + m_buckets + quint64(l) * 4); };
    const int from = std::max(1, len - bound), to = std::min(int(MaxSuggestLength) - 1, len + bound);
    const quint32 first = std::min(bucket(from), m_suggestCount);
    const quint32 last = std::min(bucket(to + 1), m_suggestCount);
    for (quint32 i = first; i < last; ++i) {
        const uchar *rec = m_idx + m_suggest + quint64(i) * sizeof(SuggestRecord);
        const quint32 letters = ReadU32(rec + 8);
        const int onlyQuery = std::popcount(queryLetters & ~letters), onlyKey = std::popcount(letters & ~queryLetters);
        if (std::max(onlyQuery, onlyKey) > bound)
            continue;
        const quint32 ki = ReadU32(rec);
        if (ki >= m_keyCount)
            continue;
        const char *k = keyAt(int(ki));
        const int kl = int(std::strlen(k));
        const int d = BoundedDistance(key.constData(), len, k, kl, bound);
        if (d <= bound && d > 0)
            hits.push_back({d, ReadU32(rec + 4), ki});
    }
    std::sort(hits.begin(), hits.end(), [](const Hit &a, const Hit &b) {
        return a.dist != b.dist ? a.dist < b.dist : a.rank < b.rank;
    });
    QStringList out;
    for (const Hit &h : hits) {
        Record r;
        if (readRecord(int(h.keyIndex), r) && r.hasEntry && !out.contains(r.entry.headWord))
            out << r.entry.headWord;
        if (out.size() >= max)
            break;
    }
    return out;
}

} // namespace mvx
