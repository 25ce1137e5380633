#include "registry/text_arena.h"

#include <cstring>

namespace orvanex::reg {

namespace {

constexpr qsizetype BlockBytes = 32 * 1024;
constexpr qsizetype MaxSharedBytes = BlockBytes / 8;

template <typename Array, typename Unit> Array share(Array& block, Unit* at, qsizetype n) {
    auto* header = block.data_ptr().d_ptr();
    header->ref();
    return Array(typename Array::DataPointer(header, at, n));
}

} // namespace

char16_t* TextArena::units(qsizetype n) {
    if (m_units.isNull() || m_unitsUsed + n + 1 > m_units.size()) {
        m_units = QString(BlockUnits, Qt::Uninitialized);
        m_unitsUsed = 0;
    }
    // Written past every copy made so far, which no copy looks at: the block's own QString is
    // never changed through its API once it is shared.
    char16_t* at = m_units.data_ptr().data() + m_unitsUsed;
    at[n] = u'\0';
    m_unitsUsed += n + 1;
    return at;
}

QString TextArena::shareUnits(char16_t* at, qsizetype n) {
    return share(m_units, at, n);
}

QString TextArena::text(QStringView s) {
    if (s.isEmpty() || s.size() > MaxShared)
        return s.toString();
    return make(s.size(), [s](char16_t* at) {
        std::memcpy(at, s.utf16(), size_t(s.size()) * sizeof(char16_t));
    });
}

QString TextArena::utf8(QByteArrayView s) {
    if (s.isEmpty() || s.size() > MaxShared)
        return QString::fromUtf8(s);
    if (!isAscii(s))
        return text(QString::fromUtf8(s));
    return make(s.size(), [s](char16_t* at) {
        for (qsizetype i = 0; i < s.size(); ++i)
            at[i] = char16_t(static_cast<unsigned char>(s[i]));
    });
}

QByteArray TextArena::bytes(QByteArrayView b) {
    if (b.isEmpty())
        return QByteArray();
    if (b.size() > MaxSharedBytes)
        return b.toByteArray();
    if (m_bytes.isNull() || m_bytesUsed + b.size() + 1 > m_bytes.size()) {
        m_bytes = QByteArray(BlockBytes, Qt::Uninitialized);
        m_bytesUsed = 0;
    }
    char* at = m_bytes.data_ptr().data() + m_bytesUsed;
    std::memcpy(at, b.data(), size_t(b.size()));
    at[b.size()] = '\0';
    m_bytesUsed += b.size() + 1;
    return share(m_bytes, at, b.size());
}

} // namespace orvanex::reg
