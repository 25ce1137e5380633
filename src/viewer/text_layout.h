#pragma once
// Wrapped rows of a byte document at a given width, laid out only where asked for: a row's end is
// found by adding up per-byte advances, so no line is laid out beyond the rows that are used.

#include "viewer/byte_document.h"

#include <QFont>
#include <QString>

#include <array>
#include <deque>
#include <optional>
#include <vector>

class QPaintDevice;

namespace orvanex::viewer {

struct Row {
    qint64 line = 0;
    qint64 start = 0; // first byte
    qint64 end = 0;   // one past the last byte of text; the line break is never part of a row
    friend bool operator==(const Row&, const Row&) = default;
};

class TextLayout {
public:
    explicit TextLayout(const ByteDocument& doc) : m_doc(doc) {}

    // Measures the font on the device (screen or printer).
    void setFont(const QFont& font, QPaintDevice* device);
    void setWrapWidth(qreal width);
    // Call after the document changes.
    void reset();

    const QFont& font() const { return m_font; }
    qreal lineHeight() const { return m_lineHeight; }
    qreal ascent() const { return m_ascent; }
    const ByteDocument& document() const { return m_doc; }

    // Width of byte b drawn at x (a tab reaches the next tab stop).
    qreal advance(unsigned char b, qreal x) const {
        return fixedAdvance(b, int(x * kUnit + 0.5)) / qreal(kUnit);
    }
    bool isPlaceholder(unsigned char b) const { return m_placeholder[b]; }
    // The character drawn for a byte that is not a placeholder.
    QChar glyph(unsigned char b) const { return m_glyph[b]; }

    // The row holding a byte position 0..size; a position on a line break belongs to the line's
    // last row, a position where a wrapped row begins to that row.
    Row rowAt(qint64 pos) const;
    std::optional<Row> nextRow(const Row& row) const;
    std::optional<Row> prevRow(const Row& row) const;
    // Moves by n rows (negative: up), stopping at the first or last row.
    Row stepRows(Row row, qint64 n) const;

    // Wraps about `bytes` more of a long line ahead of need; true when the line is fully wrapped.
    // Lets idle time prepare the end of a huge line a slice at a time.
    bool prepareRows(qint64 line, qint64 bytes) const;

    qreal xOf(const Row& row, qint64 pos) const;
    // The byte boundary nearest to x on the row.
    qint64 posAt(const Row& row, qreal x) const;

private:
    // Widths are kept in 1/64 pixel, as the font engine does, so sums are exact and fast.
    static constexpr int kUnit = 64;
    int fixedAdvance(unsigned char b, int x) const {
        return b == '\t' ? (x / m_tabWidth + 1) * m_tabWidth - x : m_advance[b];
    }
    qint64 rowEnd(qint64 start, qint64 lineEnd) const;
    Row lastRowOf(qint64 line) const;

    struct LineRows {
        qint64 line = -1;
        std::vector<qint64> starts;
        bool complete = false;
    };
    // Row starts of a line up to (at least) the row holding pos.
    const LineRows& rowsOf(qint64 line, qint64 pos) const;

    const ByteDocument& m_doc;
    QFont m_font;
    int m_width = 400 * kUnit;
    qreal m_lineHeight = 16;
    qreal m_ascent = 12;
    int m_tabWidth = 32 * kUnit;
    std::array<int, 256> m_advance{};
    std::array<bool, 256> m_placeholder{};
    std::array<QChar, 256> m_glyph{};
    mutable std::deque<LineRows> m_cache; // the few long lines used last
    mutable LineRows m_short;
};

} // namespace orvanex::viewer
