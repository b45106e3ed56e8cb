#include "NameGrams.h"

#include <algorithm>

namespace {
constexpr quint32 Pairs = 64 * 64;
constexpr quint32 Triples = 64 * 64 * 64;
} // namespace

int NameGrams::letter(char32_t c) const
{
    if (c < 128)
        return m_ascii[c];
    const auto it = m_wide.find(c);
    return it == m_wide.end() ? Other : it->second;
}

void NameGrams::build(const std::vector<std::u32string_view>& names)
{
    *this = NameGrams();
    // The most frequent letters get numbers of their own.
    std::unordered_map<char32_t, qint64> counts;
    std::array<qint64, 128> ascii{};
    for (const std::u32string_view name : names)
        for (const char32_t c : name) {
            if (c < 128)
                ++ascii[c];
            else
                ++counts[c];
        }
    for (char32_t c = 0; c < 128; ++c)
        if (ascii[c])
            counts[c] = ascii[c];
    std::vector<std::pair<qint64, char32_t>> byCount;
    for (const auto& [c, n] : counts)
        byCount.push_back({-n, c});
    std::sort(byCount.begin(), byCount.end());
    m_ascii.fill(Other);
    for (size_t i = 0; i < byCount.size() && i < size_t(Other); ++i) {
        const char32_t c = byCount[i].second;
        if (c < 128)
            m_ascii[c] = quint8(i);
        else
            m_wide[c] = quint8(i);
    }

    // Two passes over the grams of every row: count, then place; a stamp per gram keeps
    // a gram that a row holds twice from being counted twice.
    const int rows = int(names.size() / 2);
    m_mask.assign(size_t(rows), 0);
    m_pairStart.assign(Pairs + 1, 0);
    m_tripleStart.assign(Triples + 1, 0);
    std::vector<int> pairStamp(Pairs, -1), tripleStamp(Triples, -1);
    // The letters' numbers, name after name.
    std::vector<quint8> letters;
    std::vector<size_t> nameStart{0};
    for (const std::u32string_view name : names) {
        for (const char32_t c : name)
            letters.push_back(quint8(letter(c)));
        nameStart.push_back(letters.size());
    }
    auto each = [&](int pass, auto&& onPair, auto&& onTriple) {
        for (int row = 0; row < rows; ++row) {
            const int stamp = pass * rows + row;
            for (size_t f = size_t(row) * 2; f < size_t(row) * 2 + 2; ++f) {
                const quint8* ids = letters.data() + nameStart[f];
                const size_t length = nameStart[f + 1] - nameStart[f];
                for (size_t i = 0; i < length; ++i) {
                    if (pass == 0)
                        m_mask[size_t(row)] |= quint64(1) << ids[i];
                    if (i + 1 < length) {
                        const quint32 p = quint32(ids[i]) << 6 | ids[i + 1];
                        if (pairStamp[p] != stamp) {
                            pairStamp[p] = stamp;
                            onPair(p, row);
                        }
                    }
                    if (i + 2 < length) {
                        const quint32 t = quint32(ids[i]) << 12 | quint32(ids[i + 1]) << 6 | ids[i + 2];
                        if (tripleStamp[t] != stamp) {
                            tripleStamp[t] = stamp;
                            onTriple(t, row);
                        }
                    }
                }
            }
        }
    };
    each(0, [&](quint32 p, int) { ++m_pairStart[p + 1]; }, [&](quint32 t, int) { ++m_tripleStart[t + 1]; });
    for (quint32 g = 0; g < Pairs; ++g)
        m_pairStart[g + 1] += m_pairStart[g];
    for (quint32 g = 0; g < Triples; ++g)
        m_tripleStart[g + 1] += m_tripleStart[g];
    m_pairRows.resize(m_pairStart[Pairs]);
    m_tripleRows.resize(m_tripleStart[Triples]);
    std::vector<quint32> pairAt(m_pairStart.begin(), m_pairStart.end() - 1);
    std::vector<quint32> tripleAt(m_tripleStart.begin(), m_tripleStart.end() - 1);
    each(1, [&](quint32 p, int row) { m_pairRows[pairAt[p]++] = row; },
         [&](quint32 t, int row) { m_tripleRows[tripleAt[t]++] = row; });
}

