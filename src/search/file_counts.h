#pragma once
// File counts per extension: the number of files and their bytes for every extension met by a
// walk, in 64 bits, with no limit on the number of extensions.

#include "search/file_walk.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>
#include <unordered_map>

namespace orvanex::search {

struct ExtensionCount {
    qint64 files = 0;
    qint64 bytes = 0;
};

// Longer extensions are compared on their first characters only, as the lists' columns hold them.
constexpr qsizetype kCountedExtensionLength = 30;

// The extension a file is counted under: the text after the last "." of the file's own name (not
// of a folder above it), upper-cased, trimmed and cut to kCountedExtensionLength characters;
// empty without a dot. nativePath is the native path (UTF-8 as far as it is valid).
QByteArray CountedExtension(const char* nativePath, size_t length);
inline QByteArray CountedExtension(const QByteArray& nativePath) {
    return CountedExtension(nativePath.constData(), size_t(nativePath.size()));
}
// The key an extension text (without its dot, as the lists show it) is counted under: the same
// upper-casing, trimming and cut as CountedExtension.
QByteArray ExtensionKey(const QString& extension);

class FileCounts : public WalkSink {
public:
    void file(int rootIndex, const QByteArray& path, qint64 size) override;
    void add(const QByteArray& extension, qint64 size);

    // 0 files and 0 bytes for an extension never met.
    ExtensionCount count(const QByteArray& extension) const;
    // Every extension met, sorted as text.
    QList<QByteArray> extensions() const;
    ExtensionCount total() const { return m_total; }

private:
    std::unordered_map<QByteArray, ExtensionCount> m_table;
    ExtensionCount m_total;
};

} // namespace orvanex::search
