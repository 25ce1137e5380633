#include "registry/nt_hive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <hivex.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace orvanex::reg::nt {

namespace {

constexpr std::int64_t BaseBlockSize = 4096;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Owned = std::unique_ptr<T, FreeDeleter>;

QString errnoText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

std::uint32_t le32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<std::uint32_t>(bytes.constData() + at);
}

} // namespace

HeaderState checkHeader(const QByteArray& header, std::int64_t fileSize) {
    HeaderState state;
    if (fileSize < BaseBlockSize || header.size() < 0x30) {
        state.problem =
            QStringLiteral("is too short to be a registry hive (%1 bytes)").arg(fileSize);
        return state;
    }
    if (!header.startsWith("regf")) {
        state.problem = QStringLiteral("is not a registry hive (it does not start with \"regf\")");
        return state;
    }
    state.sequence1 = le32(header, 4);
    state.sequence2 = le32(header, 8);
    state.dirty = state.sequence1 != state.sequence2;
    const std::int64_t counted = std::int64_t(le32(header, 0x28));
    if (BaseBlockSize + counted > fileSize)
        state.problem = QStringLiteral("is truncated: its header counts %1 bytes of keys, the file "
                                       "holds %2")
                            .arg(counted)
                            .arg(fileSize - BaseBlockSize);
    return state;
}

// hivex hands back types outside its enum's range (any 32-bit number a hive holds), so the
// enum object is read as the number it holds, never loaded as an enum.
static_assert(sizeof(hive_type) == sizeof(std::uint32_t));
std::uint32_t rawType(const hive_type& type) {
    std::uint32_t raw = 0;
    std::memcpy(&raw, &type, sizeof raw);
    return raw;
}

QByteArray decodeValue(std::uint32_t valueType, const char* data, std::size_t size) {
    if (valueType != type::Sz && valueType != type::ExpandSz && valueType != type::MultiSz)
        return QByteArray(data, qsizetype(size));
    // Windows reads whole units; an odd last byte is no character.
    qsizetype units = qsizetype(size / 2);
    if (valueType == type::Sz && units > 0 && data[2 * units - 1] == '\0' &&
        data[2 * units - 2] == '\0')
        --units;
    QString text(units, Qt::Uninitialized);
    for (qsizetype i = 0; i < units; ++i)
        text[i] = QChar(qFromLittleEndian<char16_t>(data + 2 * i));
    return text.toUtf8();
}

QByteArray encodeValue(std::uint32_t valueType, const QByteArray& stored) {
    if (valueType != type::Sz && valueType != type::ExpandSz && valueType != type::MultiSz)
        return stored;
    const QString text = QString::fromUtf8(stored);
    QByteArray out(2 * (text.size() + (valueType == type::Sz ? 1 : 0)), '\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<char16_t>(text[i].unicode(), out.data() + 2 * i);
    return out;
}

NtHive::~NtHive() {
    close();
}

void NtHive::close() {
    if (m_hive)
        hivex_close(m_hive);
    m_hive = nullptr;
    m_hiveWritable = false;
    m_nodes.clear();
    m_image.clear();
    m_ledger.clear();
    m_mapping.close(); // unmaps
}

bool NtHive::open(const QString& path, bool writable, QString* why) {
    close();
    const QFileInfo info(path);
    m_path = info.isSymLink() ? info.canonicalFilePath() : info.absoluteFilePath();
    if (m_path.isEmpty())
        m_path = info.absoluteFilePath();
    m_header = HeaderState();
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("cannot be read: %1").arg(file.errorString());
        return false;
    }
    m_stamp = wine::stampOf(m_path);
    m_header = checkHeader(file.read(BaseBlockSize), file.size());
    file.close();
    if (!m_header.problem.isEmpty()) {
        *why = m_header.problem;
        return false;
    }
    // A handle for writing reads the whole file into memory; most openings never write.
    m_writable = writable;
    m_hive = hivex_open(QFile::encodeName(m_path).constData(), 0);
    if (!m_hive) {
        *why = QStringLiteral("cannot be read as a registry hive: %1").arg(errnoText());
        return false;
    }
    // The bytes are the ones hivex read only if the file did not change in between.
    if (wine::stampOf(m_path) == m_stamp)
        takeImage();
    return true;
}

