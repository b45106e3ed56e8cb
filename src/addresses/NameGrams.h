#pragma once
// Which rows of the name index hold which letters, letter pairs and letter triples, so
// that a search finds its candidates without looking at every name. Letters are the
// case-folded code points the Jet LIKE compares; the 63 most frequent ones of the
// names get a number of their own, every other one shares the last. Rows are numbered
// from 0 and only ever added at the end, so every list of rows stays ascending.

#include <QtGlobal>

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class NameGrams {
public:
    // The names of rows 0 .. n-1, two per row (last and first name; empty for a null).
    void build(const std::vector<std::u32string_view>& names);
    // Adds the next row.
    void add(std::u32string_view last, std::u32string_view first);

    // The rows (ascending) that can hold every one of `runs` in one of their names;
    // `exact` when each of them holds that run (a single run of up to three letters with
    // numbers of their own; whether the pattern asks for more is the caller's to know). False, and nothing in `rows`, when the runs narrow nothing
    // down (no run at all): every row is then a candidate.
    bool candidates(const std::vector<std::u32string>& runs, std::vector<int>& rows, bool& exact) const;

private:
    static constexpr int Letters = 64;
    static constexpr int Other = Letters - 1;
    int letter(char32_t c) const;
    // The pairs and triples (as numbers) of one row, each once.
    void gramsOf(std::u32string_view last, std::u32string_view first, std::vector<quint32>& pairs,
                 std::vector<quint32>& triples, quint64& mask) const;
    struct Posting {
        const int* begin = nullptr;
        const int* end = nullptr;
        const std::vector<int>* added = nullptr;
        size_t size() const { return size_t(end - begin) + (added ? added->size() : 0); }
    };
    Posting posting(bool triple, quint32 gram) const;

    std::array<quint8, 128> m_ascii{};
    std::unordered_map<char32_t, quint8> m_wide;
    std::vector<quint64> m_mask; // per row: the letters it holds
    // Rows per gram as built: gram g's rows are m_rows[m_start[g] .. m_start[g + 1]).
    std::vector<quint32> m_pairStart, m_tripleStart;
    std::vector<int> m_pairRows, m_tripleRows;
    // Rows added since.
    std::unordered_map<quint32, std::vector<int>> m_pairAdded, m_tripleAdded;
};
