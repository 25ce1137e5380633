#include "registry/key_node.h"

#include <algorithm>
#include <unordered_map>

namespace orvanex::reg {

namespace {

inline char16_t foldUnit(char16_t c) {
    if (c < 0x80)
        return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
    if (QChar::isSurrogate(c))
        return c;
    return char16_t(QChar::toUpper(char32_t(c)));
}

// folded against the folding of raw, in code-unit order.
int compareFolded(QStringView folded, QStringView raw) {
    const qsizetype n = std::min(folded.size(), raw.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t a = folded[i].unicode(), b = foldUnit(raw[i].unicode());
        if (a != b)
            return a < b ? -1 : 1;
    }
    return folded.size() == raw.size() ? 0 : folded.size() < raw.size() ? -1 : 1;
}

// Below this many subkeys a binary search is as quick as hashing and costs no memory.
constexpr size_t IndexFrom = 16;

// A name as written, looked up in the index by its folding (computed on the fly).
struct RawName {
    QStringView text;
};

template <typename Fold> size_t hashUnits(QStringView s, Fold fold) {
    std::uint64_t h = 14695981039346656037ull; // FNV-1a over UTF-16 units
    for (QChar c : s) {
        h ^= fold(c.unicode());
        h *= 1099511628211ull;
    }
    return size_t(h ^ (h >> 32));
}

struct FoldedHash {
    using is_transparent = void;
    size_t operator()(QStringView folded) const {
        return hashUnits(folded, [](char16_t c) { return c; });
    }
    size_t operator()(RawName raw) const { return hashUnits(raw.text, foldUnit); }
};

struct FoldedEqual {
    using is_transparent = void;
    bool operator()(QStringView a, QStringView b) const { return a == b; }
    bool operator()(QStringView folded, RawName raw) const {
        return compareFolded(folded, raw.text) == 0;
    }
    bool operator()(RawName raw, QStringView folded) const {
        return compareFolded(folded, raw.text) == 0;
    }
};

} // namespace

struct KeyNode::ChildIndex {
    std::unordered_map<QStringView, KeyNode*, FoldedHash, FoldedEqual> map;
};

bool sameName(QStringView a, QStringView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && foldUnit(a[i].unicode()) != foldUnit(b[i].unicode()))
            return false;
    return true;
}

QString foldName(QStringView name) {
    bool plain = true;
    for (QChar c : name)
        if (c.unicode() >= 0x80 || (c.unicode() >= u'a' && c.unicode() <= u'z')) {
            plain = false;
            break;
        }
    if (plain)
        return name.toString();
    QString out(name.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < name.size(); ++i) {
        dst[i] = QChar(foldUnit(name[i].unicode()));
    }
    return out;
}

QString foldName(const QString& name) {
    for (QChar c : name)
        if (c.unicode() >= 0x80 || (c.unicode() >= u'a' && c.unicode() <= u'z'))
            return foldName(QStringView(name));
    return name;
}

KeyNode::KeyNode(QString keyName) : name(std::move(keyName)), folded(foldName(name)) {}

KeyNode::~KeyNode() = default;

void KeyNode::numberChildren() const {
    for (size_t i = 0; i < m_children.size(); ++i)
        m_children[i]->m_position.store(std::uint32_t(i), std::memory_order_relaxed);
}

void KeyNode::followHit(KeyNode* hit) const {
    std::uint32_t at = hit->m_position.load(std::memory_order_relaxed);
    if (at >= m_children.size() || m_children[at].get() != hit) {
        // Inserts before it moved it: one binary search finds it again (renumbering every
        // child would cost a pass over all of them).
        at = std::uint32_t(lowerBound(hit->folded) - m_children.begin());
        hit->m_position.store(at, std::memory_order_relaxed);
    }
    m_finger.store(at, std::memory_order_relaxed);
}

void KeyNode::rebuildIndex() {
    numberChildren();
    if (m_children.size() < IndexFrom) {
        m_index.reset();
        return;
    }
    if (!m_index)
        m_index = std::make_unique<ChildIndex>();
    m_index->map.clear();
    m_index->map.reserve(m_children.size());
    for (const auto& c : m_children)
        m_index->map.emplace(QStringView(c->folded), c.get());
}

std::vector<std::shared_ptr<KeyNode>>::const_iterator KeyNode::lowerBound(QStringView key) const {
    return std::lower_bound(m_children.begin(), m_children.end(), key,
                            [](const std::shared_ptr<KeyNode>& n, QStringView k) {
                                return QStringView(n->folded).compare(k) < 0;
                            });
}

KeyNode* KeyNode::child(QStringView key) const {
    if (m_index) {
        const auto found = m_index->map.find(key);
        return found == m_index->map.end() ? nullptr : found->second;
    }
    auto it = lowerBound(key);
    return it != m_children.end() && (*it)->folded == key ? it->get() : nullptr;
}

std::shared_ptr<KeyNode> KeyNode::sharedChild(QStringView key) const {
    if (m_index) {
        const auto found = m_index->map.find(key);
        return found == m_index->map.end() ? nullptr : found->second->shared_from_this();
    }
    auto it = lowerBound(key);
    return it != m_children.end() && (*it)->folded == key ? *it : nullptr;
}