// Mapped, not read: hivex holds its own copy of a hive that may be hundreds of megabytes.
void NtHive::takeImage() {
    m_image.clear();
    m_ledger.clear();
    if (m_mapping.isOpen())
        m_mapping.close();
    m_mapping.setFileName(m_path);
    if (!m_mapping.open(QIODevice::ReadOnly) || m_mapping.size() <= 0)
        return;
    const uchar* at = m_mapping.map(0, m_mapping.size());
    if (!at || !m_image.reset(QByteArray::fromRawData(reinterpret_cast<const char*>(at),
                                                      qsizetype(m_mapping.size()))))
        m_image.clear();
}

void NtHive::load(KeyNode& root) {
    walk(root, true);
}

void NtHive::mapTree(KeyNode& root) {
    walk(root, false);
}

// Depth first with a stack of its own: a hive's depth is the file's to choose.
void NtHive::walk(KeyNode& top, bool build) {
    m_nodes.clear();
    m_incomplete = false;
    if (!m_hive)
        return;
    struct Item {
        KeyNode* node;
        hive_node_h hiveNode;
        int depth;
    };
    std::vector<Item> stack{{&top, hivex_root(m_hive), 0}};
    // Cells start at multiples of 4: one bit each marks the keys met (a set when the cells are
    // not known).
    std::vector<std::uint64_t> seenBits(m_image.size() / 256 + 1, 0);
    std::unordered_set<hive_node_h> seenSet;
    auto firstVisit = [&](hive_node_h node) {
        if (m_image.isEmpty())
            return seenSet.insert(node).second;
        std::uint64_t& word = seenBits[node / 256];
        const std::uint64_t bit = std::uint64_t(1) << ((node / 4) % 64);
        const bool first = (word & bit) == 0;
        word |= bit;
        return first;
    };
    std::vector<hive_node_h> children;
    std::vector<QString> names;
    while (!stack.empty()) {
        const Item item = stack.back();
        stack.pop_back();
        // Nodes of the image are its cells: readChildren handed out nothing else.
        if (item.hiveNode == 0 || !firstVisit(item.hiveNode)) {
            m_incomplete = true; // a list that points back up would never end
            continue;
        }
        m_nodes.insert(item.node, item.hiveNode);
        if (build)
            readValues(item.node, item.hiveNode);
        if (item.depth + 1 >= MaxKeyDepth) {
            m_incomplete = true;
            continue;
        }
        if (!readChildren(item.hiveNode, &children, &names))
            m_incomplete = true;
        for (std::size_t i = 0; i < children.size(); ++i) {
            const QString& text = names[i];
            KeyNode* child = build
                                 ? item.node->ensureChild(QStringView(text).left(MaxKeyNameLength))
                                 : item.node->findChild(text);
            if (child)
                stack.push_back({child, children[i], item.depth + 1});
        }
    }
}

void NtHive::readValues(KeyNode* node, std::size_t hiveNode) {
    if (m_image.isEmpty()) {
        const Owned<hive_value_h> values(hivex_node_values(m_hive, hiveNode));
        for (const hive_value_h* v = values.get(); v && *v; ++v) {
            const Owned<char> name(hivex_value_key(m_hive, *v));
            hive_type type = hive_t_REG_NONE;
            std::size_t size = 0;
            const Owned<char> data(hivex_value_value(m_hive, *v, &type, &size));
            if (!name || !data) {
                m_incomplete = true;
                continue;
            }
            node->setValue(QString::fromUtf8(name.get()), rawType(type),
                           decodeValue(rawType(type), data.get(), size));
        }
        return;
    }
    Offset list = 0;
    if (!valueList(m_image, hiveNode, &m_offsets, &list)) {
        m_incomplete = true;
        return;
    }
    QString name;
    for (const Offset vk : m_offsets) {
        const NameRead read = valueName(m_image, vk, &name);
        if (read == NameRead::Unusual) {
            const Owned<char> converted(hivex_value_key(m_hive, vk));
            if (converted)
                name = QString::fromUtf8(converted.get());
        }
        std::uint32_t type = 0;
        QByteArrayView data;
        if (read == NameRead::Broken || (read == NameRead::Unusual && name.isNull()) ||
            !valueData(m_image, vk, &type, &data, &m_scratch)) {
            m_incomplete = true;
            continue;
        }
        node->setValue(name, type, decodeValue(type, data.data(), std::size_t(data.size())));
        name = QString();
    }
}

