#include "viewer/text_layout.h"

#include "viewer/cp1252.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace orvanex::viewer {
namespace {

// Lines longer than this keep their row starts in a cache instead of being wrapped anew.
constexpr qint64 kLongLine = 4096;
constexpr size_t kCachedLines = 4;

} // namespace

void TextLayout::setFont(const QFont& font, QPaintDevice* device) {
    m_font = font;
    // Positions are sums of per-character advances, so glyphs must not be kerned or shaped.
    m_font.setKerning(false);
    m_font.setStyleStrategy(QFont::PreferNoShaping);
    const QFontMetricsF fm = device ? QFontMetricsF(m_font, device) : QFontMetricsF(m_font);
    m_lineHeight = std::max<qreal>(1.0, std::ceil(fm.height()));
    m_ascent = fm.ascent();
    const qreal box = std::max<qreal>(4.0, fm.horizontalAdvance(QLatin1Char('0')));
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        m_glyph[b] = cp1252ToUnicode(byte);
        const qreal w = cp1252IsControl(byte) ? 0.0 : fm.horizontalAdvance(m_glyph[b]);
        m_placeholder[b] = cp1252IsControl(byte) || (b != '\t' && w <= 0.0);
        m_advance[b] = int(std::lround((m_placeholder[b] ? box : w) * kUnit));
    }
    m_tabWidth = std::max(1, 8 * m_advance[' ']);
    reset();
}

void TextLayout::setWrapWidth(qreal width) {
    const int w = int(std::lround(std::min<qreal>(width, 1e6) * kUnit));
    if (w == m_width)
        return;
    m_width = w;
    reset();
}

void TextLayout::reset() {
    m_cache.clear();
    m_short = {};
}

qint64 TextLayout::rowEnd(qint64 start, qint64 lineEnd) const {
    const char* data = m_doc.data();
    int x = 0;
    qint64 lastBreak = -1;
    for (qint64 i = start; i < lineEnd; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        const int w = b == '\t' ? fixedAdvance(b, x) : m_advance[b];
        if (x + w > m_width && i > start)
            return lastBreak > start ? lastBreak : i;
        x += w;
        if (b == ' ' || b == '\t')
            lastBreak = i + 1;
    }
    return lineEnd;
}

const TextLayout::LineRows& TextLayout::rowsOf(qint64 line, qint64 pos) const {
    const qint64 ls = m_doc.lineStart(line);
    const qint64 le = m_doc.lineEnd(line);
    LineRows* rows = nullptr;
    if (le - ls <= kLongLine) {
        rows = &m_short;
        if (rows->line != line)
            *rows = {line, {ls}, false};
    } else {
        const auto it = std::find_if(m_cache.begin(), m_cache.end(),
                                     [line](const LineRows& r) { return r.line == line; });
        if (it != m_cache.end()) {
            rows = &*it;
        } else {
            if (m_cache.size() >= kCachedLines)
                m_cache.pop_back();
            m_cache.push_front({line, {ls}, false});
            rows = &m_cache.front();
        }
    }
    while (!rows->complete && rows->starts.back() <= pos) {
        const qint64 e = rowEnd(rows->starts.back(), le);
        if (e >= le)
            rows->complete = true;
        else
            rows->starts.push_back(e);
    }
    return *rows;
}

bool TextLayout::prepareRows(qint64 line, qint64 bytes) const {
    const qint64 ls = m_doc.lineStart(line);
    const qint64 le = m_doc.lineEnd(line);
    if (le - ls <= kLongLine)
        return true;
    const LineRows& probe = rowsOf(line, ls);
    const LineRows& rows = rowsOf(line, std::min(le, probe.starts.back() + bytes));
    return rows.complete;
}

Row TextLayout::rowAt(qint64 pos) const {
    pos = std::clamp<qint64>(pos, 0, m_doc.size());
    const qint64 line = m_doc.lineOf(pos);
    const qint64 le = m_doc.lineEnd(line);
    pos = std::min(pos, le);
    const LineRows& rows = rowsOf(line, pos);
    const auto it = std::upper_bound(rows.starts.begin(), rows.starts.end(), pos);
    const qint64 start = *(it - 1);
    return {line, start, it != rows.starts.end() ? *it : rowEnd(start, le)};
}

Row TextLayout::lastRowOf(qint64 line) const {
    return rowAt(m_doc.lineEnd(line));
}

std::optional<Row> TextLayout::nextRow(const Row& row) const {
    const qint64 le = m_doc.lineEnd(row.line);
    if (row.end < le)
        return Row{row.line, row.end, rowEnd(row.end, le)};
    if (!m_doc.hasLine(row.line + 1))
        return std::nullopt;
    const qint64 ls = m_doc.lineStart(row.line + 1);
    return Row{row.line + 1, ls, rowEnd(ls, m_doc.lineEnd(row.line + 1))};
}

std::optional<Row> TextLayout::prevRow(const Row& row) const {
    if (row.start > m_doc.lineStart(row.line))
        return rowAt(row.start - 1);
    if (row.line == 0)
        return std::nullopt;
    return lastRowOf(row.line - 1);
}

Row TextLayout::stepRows(Row row, qint64 n) const {
    for (; n > 0; --n) {
        const auto next = nextRow(row);
        if (!next)
            break;
        row = *next;
    }
    for (; n < 0; ++n) {
        const auto prev = prevRow(row);
        if (!prev)
            break;
        row = *prev;
    }
    return row;
}

qreal TextLayout::xOf(const Row& row, qint64 pos) const {
    int x = 0;
    const qint64 stop = std::min(pos, row.end);
    for (qint64 i = row.start; i < stop; ++i)
        x += fixedAdvance(m_doc.at(i), x);
    return x / qreal(kUnit);
}

qint64 TextLayout::posAt(const Row& row, qreal x) const {
    const qreal target = x * kUnit;
    int left = 0;
    for (qint64 i = row.start; i < row.end; ++i) {
        const int w = fixedAdvance(m_doc.at(i), left);
        if (target < left + w / 2.0)
            return i;
        left += w;
    }
    return row.end;
}

} // namespace orvanex::viewer
