#pragma once
// The facts the summary window shows for one file, as caption-and-value lines, built by one
// function that both the window and orvx summary call.

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>

namespace orvanex::reg {
class Registry;
}

namespace orvanex::search {

// Attribute bits as the summary counts them.
inline constexpr int kAttrReadOnly = 1;
inline constexpr int kAttrHidden = 2;
inline constexpr int kAttrSystem = 4;
inline constexpr int kAttrDirectory = 16;
inline constexpr int kAttrArchive = 32;

// Capability bits, in the order their texts are listed.
inline constexpr std::uint32_t kCanCopy = 0x1;
inline constexpr std::uint32_t kCanMove = 0x2;
inline constexpr std::uint32_t kCanLink = 0x4;
inline constexpr std::uint32_t kCanRename = 0x10;
inline constexpr std::uint32_t kCanDelete = 0x20;
inline constexpr std::uint32_t kHasProperties = 0x40;
inline constexpr std::uint32_t kDropTarget = 0x100;

struct SummaryLine {
    QString name;    // the label's name: lblFile, lblType, ..., lblInfE
    QString caption; // padded so that the values line up in a fixed-pitch font
    QString value;
    QString text() const { return caption + value; }
};

struct FileSummary {
    bool exists = false; // the file (or folder) could be looked at
    QList<SummaryLine> lines;
    QString text(const QString& name) const; // the line of that label, empty when none
};

// The registry's description of an extension (upper case, no dot); empty when it has none.
using ExtensionDescriber = std::function<QString(const QString& extension)>;
// Reads HKEY_CLASSES_ROOT\.EXT's type and that type's default; the registry must outlive it.
ExtensionDescriber registryDescriber(reg::Registry* registry);

// The attribute value of a native path: read-only when the user cannot write it, hidden when its
// name starts with ".", directory for a folder.
int fileAttributes(const QString& nativePath);
QString AttributeText(int attributes);
// "Win32, v4.00" and the like from the executable-type answer.
QString ExecutionTypeText(std::uint32_t answer);
// What the user may do with the file and its folder; 0 when the file cannot be looked at.
std::uint32_t capabilityFlags(const QString& nativePath);
QString CapabilityText(std::uint32_t flags);
// The type name: the registry's description of the extension, else the desktop's MIME comment.
QString shellTypeName(const QString& nativePath, const ExtensionDescriber& describe);

// All lines, in window and print order. shownPath is the path as the search window shows it
// (a C:\ path or a native one); nativePath is where the file is.
FileSummary SummarizeFile(const QString& shownPath, const QString& nativePath,
                          const ExtensionDescriber& describe);

} // namespace orvanex::search
