// Merging a parsed .reg file into the registry.

#include "registry/reg_file.h"

namespace orvanex::reg {

RegImport importRegFile(Registry& registry, const QByteArray& bytes) {
    RegImport result;
    RegFileParse parse = parseRegFile(bytes);
    result.warnings = parse.warnings;
    if (parse.refused) {
        result.refused = true;
        result.error = parse.error;
        return result;
    }
    WriteBatch batch(registry);
    if (!batch.isOpen()) {
        result.error =
            QStringLiteral("the registry cannot be written (status %1)").arg(batch.finish());
        return result;
    }
    HKey current = 0;
    QString currentName;
    auto warn = [&](const RegFileOp& op, const QString& what, Status s) {
        result.warnings
            << QStringLiteral("line %1: cannot %2 (status %3)").arg(op.line).arg(what).arg(s);
    };
    for (const RegFileOp& op : parse.ops) {
        HKey root = 0;
        QString rootName, subPath;
        splitRegKeyName(op.key, &root, &rootName, &subPath);
        if (op.kind == RegFileOp::DeleteKey) {
            const Status s = registry.deleteKey(root, subPath);
            if (s == status::Success)
                ++result.keysDeleted;
            else if (s != status::FileNotFound)
                warn(op, QStringLiteral("delete the key %1").arg(op.key), s);
            continue;
        }
        if (op.kind == RegFileOp::CreateKey || op.key != currentName) {
            if (current)
                registry.closeKey(current);
            current = 0;
            currentName = op.key;
            const Status s = registry.createKey(root, subPath, &current);
            if (s != status::Success) {
                current = 0;
                warn(op, QStringLiteral("create the key %1").arg(op.key), s);
            } else if (op.kind == RegFileOp::CreateKey) {
                ++result.keysCreated;
            }
        }
        if (!current || op.kind == RegFileOp::CreateKey)
            continue;
        if (op.kind == RegFileOp::DeleteValue) {
            const Status s = registry.deleteValue(current, op.valueName);
            if (s == status::Success)
                ++result.valuesDeleted;
            else if (s != status::FileNotFound)
                warn(op, QStringLiteral("delete the value \"%1\"").arg(op.valueName), s);
            continue;
        }
        const Status s = registry.setValueEx(current, op.valueName, op.type, op.data.constData(),
                                             std::uint32_t(op.data.size()));
        if (s == status::Success)
            ++result.valuesSet;
        else
            warn(op, QStringLiteral("set the value \"%1\"").arg(op.valueName), s);
    }
    if (current)
        registry.closeKey(current);
    const Status committed = batch.finish();
    if (committed != status::Success) {
        result.error = QStringLiteral("the changes could not be written (status %1); nothing was "
                                      "imported")
                           .arg(committed);
        result.keysCreated = result.keysDeleted = result.valuesSet = result.valuesDeleted = 0;
    }
    return result;
}

} // namespace orvanex::reg
