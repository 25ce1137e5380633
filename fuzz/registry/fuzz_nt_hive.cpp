// A Windows hive file as this program reads it: any bytes are refused with a reason or read into
// a tree within Windows' limits; a hive read whole reads as hivex's own calls read it; every
// string value read converts back and forth without drifting; and changes to what was read,
// key deletes included, are taken or refused, never a crash, and what is saved opens again.

#include "registry/nt_hive.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdlib>
#include <cstring>
#include <hivex.h>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace orvanex::reg;

namespace {

QString scratchFile() {
    static const QString path =
        QDir::tempPath() + QStringLiteral("/fuzz_nt_hive.%1").arg(::getpid());
    return path;
}

int depthOf(const KeyNode* node) {
    int depth = 0;
    for (; node->parent; node = node->parent)
        ++depth;
    return depth;
}

void checkTree(const KeyNode& node) {
    if (depthOf(&node) > MaxKeyDepth || node.name.size() > MaxKeyNameLength)
        std::abort();
    for (const StoredValue& v : node.values()) {
        const QByteArray again =
            nt::decodeValue(v.type, nt::encodeValue(v.type, v.data).constData(),
                            std::size_t(nt::encodeValue(v.type, v.data).size()));
        const QByteArray twice =
            nt::decodeValue(v.type, nt::encodeValue(v.type, again).constData(),
                            std::size_t(nt::encodeValue(v.type, again).size()));
        if (again != twice)
            std::abort();
    }
    for (const auto& c : node.children()) {
        if (c->parent != &node)
            std::abort();
        checkTree(*c);
    }
}

// The same tree read only through hivex's calls, for a hive this program read whole.
bool sameAsHivex(hive_h* h, hive_node_h node, const KeyNode& tree, int depth) {
    auto release = [](void* p) { std::free(p); };
    std::unique_ptr<hive_value_h, decltype(release)> values(hivex_node_values(h, node), release);
    if (!values)
        return false;
    std::size_t count = 0;
    for (const hive_value_h* v = values.get(); *v; ++v)
        ++count;
    // Names that fold alike were merged into one key or value: nothing to compare one to one.
    const bool distinct = count == tree.values().size();
    for (const hive_value_h* v = values.get(); distinct && *v; ++v) {
        std::unique_ptr<char, decltype(release)> key(hivex_value_key(h, *v), release);
        hive_type type{};
        std::size_t size = 0;
        std::unique_ptr<char, decltype(release)> data(hivex_value_value(h, *v, &type, &size),
                                                      release);
        if (!key || !data)
            return false;
        const StoredValue* mine = tree.findValue(QString::fromUtf8(key.get()));
        std::uint32_t raw = 0;
        std::memcpy(&raw, &type, sizeof raw);
        if (!mine || mine->type != raw || mine->data != nt::decodeValue(raw, data.get(), size))
            return false;
    }
    std::unique_ptr<hive_node_h, decltype(release)> children(hivex_node_children(h, node), release);
    if (!children)
        return false;
    std::size_t subkeys = 0;
    for (const hive_node_h* c = children.get(); *c; ++c)
        ++subkeys;
    if (subkeys != tree.children().size())
        return true;
    for (const hive_node_h* c = children.get(); *c; ++c) {
        std::unique_ptr<char, decltype(release)> name(hivex_node_name(h, *c), release);
        const KeyNode* mine =
            name ? tree.findChild(QString::fromUtf8(name.get()).left(MaxKeyNameLength)) : nullptr;
        if (!mine || !sameAsHivex(h, *c, *mine, depth + 1))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // The header check alone, on every input.
    const nt::HeaderState header = nt::checkHeader(bytes.left(4096), std::int64_t(size));
    if (header.problem.isEmpty() && (size < 4096 || !bytes.startsWith("regf")))
        std::abort();
    {
        QFile file(scratchFile());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            return 0;
    }
    nt::NtHive hive;
    QString why;
    if (!hive.open(scratchFile(), true, &why)) {
        if (why.isEmpty())
            std::abort();
        return 0;
    }
    if (!header.problem.isEmpty())
        std::abort(); // opened what the header check refused
    KeyNode top;
    KeyNode* root = top.ensureChild(QStringLiteral("SOFTWARE"));
    hive.load(*root);
    checkTree(*root);
    const bool whole = !hive.incomplete();
    if (whole) {
        hive_h* h = hivex_open(QFile::encodeName(scratchFile()).constData(), 0);
        if (!h || !sameAsHivex(h, hivex_root(h), *root, 0))
            std::abort();
        hivex_close(h);
    }
    // Changes in memory over what was read (never committed).
    KeyNode* added = root->ensureChild(QStringLiteral("FuzzAdded"));
    if (hive.addChild(root, added, &why))
        hive.setValue(added, {QStringLiteral("v"), type::Sz, "text"}, &why);
    if (!root->values().empty())
        hive.deleteValue(root, root->values().front().name, &why);
    // Key deletes, each checked against the cells hivex would free, then a save that must
    // open again.
    std::vector<KeyNode*> doomed;
    for (const auto& c : root->children())
        if (doomed.size() < 3 && c.get() != added)
            doomed.push_back(c->children().empty() ? c.get() : c->children().front().get());
    doomed.push_back(added);
    for (KeyNode* k : doomed)
        hive.deleteKey(k, &why);
    if (hive.commit(&why) && whole) {
        nt::NtHive again;
        if (!again.open(scratchFile(), false, &why))
            std::abort();
    }
    QFile::remove(scratchFile());
    return 0;
}
