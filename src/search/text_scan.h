#pragma once
// The embedded-text search: does a file hold a text, compared without regard to case with every
// byte one Windows-1252 character. The search is a case-folded Horspool scan over large blocks, so
// a search of many files is bound by reading them.

#include <QByteArray>
#include <QString>
#include <array>
#include <atomic>
#include <optional>

namespace orvanex::search {

// A text prepared for searching: its folded bytes and the shift of every byte.
class FoldedText {
public:
    // Nothing when a character of the text has no Windows-1252 byte (no file can hold it) or the
    // text is empty.
    static std::optional<FoldedText> fromText(const QString& text);
    static std::optional<FoldedText> fromBytes(const QByteArray& bytes);

    qsizetype size() const { return m_folded.size(); }
    // The offset of the first match in data, or -1.
    qsizetype find(const char* data, qsizetype length) const;

private:
    QByteArray m_folded;
    std::array<qsizetype, 256> m_shift{}; // after a candidate: from the text's earlier bytes
    std::array<qsizetype, 256> m_skip{};  // m_shift, but 0 for the bytes that fold to the last
};

// The byte that a Windows-1252 byte compares as: upper-case letters (accented ones included) as
// their lower-case forms.
unsigned char FoldCp1252(unsigned char b);

// An empty text or a single blank holds nothing to look for.
bool IsNoEmbeddedText(const QString& text);
// "A text to find is needed: nothing was searched."
QString EmbeddedTextNeededText();

enum class ScanOutcome { Found, NotFound, Unreadable, Stopped };

// Reads the file in blocks, carrying the tail of each block so that a match across a block edge
// is found; run is tested after every block and a false value ends the reading. Only regular
// files are read (a pipe or device would never end).
ScanOutcome ScanFileForText(const QByteArray& nativePath, const FoldedText& text,
                            const std::atomic_bool& run, qsizetype blockSize = 1 << 18);

// True when the file holds the text; a file that cannot be read, or a stopped scan that had not
// found it yet, does not.
bool DoesFileContainString(const QByteArray& nativePath, const FoldedText& text,
                           const std::atomic_bool& run);

} // namespace orvanex::search
