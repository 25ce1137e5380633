#pragma once
// The bytes of the shown file, memory-mapped and never written, with an index of its lines. The
// mapping is guarded: when another program shortens the file, the lost bytes read as zeros and
// cut() turns true, where an unguarded mapping would end the viewer with SIGBUS.

#include "platform/guarded_mapping.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace orvanex::viewer {

class ByteDocument {
public:
    ByteDocument();
    ~ByteDocument();
    ByteDocument(const ByteDocument&) = delete;
    ByteDocument& operator=(const ByteDocument&) = delete;

    // Opens the file read-only; a FIFO, a device or a socket is refused without waiting on it. On
    // failure returns the reason and keeps the document as it was.
    QString open(const QString& path);
    // For tests and benchmarks: the document shows a copy of these bytes.
    void setBytes(QByteArray bytes);
    void clear();

    const char* data() const { return m_data; }
    qint64 size() const { return m_size; }
    // True once the file was found shorter than when it was opened.
    bool cut() const { return m_mapping.cut(); }
    unsigned char at(qint64 pos) const { return static_cast<unsigned char>(m_data[pos]); }

    // A line ends at a line feed; a carriage return right before it belongs to the line break.
    // The line index grows as far as a question needs: the start of a big file is shown before
    // its end has been read, and indexSlice() completes the index a slice at a time.
    qint64 lineCount() const;
    bool hasLine(qint64 line) const;
    qint64 lineStart(qint64 line) const;
    // End of the line's text, its break excluded.
    qint64 lineEnd(qint64 line) const;
    // Start of the next line (or the document's size for the last line).
    qint64 lineNext(qint64 line) const;
    // The line holding a byte position (0..size).
    qint64 lineOf(qint64 pos) const;

    bool fullyIndexed() const { return m_scanned >= m_size; }
    // Indexes about `bytes` more bytes; returns true when the index is complete.
    bool indexSlice(qint64 bytes);

private:
    void resetIndex();
    // Scans until the index covers pos or holds more than `lines` line starts.
    void scanTo(qint64 pos, size_t lines) const;
    void scanRange(qint64 from, qint64 to) const;

    platform::GuardedMapping m_mapping;
    QByteArray m_owned;
    const char* m_data = nullptr;
    qint64 m_size = 0;
    mutable std::vector<qint64> m_lineStarts;
    mutable qint64 m_scanned = 0; // bytes below this are indexed
};

} // namespace orvanex::viewer
