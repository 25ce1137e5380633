#include "search/text_scan.h"

#include "registry/win1252.h"

#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanex::search {

namespace {

constexpr std::array<unsigned char, 256> makeFoldTable() {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[size_t(i)] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        t[size_t(c)] = static_cast<unsigned char>(c + 32);
    // Accented capitals À..Þ, except the multiplication sign.
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7)
            t[size_t(c)] = static_cast<unsigned char>(c + 32);
    t[0x8A] = 0x9A; // Š š
    t[0x8C] = 0x9C; // Œ œ
    t[0x8E] = 0x9E; // Ž ž
    t[0x9F] = 0xFF; // Ÿ ÿ
    return t;
}

constexpr std::array<unsigned char, 256> kFold = makeFoldTable();

struct FdCloser {
    int fd;
    ~FdCloser() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

unsigned char FoldCp1252(unsigned char b) {
    return kFold[b];
}

std::optional<FoldedText> FoldedText::fromText(const QString& text) {
    QByteArray bytes;
    if (!reg::encode1252(text, &bytes))
        return std::nullopt;
    return fromBytes(bytes);
}

std::optional<FoldedText> FoldedText::fromBytes(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return std::nullopt;
    FoldedText t;
    t.m_folded.resize(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        t.m_folded[i] = static_cast<char>(kFold[static_cast<unsigned char>(bytes[i])]);
    const qsizetype m = t.m_folded.size();
    // The shift is kept per raw byte, so the scan never folds the byte it skips on.
    t.m_shift.fill(m);
    for (qsizetype i = 0; i + 1 < m; ++i) {
        const unsigned char f = static_cast<unsigned char>(t.m_folded[i]);
        for (int b = 0; b < 256; ++b)
            if (kFold[size_t(b)] == f)
                t.m_shift[size_t(b)] = m - 1 - i;
    }
    t.m_skip = t.m_shift;
    const unsigned char last = static_cast<unsigned char>(t.m_folded[m - 1]);
    for (int b = 0; b < 256; ++b)
        if (kFold[size_t(b)] == last)
            t.m_skip[size_t(b)] = 0;
    return t;
}

qsizetype FoldedText::find(const char* data, qsizetype length) const {
    const qsizetype m = m_folded.size();
    if (m == 0 || length < m)
        return -1;
    const auto* text = reinterpret_cast<const unsigned char*>(data);
    const auto* needle = reinterpret_cast<const unsigned char*>(m_folded.constData());
    const qsizetype end = length - m;
    qsizetype pos = 0;
    while (pos <= end) {
        // The skip loop touches one byte per step and folds nothing; only a byte that folds to
        // the text's last one stops it.
        qsizetype k;
        while ((k = m_skip[text[pos + m - 1]]) != 0) {
            pos += k;
            if (pos > end)
                return -1;
        }
        qsizetype i = m - 2;
        while (i >= 0 && kFold[text[pos + i]] == needle[i])
            --i;
        if (i < 0)
            return pos;
        pos += m_shift[text[pos + m - 1]];
    }
    return -1;
}

ScanOutcome ScanFileForText(const QByteArray& nativePath, const FoldedText& text,
                            const std::atomic_bool& run, qsizetype blockSize) {
    FdCloser file{::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
    if (file.fd < 0)
        return ScanOutcome::Unreadable;
    struct stat st {};
    if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return ScanOutcome::Unreadable;
    ::posix_fadvise(file.fd, 0, 0, POSIX_FADV_SEQUENTIAL);

    const qsizetype carry = text.size() - 1;
    blockSize = std::max(blockSize, carry + 1);
    // The tail of the previous block sits just before the new one, so one scan covers the edge.
    std::unique_ptr<char[]> buffer(new char[size_t(carry + blockSize)]);
    qsizetype held = 0;
    for (;;) {
        const ssize_t got = ::read(file.fd, buffer.get() + held, size_t(blockSize));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return ScanOutcome::Unreadable;
        }
        if (got == 0)
            return ScanOutcome::NotFound;
        const qsizetype filled = held + got;
        if (text.find(buffer.get(), filled) >= 0)
            return ScanOutcome::Found;
        held = std::min(carry, filled);
        std::memmove(buffer.get(), buffer.get() + filled - held, size_t(held));
        if (!run.load(std::memory_order_relaxed))
            return ScanOutcome::Stopped;
    }
}

bool DoesFileContainString(const QByteArray& nativePath, const FoldedText& text,
                           const std::atomic_bool& run) {
    return ScanFileForText(nativePath, text, run) == ScanOutcome::Found;
}

bool IsNoEmbeddedText(const QString& text) {
    return text.isEmpty() || text == QLatin1String(" ");
}

QString EmbeddedTextNeededText() {
    return QStringLiteral("A text to find is needed: nothing was searched.");
}

} // namespace orvanex::search
