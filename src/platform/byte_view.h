#pragma once
// Bounds-checked little-endian reads over a file's bytes. Every read outside the bytes yields 0
// (or an empty view), so readers of hostile files test `has()` where it matters and never overrun.

#include <QByteArrayView>

#include <cstdint>

namespace orvanex::platform {

class ByteView {
public:
    ByteView() = default;
    explicit ByteView(QByteArrayView bytes)
        : data_(reinterpret_cast<const std::uint8_t*>(bytes.data())), size_(bytes.size()) {}

    qint64 size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }
    const char* data() const { return reinterpret_cast<const char*>(data_); }

    // True when [offset, offset + length) lies inside the bytes.
    bool has(qint64 offset, qint64 length) const {
        return offset >= 0 && length >= 0 && offset <= size_ && length <= size_ - offset;
    }

    std::uint8_t u8(qint64 offset) const { return has(offset, 1) ? data_[offset] : 0; }
    std::uint16_t u16(qint64 offset) const {
        return has(offset, 2) ? std::uint16_t(data_[offset] | (data_[offset + 1] << 8)) : 0;
    }
    std::uint32_t u32(qint64 offset) const {
        return has(offset, 4) ? std::uint32_t(u16(offset)) | (std::uint32_t(u16(offset + 2)) << 16)
                              : 0;
    }
    std::int32_t i32(qint64 offset) const { return static_cast<std::int32_t>(u32(offset)); }

    // The bytes [offset, offset + length), or an empty view when they are not all inside.
    ByteView sub(qint64 offset, qint64 length) const {
        if (!has(offset, length))
            return {};
        ByteView v;
        v.data_ = data_ + offset;
        v.size_ = length;
        return v;
    }
    // The bytes from offset to the end (empty when offset is outside).
    ByteView from(qint64 offset) const {
        return has(offset, 0) ? sub(offset, size_ - offset) : ByteView();
    }

    QByteArrayView bytes() const { return QByteArrayView(data(), size_); }
    bool startsWith(QByteArrayView prefix) const { return bytes().startsWith(prefix); }

private:
    const std::uint8_t* data_ = nullptr;
    qint64 size_ = 0;
};

inline constexpr qint64 alignUp4(qint64 v) {
    return (v + 3) & ~qint64(3);
}

} // namespace orvanex::platform
