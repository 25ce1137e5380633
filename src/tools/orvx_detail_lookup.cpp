#include "tools/orvx_detail_lookup.h"

#include "model/loading.h"
#include "tools/orvx_workbench.h"

namespace orvanex::tools {

NamedDetail lookUpDetail(reg::RegState& state, const platform::DriveMap& drives,
                         const QString& name) {
    NamedDetail found;
    const model::ExtensionLoad extensions = model::LoadExtensions(state);
    if (name.startsWith(u'.') || name == model::kAllKey ||
        name.compare(model::kUnknownExt, Qt::CaseInsensitive) == 0) {
        const QString ext =
            name.startsWith(u'.') ? name.mid(1).trimmed().toUpper() : name.toUpper();
        for (const model::IndexRow& row : extensions.rows)
            if (row.name == ext) {
                found.found = true;
                found.view = model::ShowExtension(state, drives, extensions.entries,
                                                  {row.name, row.related, row.name});
                return found;
            }
        found.error = QStringLiteral("no extension %1 in the registry").arg(name);
        return found;
    }
    const model::FileTypeLoad types = model::BuildFileTypes(extensions.entries);
    if (const model::FileTypeEntry* typeFound = findFileType(types.types, name, &found.error)) {
        const model::FileTypeEntry& type = *typeFound;
        for (const model::IndexRow& row : types.rows)
            if (row.name == type.Description && row.related == type.Extensions) {
                found.found = found.isType = true;
                found.view = model::ShowFileType(state, drives, types.types,
                                                 {row.name, row.related, row.name});
                return found;
            }
        found.error = QStringLiteral("file type %1 has no row in the file-type list").arg(name);
        return found;
    }
    if (found.error.startsWith(QStringLiteral("no file type")))
        found.error = QStringLiteral("no extension or file type %1 in the registry").arg(name);
    return found;
}

} // namespace orvanex::tools
