#include "search/file_summary.h"

#include "platform/desktop_apps.h"
#include "platform/exe_type.h"
#include "platform/version_info.h"
#include "registry/reg_state.h"
#include "reports/report_layout.h"
#include "search/file_operations.h"
#include "search/search_pattern.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

#include <sys/stat.h>
#include <unistd.h>

namespace orvanex::search {

namespace {

// lblInf1 to lblInf8, in the order of platform::versionKeys().
const char* const kVersionCaptions[] = {
    "Company Name:         ", "File Description:     ", "File Version:         ",
    "Internal Name:        ", "Legal Copyright:      ", "Original File Name:   ",
    "Product Name:         ", "Product Version:      ",
};

bool statOf(const QString& nativePath, struct stat* st) {
    const QByteArray path = QFile::encodeName(nativePath);
    return !path.isEmpty() && ::stat(path.constData(), st) == 0;
}

// Whether the user may take the file out of its folder: the folder must be writable and, where
// it is sticky (/tmp), the user must own the file or the folder.
bool mayUnlink(const QString& nativePath, const struct stat& file) {
    const QString folder = QFileInfo(nativePath).absolutePath();
    struct stat dir;
    if (!statOf(folder, &dir) || ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        return false;
    const uid_t me = ::geteuid();
    return !(dir.st_mode & S_ISVTX) || me == 0 || me == file.st_uid || me == dir.st_uid;
}

} // namespace

QString FileSummary::text(const QString& name) const {
    for (const SummaryLine& line : lines)
        if (line.name == name)
            return line.text();
    return {};
}

int fileAttributes(const QString& nativePath) {
    struct stat st;
    if (!statOf(nativePath, &st))
        return 0;
    int attributes = 0;
    if (::access(QFile::encodeName(nativePath).constData(), W_OK) != 0)
        attributes |= kAttrReadOnly;
    if (QFileInfo(nativePath).fileName().startsWith(u'.'))
        attributes |= kAttrHidden;
    if (S_ISDIR(st.st_mode))
        attributes |= kAttrDirectory;
    return attributes;
}

QString AttributeText(int attributes) {
    switch (attributes) {
    case 0:
        return QStringLiteral("normal");
    case 1:
        return QStringLiteral("read only");
    case 2:
        return QStringLiteral("hidden");
    case 3:
        return QStringLiteral("hidden/read only");
    case 4:
        return QStringLiteral("system");
    case 5:
        return QStringLiteral("system/read only");
    case 6:
        return QStringLiteral("hidden/system");
    // Folder texts belong to the folder values, not to 35 and 37 (archive combinations).
    case 16:
        return QStringLiteral("directory");
    case 18:
        return QStringLiteral("hidden/directory");
    case 32:
        return QStringLiteral("archive");
    case 33:
        return QStringLiteral("archive/read only");
    case 34:
        return QStringLiteral("hidden/archive");
    case 36:
        return QStringLiteral("system/archive");
    case 39:
        return QStringLiteral("All Attributes");
    default:
        return QString::number(attributes);
    }
}

QString ExecutionTypeText(std::uint32_t answer) {
    QString text;
    switch (answer & 0xffff) {
    case 0:
        text = QStringLiteral("<not executable>");
        break;
    case platform::kExeTypeNe:
        text = QStringLiteral("Win16");
        break;
    case platform::kExeTypePe:
        text = QStringLiteral("Win32");
        break;
    case platform::kExeTypeMz:
        text = QStringLiteral("DOS");
        break;
    default:
        text = QStringLiteral("<unknown executable>");
        break;
    }
    const unsigned major = (answer >> 24) & 0xff;
    const unsigned minor = (answer >> 16) & 0xff;
    if (major != 0)
        text += QStringLiteral(", v") + QString::number(major) + u'.' +
                QStringLiteral("%1").arg(minor, 2, 10, QLatin1Char('0'));
    return text;
}

std::uint32_t capabilityFlags(const QString& nativePath) {
    struct stat st;
    if (!statOf(nativePath, &st))
        return 0;
    const QByteArray path = QFile::encodeName(nativePath);
    std::uint32_t flags = kCanLink | kHasProperties;
    if (::access(path.constData(), R_OK) == 0)
        flags |= kCanCopy;
    if (mayUnlink(nativePath, st))
        flags |= kCanMove | kCanRename | kCanDelete;
    // Files can be dropped into a folder the user may write, or onto a program.
    const bool folder = S_ISDIR(st.st_mode);
    if (folder ? ::access(path.constData(), W_OK | X_OK) == 0
               : ::access(path.constData(), X_OK) == 0)
        flags |= kDropTarget;
    return flags;
}

QString CapabilityText(std::uint32_t flags) {
    if (flags == 0)
        return QStringLiteral(" None");
    static const std::pair<std::uint32_t, const char*> kTexts[] = {
        {kCanCopy, " copy"},     {kCanMove, " move"},     {kCanLink, " link"},
        {kCanRename, " rename"}, {kCanDelete, " delete"}, {kHasProperties, " prop"},
        {kDropTarget, " drop"},
    };
    QString text;
    for (const auto& [bit, name] : kTexts)
        if (flags & bit)
            text += QLatin1String(name);
    return text;
}

ExtensionDescriber registryDescriber(reg::Registry* registry) {
    if (!registry)
        return {};
    return [registry](const QString& extension) {
        reg::RegState state;
        state.registry = registry;
        QString typeName;
        QString description;
        if (!reg::ReadText(state, u'.' + extension, QString(), &typeName))
            return QString();
        typeName = typeName.trimmed();
        if (typeName.isEmpty() || !reg::ReadText(state, typeName, QString(), &description))
            return QString();
        return reg::StripNull(description).trimmed();
    };
}

QString shellTypeName(const QString& nativePath, const ExtensionDescriber& describe) {
    const QString extension = FileNameExtension(nativePath);
    if (describe && !extension.isEmpty()) {
        const QString description = describe(extension);
        if (!description.isEmpty())
            return description.left(80);
    }
    const QMimeDatabase mimes;
    return mimes.mimeTypeForFile(nativePath).comment().left(80);
}

FileSummary SummarizeFile(const QString& shownPath, const QString& nativePath,
                          const ExtensionDescriber& describe) {
    FileSummary summary;
    struct stat st;
    summary.exists = statOf(nativePath, &st);
    auto add = [&](const char* name, const char* caption, const QString& value) {
        summary.lines.append({QLatin1String(name), QLatin1String(caption), value});
    };
    add("lblFile", "", shownPath);
    add("lblType", "File Type:            ", shellTypeName(nativePath, describe));
    // Folders and devices have no length of their own.
    const bool regular = summary.exists && S_ISREG(st.st_mode);
    const qint64 size = regular ? qint64(st.st_size) : 0;
    add("lblSize", "File Size:            ", FormatSize(size) + QStringLiteral("  Bytes"));
    add("lblAttr", "File Attribute:       ", AttributeText(fileAttributes(nativePath)));
    const QDateTime modified = QFileInfo(nativePath).lastModified();
    add("lblTime", "File Last Modified:   ",
        modified.isValid() ? reports::reportDate(modified) + u' ' + reports::reportTime(modified)
                           : QString());

    // Only files have a version block; reading a fifo would block.
    const QList<platform::VersionString> strings =
        platform::versionStrings(regular ? platform::fileVersionInfo(nativePath) : QByteArray());
    for (qsizetype i = 0; i < strings.size(); ++i)
        summary.lines.append({QStringLiteral("lblInf%1").arg(i + 1),
                              QLatin1String(kVersionCaptions[i]), strings[i].value});
    add("lblInf9", "Execution Type:       ",
        ExecutionTypeText(regular ? platform::executableType(nativePath) : 0));
    add("lblInf0", "Capability Flags:    ", CapabilityText(capabilityFlags(nativePath)));
    const platform::DesktopApp app =
        regular ? platform::defaultApplicationForFile(nativePath) : platform::DesktopApp();
    add("lblInfE", "Launch Program:       ", app.valid() ? app.executable : QStringLiteral("None"));
    return summary;
}

} // namespace orvanex::search