bool NtHive::readChildren(std::size_t hiveNode, std::vector<std::size_t>* children,
                          std::vector<QString>* names) {
    children->clear();
    names->clear();
    bool whole = true;
    auto add = [&](std::size_t child, QString name) {
        children->push_back(child);
        names->push_back(std::move(name));
    };
    if (m_image.isEmpty()) {
        const Owned<hive_node_h> found(hivex_node_children(m_hive, hiveNode));
        for (const hive_node_h* c = found.get(); c && *c; ++c) {
            const Owned<char> name(hivex_node_name(m_hive, *c));
            if (name)
                add(*c, QString::fromUtf8(name.get()));
            else
                whole = false;
        }
        return found && whole;
    }
    if (!childList(m_image, hiveNode, &m_offsets, &m_lists))
        return false;
    QString name;
    for (const Offset child : m_offsets) {
        switch (nodeName(m_image, child, &name)) {
        case NameRead::Read:
            add(child, std::move(name));
            break;
        case NameRead::Unusual:
            if (const Owned<char> converted(hivex_node_name(m_hive, child)); converted)
                add(child, QString::fromUtf8(converted.get()));
            else
                whole = false;
            break;
        case NameRead::Broken:
            whole = false;
            break;
        }
        name = QString();
    }
    return whole;
}

QString NtHive::unsafeChange(const KeyNode* node, std::size_t hiveNode, bool wholeKey) {
    if (m_image.isEmpty())
        return QStringLiteral("the hive's cells could not be checked, so %1 is not changed")
            .arg(node->path());
    const QString problem = wholeKey ? m_ledger.deleteKey(m_image, hiveNode)
                                     : m_ledger.replaceValues(m_image, hiveNode);
    if (problem.isEmpty())
        return problem;
    return QStringLiteral("the hive is damaged at the key %1 (%2), so it is not changed")
        .arg(node->path(), problem);
}

bool NtHive::writeHandle(QString* why) {
    if (!m_writable || m_hiveWritable)
        return true;
    // Offsets and the cell checks hold only for the bytes that were read.
    const QString changed =
        QStringLiteral("%1 was changed by another program; the change was not saved").arg(m_path);
    if (!unchangedOnDisk()) {
        *why = changed;
        return false;
    }
    hive_h* const written = hivex_open(QFile::encodeName(m_path).constData(), HIVEX_OPEN_WRITE);
    if (!written) {
        *why = QStringLiteral("cannot open %1 for writing: %2").arg(m_path, errnoText());
        return false;
    }
    if (!unchangedOnDisk()) {
        hivex_close(written);
        *why = changed;
        return false;
    }
    hivex_close(m_hive);
    m_hive = written;
    m_hiveWritable = true;
    return true;
}

bool NtHive::prepareChange(const KeyNode* node, Cells cells, std::size_t* at, QString* why) {
    const auto found = m_nodes.constFind(node);
    if (!m_hive || found == m_nodes.cend()) {
        *why = QStringLiteral("the key %1 is not in the hive").arg(node->path());
        return false;
    }
    *at = *found;
    if (cells != Cells::Unchecked) {
        if (const QString unsafe = unsafeChange(node, *at, cells == Cells::Whole);
            !unsafe.isEmpty()) {
            *why = unsafe;
            return false;
        }
    }
    return writeHandle(why);
}

bool NtHive::addChild(KeyNode* parent, KeyNode* child, QString* why) {
    std::size_t at = 0;
    if (!prepareChange(parent, Cells::Unchecked, &at, why))
        return false;
    const hive_node_h made = hivex_node_add_child(m_hive, at, child->name.toUtf8().constData());
    if (made == 0) {
        *why = QStringLiteral("cannot add the key %1: %2").arg(child->path(), errnoText());
        return false;
    }
    m_nodes.insert(child, made);
    m_ledger.created.insert(made);
    return true;
}

bool NtHive::setValue(const KeyNode* node, const StoredValue& value, QString* why) {
    std::size_t at = 0;
    if (!prepareChange(node, Cells::Values, &at, why))
        return false;
    QByteArray name = value.name.toUtf8();
    QByteArray data = encodeValue(value.type, value.data);
    const hive_set_value set{name.data(), hive_type(value.type), std::size_t(data.size()),
                             data.data()};
    if (hivex_node_set_value(m_hive, at, &set, 0) != 0) {
        *why = QStringLiteral("cannot set the value %1 of %2: %3")
                   .arg(value.name, node->path(), errnoText());
        return false;
    }
    return true;
}

