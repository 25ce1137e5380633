#pragma once
// Case-insensitive search over Windows-1252 bytes, with the whole-word option.

#include <QByteArray>

#include <vector>

namespace orvanex::viewer {

class ByteSearcher {
public:
    ByteSearcher(QByteArray pattern, bool wholeWord);

    // First match starting at or after `from`, or -1. An empty pattern never matches.
    qint64 find(const char* data, qint64 size, qint64 from) const;

    qint64 length() const { return m_pattern.size(); }

private:
    bool isWholeWord(const char* data, qint64 size, qint64 pos) const;
    bool matchesAt(const unsigned char* text, qint64 size, qint64 pos) const;

    QByteArray m_pattern; // folded
    bool m_wholeWord;
    qint64 m_shift[256];
    // The bytes (both cases) that the pattern's first and last bytes match.
    unsigned char m_first[2] = {0, 0};
    unsigned char m_last[2] = {0, 0};
};

struct ByteRange {
    qint64 start = 0;
    qint64 length = 0;
    qint64 end() const { return start + length; }
    friend bool operator==(const ByteRange&, const ByteRange&) = default;
};

// Every non-overlapping match from the start, each search going on after the previous match; stops
// after `limit` matches.
std::vector<ByteRange> findAll(const ByteSearcher& searcher, const char* data, qint64 size,
                               size_t limit);

// Sorted, disjoint ranges (the red marks of Find All).
class RangeSet {
public:
    // Adds sorted ranges; overlapping and touching ranges are joined.
    void add(const std::vector<ByteRange>& sorted);
    void clear() { m_ranges.clear(); }
    const std::vector<ByteRange>& ranges() const { return m_ranges; }
    // Index of the first range that ends after pos.
    size_t firstEndingAfter(qint64 pos) const;
    bool contains(qint64 pos) const;

private:
    std::vector<ByteRange> m_ranges;
};

} // namespace orvanex::viewer