void NameGrams::gramsOf(std::u32string_view last, std::u32string_view first, std::vector<quint32>& pairs,
                        std::vector<quint32>& triples, quint64& mask) const
{
    pairs.clear();
    triples.clear();
    mask = 0;
    for (const std::u32string_view name : {last, first}) {
        for (size_t i = 0; i < name.size(); ++i) {
            const quint32 a = quint32(letter(name[i]));
            mask |= quint64(1) << a;
            if (i + 1 < name.size())
                pairs.push_back(a << 6 | quint32(letter(name[i + 1])));
            if (i + 2 < name.size())
                triples.push_back(a << 12 | quint32(letter(name[i + 1])) << 6 | quint32(letter(name[i + 2])));
        }
    }
    for (auto* v : {&pairs, &triples}) {
        std::sort(v->begin(), v->end());
        v->erase(std::unique(v->begin(), v->end()), v->end());
    }
}

void NameGrams::add(std::u32string_view last, std::u32string_view first)
{
    const int row = int(m_mask.size());
    std::vector<quint32> pairs, triples;
    quint64 mask = 0;
    gramsOf(last, first, pairs, triples, mask);
    m_mask.push_back(mask);
    for (const quint32 p : pairs)
        m_pairAdded[p].push_back(row);
    for (const quint32 t : triples)
        m_tripleAdded[t].push_back(row);
}

NameGrams::Posting NameGrams::posting(bool triple, quint32 gram) const
{
    const auto& start = triple ? m_tripleStart : m_pairStart;
    const auto& rows = triple ? m_tripleRows : m_pairRows;
    const auto& added = triple ? m_tripleAdded : m_pairAdded;
    Posting p;
    if (!start.empty()) {
        p.begin = rows.data() + start[gram];
        p.end = rows.data() + start[gram + 1];
    }
    const auto it = added.find(gram);
    if (it != added.end())
        p.added = &it->second;
    return p;
}

bool NameGrams::candidates(const std::vector<std::u32string>& runs, std::vector<int>& rows, bool& exact) const
{
    rows.clear();
    exact = false;
    if (runs.empty())
        return false;
    quint64 required = 0;
    bool own = true; // every letter has a number of its own
    std::vector<Posting> lists;
    for (const std::u32string& run : runs) {
        std::vector<quint32> ids;
        for (const char32_t c : run) {
            ids.push_back(quint32(letter(c)));
            required |= quint64(1) << ids.back();
            own = own && ids.back() != Other;
        }
        if (ids.size() == 2)
            lists.push_back(posting(false, ids[0] << 6 | ids[1]));
        for (size_t i = 0; i + 2 < ids.size(); ++i)
            lists.push_back(posting(true, ids[i] << 12 | ids[i + 1] << 6 | ids[i + 2]));
    }
    exact = own && runs.size() == 1 && runs[0].size() <= 3;
    auto hasLetters = [&](int row) { return (m_mask[size_t(row)] & required) == required; };
    if (lists.empty()) {
        for (int row = 0; row < int(m_mask.size()); ++row)
            if (hasLetters(row))
                rows.push_back(row);
        return true;
    }
    // The shortest list, thinned out by the others.
    std::sort(lists.begin(), lists.end(), [](const Posting& a, const Posting& b) { return a.size() < b.size(); });
    rows.assign(lists[0].begin, lists[0].end);
    if (lists[0].added)
        rows.insert(rows.end(), lists[0].added->begin(), lists[0].added->end());
    for (size_t l = 1; l < lists.size() && !rows.empty(); ++l) {
        const Posting& p = lists[l];
        const int* at = p.begin;
        auto addedAt = p.added ? p.added->begin() : std::vector<int>::const_iterator();
        size_t kept = 0;
        for (const int row : rows) {
            at = std::lower_bound(at, p.end, row);
            bool in = at != p.end && *at == row;
            if (!in && p.added) {
                addedAt = std::lower_bound(addedAt, p.added->end(), row);
                in = addedAt != p.added->end() && *addedAt == row;
            }
            if (in)
                rows[kept++] = row;
        }
        rows.resize(kept);
    }
    rows.erase(std::remove_if(rows.begin(), rows.end(), [&](int row) { return !hasLetters(row); }), rows.end());
    return true;
}
