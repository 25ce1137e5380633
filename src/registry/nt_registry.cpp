#include "registry/nt_registry.h"

namespace orvanex::reg {

NtRegistry::NtRegistry(const NtLocation& where) : m_where(where) {
    openHives();
}

KeyNode* NtRegistry::machineClasses() const {
    return m_hives[0].root->child(u"CLASSES");
}

// The hive whose root is at or above node, when it is open.
NtRegistry::Hive* NtRegistry::hiveAbove(const KeyNode* node) {
    for (const KeyNode* n = node; n; n = n->parent)
        for (Hive& hive : m_hives)
            if (n == hive.root)
                return hive.file ? &hive : nullptr;
    return nullptr;
}

NtRegistry::Hive* NtRegistry::hiveOf(const KeyNode* node) {
    Hive* hive = hiveAbove(node);
    return hive && hive->file->holds(node) ? hive : nullptr;
}

NtRegistry::Hive* NtRegistry::hiveBelow(const KeyNode* node) {
    Hive* hive = hiveAbove(node);
    return hive && hive->file->holds(hive->root) ? hive : nullptr;
}

// The roots, the hives' own roots and the machine's Classes key stay: Windows cannot do without
// them.
bool NtRegistry::isProtected(const KeyNode* node) const {
    if (!node->parent || !node->parent->parent || node == machineClasses())
        return true;
    for (const Hive& hive : m_hives)
        if (node == hive.root)
            return true;
    return false;
}

bool NtRegistry::mayEdit(Edit::Kind kind, const KeyNode* node) {
    switch (kind) {
    case Edit::AddKey:
        return hiveBelow(node);
    case Edit::SetValue:
    case Edit::DeleteValue:
        return hiveOf(node);
    case Edit::DeleteKey:
        return !isProtected(node) && hiveOf(node);
    }
    return false;
}

// Keys only the tree has (the machine's Classes of a hive without one) go into the hive first.
bool NtRegistry::addKey(Hive& hive, KeyNode* node, QString* why) {
    std::vector<KeyNode*> missing;
    for (KeyNode* n = node->parent; !hive.file->holds(n); n = n->parent)
        missing.push_back(n);
    for (auto n = missing.rbegin(); n != missing.rend(); ++n)
        if (!hive.file->addChild((*n)->parent, *n, why))
            return false;
    return hive.file->addChild(node->parent, node, why);
}

Status NtRegistry::applyEdit(const Edit& edit) {
    KeyNode* node = edit.node;
    Hive* hive = edit.kind == Edit::AddKey ? hiveBelow(node->parent) : hiveOf(node);
    if (!hive)
        return status::CantWrite;
    hive->dirty = true;
    QString why;
    bool done = false;
    switch (edit.kind) {
    case Edit::AddKey:
        ++m_shape;
        done = addKey(*hive, node, &why);
        break;
    case Edit::SetValue:
        done = hive->file->setValue(node, *node->findValue(edit.valueName), &why);
        break;
    case Edit::DeleteValue:
        done = hive->file->deleteValue(node, edit.valueName, &why);
        break;
    case Edit::DeleteKey:
        ++m_shape;
        done = hive->file->deleteKey(node, &why);
        break;
    }
    if (done)
        return status::Success;
    setProblem(why);
    return status::CantWrite;
}

} // namespace orvanex::reg