KeyNode* KeyNode::findChild(QStringView wanted) const {
    // Names are mostly looked up in the order they were enumerated: the child after the last
    // hit is a neighbour in memory, where the index would miss the cache. Its name is compared
    // rather than its folding, as enumerating just read the name.
    const size_t finger = m_finger.load(std::memory_order_relaxed);
    for (size_t i = finger; i < finger + 2 && i < m_children.size(); ++i)
        if (sameName(m_children[i]->name, wanted)) {
            m_finger.store(std::uint32_t(i), std::memory_order_relaxed);
            return m_children[i].get();
        }
    if (m_index) {
        const auto found = m_index->map.find(RawName{wanted});
        if (found == m_index->map.end())
            return nullptr;
        followHit(found->second);
        return found->second;
    }
    auto it = std::lower_bound(m_children.begin(), m_children.end(), wanted,
                               [](const std::shared_ptr<KeyNode>& n, QStringView k) {
                                   return compareFolded(n->folded, k) < 0;
                               });
    if (it == m_children.end() || compareFolded((*it)->folded, wanted) != 0)
        return nullptr;
    m_finger.store(std::uint32_t(it - m_children.begin()), std::memory_order_relaxed);
    return it->get();
}

const StoredValue* KeyNode::findValue(QStringView wanted) const {
    for (const StoredValue& v : m_values)
        if (sameName(v.name, wanted))
            return &v;
    return nullptr;
}

KeyNode* KeyNode::ensureChild(QStringView childName) {
    if (KeyNode* existing = findChild(childName))
        return existing;
    auto node = std::make_shared<KeyNode>(childName.toString());
    // Subkeys mostly come in order (a snapshot, an export): the new one then goes last.
    const bool last = m_children.empty() || m_children.back()->folded < node->folded;
    auto it = last ? m_children.end() : lowerBound(node->folded);
    node->parent = this;
    node->m_position.store(std::uint32_t(it - m_children.begin()), std::memory_order_relaxed);
    KeyNode* added = m_children.insert(it, std::move(node))->get();
    if (m_index)
        m_index->map.emplace(QStringView(added->folded), added);
    else if (m_children.size() >= IndexFrom)
        rebuildIndex();
    return added;
}

bool KeyNode::removeChild(QStringView key) {
    auto it = lowerBound(key);
    if (it == m_children.end() || (*it)->folded != key)
        return false;
    (*it)->markDeleted();
    (*it)->parent = nullptr;
    if (m_index)
        m_index->map.erase(QStringView((*it)->folded));
    m_children.erase(it);
    return true;
}

void KeyNode::markDeleted() {
    deleted = true;
    for (auto& c : m_children)
        c->markDeleted();
}

void KeyNode::setValue(const QString& valueName, std::uint32_t type, const QByteArray& data) {
    for (StoredValue& v : m_values)
        if (sameName(v.name, valueName)) {
            v.type = type;
            v.data = data;
            return;
        }
    m_values.push_back({valueName, type, data});
}

bool KeyNode::removeValue(QStringView wanted) {
    auto it = std::find_if(m_values.begin(), m_values.end(),
                           [&](const StoredValue& v) { return sameName(v.name, wanted); });
    if (it == m_values.end())
        return false;
    m_values.erase(it);
    return true;
}

QString KeyNode::path() const {
    QString out = name;
    for (const KeyNode* p = parent; p && p->parent; p = p->parent)
        out = p->name + u'\\' + out;
    return out;
}

void KeyNode::adopt(KeyNode& from) {
    m_values = std::move(from.m_values);
    if (m_children.empty()) {
        // Nothing to keep (a first load): the subtree and its index are taken as they are.
        m_children = std::move(from.m_children);
        m_index = std::move(from.m_index);
        from.m_children.clear();
        for (const auto& c : m_children)
            c->parent = this;
        m_finger.store(0, std::memory_order_relaxed);
        return;
    }
    std::vector<std::shared_ptr<KeyNode>> merged;
    merged.reserve(from.m_children.size());
    for (auto& incoming : from.m_children) {
        std::shared_ptr<KeyNode> mine = sharedChild(incoming->folded);
        if (mine) {
            mine->name = incoming->name;
            mine->adopt(*incoming);
            merged.push_back(std::move(mine));
        } else {
            incoming->parent = this;
            merged.push_back(std::move(incoming));
        }
    }
    for (auto& old : m_children)
        if (!std::binary_search(merged.begin(), merged.end(), old,
                                [](const auto& a, const auto& b) { return a->folded < b->folded; }))
            old->markDeleted(), old->parent = nullptr;
    m_children = std::move(merged);
    from.m_children.clear();
    from.m_index.reset();
    rebuildIndex();
}

bool splitKeyPath(QStringView path, std::vector<QStringView>* parts) {
    parts->clear();
    return forEachKeyPathPart(path, [parts](QStringView name) { parts->push_back(name); });
}

} // namespace orvanex::reg
