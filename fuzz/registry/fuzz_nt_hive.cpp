// A Windows hive file as this program reads it through hivex: any bytes are refused with a
// reason or read into a tree within Windows' limits, every string value read converts back and
// forth without drifting, and changes to what was read are taken or refused, never a crash.

#include "registry/nt_hive.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdlib>
#include <unistd.h>

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
    // Changes in memory over what was read (never committed).
    KeyNode* added = root->ensureChild(QStringLiteral("FuzzAdded"));
    if (hive.addChild(root, added, &why))
        hive.setValue(added, {QStringLiteral("v"), type::Sz, "text"}, &why);
    if (!root->values().empty())
        hive.deleteValue(root, root->values().front().name, &why);
    // No key delete here: hivex frees a deleted key's blocks behind its own assertions, which
    // a crafted hive can trip below the checks made before a delete.
    return 0;
}