bool NtHive::deleteValue(const KeyNode* node, const QString& name, QString* why) {
    std::size_t at = 0;
    if (!prepareChange(node, Cells::Values, &at, why))
        return false;
    // hivex sets a key's values as a whole: the others are given back with their own bytes.
    const Owned<hive_value_h> values(hivex_node_values(m_hive, at));
    if (!values) {
        *why = QStringLiteral("cannot read the values of %1: %2").arg(node->path(), errnoText());
        return false;
    }
    std::vector<Owned<char>> keep;
    std::vector<hive_set_value> kept;
    for (const hive_value_h* v = values.get(); *v; ++v) {
        Owned<char> key(hivex_value_key(m_hive, *v));
        hive_type type = hive_t_REG_NONE;
        std::size_t size = 0;
        Owned<char> data(hivex_value_value(m_hive, *v, &type, &size));
        if (!key || !data) {
            *why = QStringLiteral("cannot read a value of %1: %2").arg(node->path(), errnoText());
            return false;
        }
        if (sameName(QString::fromUtf8(key.get()), name))
            continue;
        kept.push_back({key.get(), hive_t_REG_NONE, size, data.get()});
        std::memcpy(&kept.back().t, &type, sizeof type); // the type as stored, any number
        keep.push_back(std::move(key));
        keep.push_back(std::move(data));
    }
    if (hivex_node_set_values(m_hive, at, kept.size(), kept.data(), 0) != 0) {
        *why = QStringLiteral("cannot delete the value %1 of %2: %3")
                   .arg(name, node->path(), errnoText());
        return false;
    }
    return true;
}

void NtHive::forget(const KeyNode* node) {
    std::vector<const KeyNode*> stack{node};
    while (!stack.empty()) {
        const KeyNode* n = stack.back();
        stack.pop_back();
        m_nodes.remove(n);
        for (const auto& c : n->children())
            stack.push_back(c.get());
    }
}

bool NtHive::deleteKey(KeyNode* node, QString* why) {
    std::size_t at = 0;
    if (!prepareChange(node, Cells::Whole, &at, why))
        return false;
    if (hivex_node_delete_child(m_hive, at) != 0) {
        *why = QStringLiteral("cannot delete the key %1: %2").arg(node->path(), errnoText());
        return false;
    }
    forget(node);
    return true;
}

bool NtHive::unchangedOnDisk() const {
    return wine::stampOf(m_path) == m_stamp;
}

bool NtHive::commit(QString* why) {
    if (!m_hive) {
        *why = QStringLiteral("%1 is not open").arg(m_path);
        return false;
    }
    if (!writeHandle(why))
        return false;
    const QFileInfo info(m_path);
    QByteArray temporary =
        QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";
    const int made = ::mkstemp(temporary.data());
    if (made < 0) {
        *why = QStringLiteral("cannot make a file beside %1: %2").arg(m_path, errnoText());
        return false;
    }
    ::close(made);
    auto fail = [&](const QString& what) {
        *why = QStringLiteral("%1 while saving %2: %3").arg(what, m_path, errnoText());
        ::unlink(temporary.constData());
        return false;
    };
    if (hivex_commit(m_hive, temporary.constData(), 0) != 0)
        return fail(QStringLiteral("cannot write the hive"));
    const int fd = ::open(temporary.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return fail(QStringLiteral("cannot reopen the written hive"));
    struct stat old {};
    if (::stat(QFile::encodeName(m_path).constData(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
        [[maybe_unused]] const int owned = ::fchown(fd, old.st_uid, old.st_gid);
    }
    if (::fsync(fd) != 0) {
        ::close(fd);
        return fail(QStringLiteral("cannot flush the written hive"));
    }
    ::close(fd);
    if (::rename(temporary.constData(), QFile::encodeName(m_path).constData()) != 0)
        return fail(QStringLiteral("cannot put the written hive in place"));
    const int dir = ::open(QFile::encodeName(info.absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    m_stamp = wine::stampOf(m_path);
    // hivex's memory is now the file: the checks go by it again.
    takeImage();
    return true;
}

} // namespace orvanex::reg::nt
