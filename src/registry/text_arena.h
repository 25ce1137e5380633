#pragma once
// Copies of many short texts made into a few large blocks. Each copy is an ordinary QString or
// QByteArray that holds a reference to its block, so copies may outlive the arena and be changed
// like any other (a change copies the text out first); a block is freed with its last copy. A
// tree read from a file then costs a few allocations for its names and data instead of two per
// key and per value.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace orvanex::reg {

// Whether every byte is below 0x80 (written to be vectorised: no early exit).
inline bool isAscii(QByteArrayView s) {
    unsigned char all = 0;
    for (char c : s)
        all |= static_cast<unsigned char>(c);
    return all < 0x80;
}

class TextArena {
public:
    // Each copy is followed by a NUL, as Qt's own strings are. Empty texts come out as the
    // plain conversions make them (null or not alike).
    QString text(QStringView s);
    // UTF-8 decoded as QString::fromUtf8 does.
    QString utf8(QByteArrayView s);
    QByteArray bytes(QByteArrayView b);
    // A text of n units that fill(char16_t* out) writes.
    template <typename Fill> QString make(qsizetype n, Fill fill) {
        if (n == 0 || n > MaxShared) {
            QString own(n, Qt::Uninitialized);
            fill(reinterpret_cast<char16_t*>(own.data()));
            return own;
        }
        char16_t* at = units(n);
        fill(at);
        return shareUnits(at, n);
    }

private:
    static constexpr qsizetype BlockUnits = 16 * 1024;
    // A text longer than this gets an allocation of its own, so that a block is never mostly
    // wasted.
    static constexpr qsizetype MaxShared = BlockUnits / 8;
    char16_t* units(qsizetype n);
    QString shareUnits(char16_t* at, qsizetype n);
    QString m_units;
    qsizetype m_unitsUsed = 0;
    QByteArray m_bytes;
    qsizetype m_bytesUsed = 0;
};

} // namespace orvanex::reg
