#include "viewer/byte_document.h"

#include "platform/regular_file.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orvanex::viewer {

ByteDocument::ByteDocument() {
    clear();
}

ByteDocument::~ByteDocument() = default;

void ByteDocument::clear() {
    m_mapping.unmap();
    m_owned.clear();
    m_data = "";
    m_size = 0;
    resetIndex();
}

void ByteDocument::resetIndex() {
    m_lineStarts.assign(1, 0);
    m_scanned = 0;
}

QString ByteDocument::open(const QString& path) {
    QString reason;
    const int fd = platform::openRegularFile(QFile::encodeName(path), &reason);
    if (fd < 0)
        return reason; // the document shown so far stays
    struct stat st;
    const qint64 size = ::fstat(fd, &st) == 0 ? qint64(st.st_size) : 0;
    clear();
    // The mapping outlives the descriptor.
    if (size > 0 && m_mapping.map(fd, size)) {
        ::close(fd);
        m_data = m_mapping.data();
        m_size = size;
        resetIndex();
        return {};
    }
    // Files that cannot be mapped (or report no size, as /proc files do) are read whole.
    QByteArray bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            reason = QString::fromLocal8Bit(std::strerror(errno)) + u'.';
            ::close(fd);
            return reason;
        }
        if (n == 0)
            break;
        bytes.append(buffer, n);
    }
    ::close(fd);
    setBytes(std::move(bytes));
    return {};
}

void ByteDocument::setBytes(QByteArray bytes) {
    clear();
    m_owned = std::move(bytes);
    m_data = m_owned.constData();
    m_size = m_owned.size();
    resetIndex();
}

void ByteDocument::scanRange(qint64 from, qint64 to) const {
    qint64 i = from;
#ifdef __SSE2__
    // Sixteen bytes per step: with short lines this is about twice as fast as a memchr per line.
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 16 <= to; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m_data + i));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, lf)));
        while (mask) {
            m_lineStarts.push_back(i + __builtin_ctz(mask) + 1);
            mask &= mask - 1;
        }
    }
#endif
    for (; i < to; ++i)
        if (m_data[i] == '\n')
            m_lineStarts.push_back(i + 1);
}

void ByteDocument::scanTo(qint64 pos, size_t lines) const {
    constexpr qint64 kStep = 1 << 16;
    while (m_scanned < m_size && m_scanned <= pos && m_lineStarts.size() <= lines) {
        const qint64 stop = std::min(m_size, m_scanned + kStep);
        scanRange(m_scanned, stop);
        m_scanned = stop;
    }
}

bool ByteDocument::indexSlice(qint64 bytes) {
    if (m_lineStarts.capacity() < size_t(m_size / 32))
        m_lineStarts.reserve(size_t(m_size / 32 + 16));
    scanTo(std::min(m_size, m_scanned + bytes) - 1, SIZE_MAX);
    return fullyIndexed();
}

qint64 ByteDocument::lineCount() const {
    scanTo(m_size, SIZE_MAX);
    return qint64(m_lineStarts.size());
}

bool ByteDocument::hasLine(qint64 line) const {
    if (line < 0)
        return false;
    scanTo(m_size, size_t(line));
    return size_t(line) < m_lineStarts.size();
}

qint64 ByteDocument::lineStart(qint64 line) const {
    scanTo(m_size, size_t(line));
    return m_lineStarts[size_t(line)];
}

qint64 ByteDocument::lineNext(qint64 line) const {
    return hasLine(line + 1) ? m_lineStarts[size_t(line + 1)] : m_size;
}

qint64 ByteDocument::lineEnd(qint64 line) const {
    qint64 e = lineNext(line);
    if (hasLine(line + 1)) {
        --e; // the line feed
        if (e > m_lineStarts[size_t(line)] && m_data[e - 1] == '\r')
            --e;
    }
    return e;
}

qint64 ByteDocument::lineOf(qint64 pos) const {
    scanTo(pos, SIZE_MAX);
    const auto it = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), pos);
    return qint64(it - m_lineStarts.begin()) - 1;
}

} // namespace orvanex::viewer
