#include "search/file_counts.h"

#include <QString>
#include <algorithm>

namespace orvanex::search {

QByteArray CountedExtension(const char* nativePath, size_t length) {
    size_t nameStart = length;
    while (nameStart > 0 && nativePath[nameStart - 1] != '/')
        --nameStart;
    size_t dot = length;
    while (dot > nameStart && nativePath[dot - 1] != '.')
        --dot;
    if (dot == nameStart)
        return QByteArray();
    const char* ext = nativePath + dot;
    size_t size = length - dot;
    bool ascii = true;
    for (size_t i = 0; i < size; ++i)
        if (static_cast<unsigned char>(ext[i]) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) {
        // The common case, without a detour through QString.
        while (size > 0 && *ext == ' ')
            ++ext, --size;
        while (size > 0 && ext[size - 1] == ' ')
            --size;
        QByteArray out(ext, qsizetype(std::min<size_t>(size, kCountedExtensionLength)));
        for (char& c : out)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 32);
        return out;
    }
    return ExtensionKey(QString::fromUtf8(ext, qsizetype(size)));
}

QByteArray ExtensionKey(const QString& extension) {
    QString text = extension.toUpper();
    qsizetype from = 0, to = text.size();
    while (from < to && text[from] == u' ')
        ++from;
    while (to > from && text[to - 1] == u' ')
        --to;
    text = text.mid(from, std::min(to - from, kCountedExtensionLength));
    // Keep a cut from splitting a surrogate pair.
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    return text.toUtf8();
}

void FileCounts::file(int rootIndex, const QByteArray& path, qint64 size) {
    (void)rootIndex;
    add(CountedExtension(path), size);
}

void FileCounts::add(const QByteArray& extension, qint64 size) {
    ExtensionCount& c = m_table[extension];
    const qint64 bytes = std::max<qint64>(size, 0);
    ++c.files;
    c.bytes += bytes;
    ++m_total.files;
    m_total.bytes += bytes;
}

ExtensionCount FileCounts::count(const QByteArray& extension) const {
    const auto it = m_table.find(extension);
    return it == m_table.end() ? ExtensionCount{} : it->second;
}

QList<QByteArray> FileCounts::extensions() const {
    QList<QByteArray> out;
    out.reserve(qsizetype(m_table.size()));
    for (const auto& [ext, count] : m_table)
        out.append(ext);
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace orvanex::search
