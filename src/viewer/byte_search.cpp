#include "viewer/byte_search.h"

#include "viewer/cp1252.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orvanex::viewer {

ByteSearcher::ByteSearcher(QByteArray pattern, bool wholeWord)
    : m_pattern(std::move(pattern)), m_wholeWord(wholeWord) {
    for (char& c : m_pattern)
        c = static_cast<char>(cp1252Fold(static_cast<unsigned char>(c)));
    // Horspool shifts, keyed by the folded byte.
    const qint64 n = m_pattern.size();
    std::fill(std::begin(m_shift), std::end(m_shift), n);
    for (qint64 i = 0; i + 1 < n; ++i)
        m_shift[static_cast<unsigned char>(m_pattern[i])] = n - 1 - i;
    if (n == 0)
        return;
    auto spellings = [](unsigned char folded, unsigned char* out) {
        out[0] = out[1] = folded;
        for (int b = 0; b < 256; ++b)
            if (cp1252Fold(static_cast<unsigned char>(b)) == folded && b != folded)
                out[1] = static_cast<unsigned char>(b);
    };
    spellings(static_cast<unsigned char>(m_pattern[0]), m_first);
    spellings(static_cast<unsigned char>(m_pattern[n - 1]), m_last);
}

bool ByteSearcher::matchesAt(const unsigned char* text, qint64 size, qint64 pos) const {
    const unsigned char* fold = cp1252FoldTable();
    const auto* pat = reinterpret_cast<const unsigned char*>(m_pattern.constData());
    for (qint64 i = 0; i < m_pattern.size(); ++i)
        if (fold[text[pos + i]] != pat[i])
            return false;
    return !m_wholeWord || isWholeWord(reinterpret_cast<const char*>(text), size, pos);
}

bool ByteSearcher::isWholeWord(const char* data, qint64 size, qint64 pos) const {
    const qint64 end = pos + m_pattern.size();
    if (pos > 0 && cp1252IsWordChar(static_cast<unsigned char>(data[pos - 1])))
        return false;
    return end >= size || !cp1252IsWordChar(static_cast<unsigned char>(data[end]));
}

qint64 ByteSearcher::find(const char* data, qint64 size, qint64 from) const {
    const qint64 n = m_pattern.size();
    if (n == 0 || from < 0 || from > size - n)
        return -1;
    const auto* text = reinterpret_cast<const unsigned char*>(data);
    const auto* pat = reinterpret_cast<const unsigned char*>(m_pattern.constData());
    const unsigned char* fold = cp1252FoldTable();
    const unsigned char last = pat[n - 1];
    qint64 pos = from;
#ifdef __SSE2__
    // Sixteen positions per step: a candidate needs both its first and its last byte to match,
    // which few positions of ordinary text do.
    const __m128i f0 = _mm_set1_epi8(static_cast<char>(m_first[0]));
    const __m128i f1 = _mm_set1_epi8(static_cast<char>(m_first[1]));
    const __m128i l0 = _mm_set1_epi8(static_cast<char>(m_last[0]));
    const __m128i l1 = _mm_set1_epi8(static_cast<char>(m_last[1]));
    for (; pos + n - 1 + 16 <= size; pos += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos + n - 1));
        const __m128i firstOk = _mm_or_si128(_mm_cmpeq_epi8(a, f0), _mm_cmpeq_epi8(a, f1));
        const __m128i lastOk = _mm_or_si128(_mm_cmpeq_epi8(b, l0), _mm_cmpeq_epi8(b, l1));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(firstOk, lastOk)));
        while (mask) {
            const qint64 p = pos + __builtin_ctz(mask);
            if (matchesAt(text, size, p))
                return p;
            mask &= mask - 1;
        }
    }
#endif
    while (pos <= size - n) {
        const unsigned char c = fold[text[pos + n - 1]];
        if (c == last) {
            qint64 i = n - 2;
            while (i >= 0 && fold[text[pos + i]] == pat[i])
                --i;
            if (i < 0 && (!m_wholeWord || isWholeWord(data, size, pos)))
                return pos;
        }
        pos += m_shift[c];
    }
    return -1;
}

std::vector<ByteRange> findAll(const ByteSearcher& searcher, const char* data, qint64 size,
                               size_t limit) {
    std::vector<ByteRange> out;
    qint64 pos = 0;
    while (out.size() < limit) {
        const qint64 hit = searcher.find(data, size, pos);
        if (hit < 0)
            break;
        out.push_back({hit, searcher.length()});
        pos = hit + searcher.length();
    }
    return out;
}

void RangeSet::add(const std::vector<ByteRange>& sorted) {
    if (sorted.empty())
        return;
    std::vector<ByteRange> merged;
    merged.reserve(m_ranges.size() + sorted.size());
    std::merge(m_ranges.begin(), m_ranges.end(), sorted.begin(), sorted.end(),
               std::back_inserter(merged),
               [](const ByteRange& a, const ByteRange& b) { return a.start < b.start; });
    m_ranges.clear();
    for (const ByteRange& r : merged) {
        if (r.length <= 0)
            continue;
        if (!m_ranges.empty() && r.start <= m_ranges.back().end()) {
            ByteRange& back = m_ranges.back();
            back.length = std::max(back.end(), r.end()) - back.start;
        } else {
            m_ranges.push_back(r);
        }
    }
}

size_t RangeSet::firstEndingAfter(qint64 pos) const {
    const auto it = std::upper_bound(m_ranges.begin(), m_ranges.end(), pos,
                                     [](qint64 p, const ByteRange& r) { return p < r.end(); });
    return size_t(it - m_ranges.begin());
}

bool RangeSet::contains(qint64 pos) const {
    const size_t i = firstEndingAfter(pos);
    return i < m_ranges.size() && m_ranges[i].start <= pos;
}

} // namespace orvanex::viewer
