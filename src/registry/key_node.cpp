#include "registry/key_node.h"

#include "registry/key_arena.h"
#include <algorithm>

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

template <typename Fold> std::uint32_t hashUnits(QStringView s, Fold fold) {
    std::uint64_t h = 14695981039346656037ull; // FNV-1a over UTF-16 units
    for (QChar c : s) {
        h ^= fold(c.unicode());
        h *= 1099511628211ull;
    }
    return std::uint32_t(h ^ (h >> 32));
}

std::uint32_t foldedHash(QStringView folded) {
    return hashUnits(folded, [](char16_t c) { return c; });
}

// Whether folding changes some unit of name.
bool changedByFolding(QStringView name) {
    for (QChar c : name)
        if (c.unicode() >= 0x80 || (c.unicode() >= u'a' && c.unicode() <= u'z'))
            return true;
    return false;
}

void foldInto(QStringView name, char16_t* out) {
    for (qsizetype i = 0; i < name.size(); ++i)
        out[i] = foldUnit(name[i].unicode());
}

} // namespace

// Open addressing with linear probing over a power-of-two table: no allocation per child, and a
// probe compares the cached hash before it touches a name.
struct KeyNode::ChildIndex {
    std::vector<KeyNode*> slots;
    size_t count = 0;

    size_t mask() const { return slots.size() - 1; }
    void insert(KeyNode* node) {
        if ((count + 1) * 4 > slots.size() * 3)
            grow();
        place(node);
        ++count;
    }
    void place(KeyNode* node) {
        size_t i = node->m_hash & mask();
        while (slots[i])
            i = (i + 1) & mask();
        slots[i] = node;
    }
    void grow() {
        std::vector<KeyNode*> old = std::move(slots);
        slots.assign(std::max<size_t>(64, old.size() * 2), nullptr);
        for (KeyNode* n : old)
            if (n)
                place(n);
    }
    template <typename Same> KeyNode* find(std::uint32_t hash, Same same) const {
        for (size_t i = hash & mask(); slots[i]; i = (i + 1) & mask())
            if (slots[i]->m_hash == hash && same(slots[i]))
                return slots[i];
        return nullptr;
    }
    void erase(const KeyNode* node) {
        size_t i = node->m_hash & mask();
        while (slots[i] && slots[i] != node)
            i = (i + 1) & mask();
        if (!slots[i])
            return;
        // Moves later entries of the run back, so no probe stops short at the gap.
        for (size_t j = (i + 1) & mask(); slots[j]; j = (j + 1) & mask()) {
            const size_t home = slots[j]->m_hash & mask();
            const bool between = i <= j ? (home > i && home <= j) : (home > i || home <= j);
            if (!between) {
                slots[i] = slots[j];
                i = j;
            }
        }
        slots[i] = nullptr;
        --count;
    }
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
    if (!changedByFolding(name))
        return name.toString();
    QString out(name.size(), Qt::Uninitialized);
    foldInto(name, reinterpret_cast<char16_t*>(out.data()));
    return out;
}

QString foldName(const QString& name) {
    return changedByFolding(name) ? foldName(QStringView(name)) : name;
}

KeyNode::KeyNode(QString keyName) : KeyNode(keyName, foldName(keyName)) {}

KeyNode::KeyNode(QString keyName, QString foldedName)
    : name(std::move(keyName)), folded(std::move(foldedName)), m_hash(foldedHash(folded)) {}

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
    m_index = std::make_unique<ChildIndex>();
    size_t size = 64;
    while (m_children.size() * 4 > size * 3)
        size *= 2;
    m_index->slots.assign(size, nullptr);
    for (const auto& c : m_children)
        m_index->place(c.get());
    m_index->count = m_children.size();
}

std::vector<std::shared_ptr<KeyNode>>::const_iterator KeyNode::lowerBound(QStringView key) const {
    return std::lower_bound(m_children.begin(), m_children.end(), key,
                            [](const std::shared_ptr<KeyNode>& n, QStringView k) {
                                return QStringView(n->folded).compare(k) < 0;
                            });
}

KeyNode* KeyNode::child(QStringView key) const {
    if (m_index)
        return m_index->find(foldedHash(key), [key](const KeyNode* n) { return n->folded == key; });
    auto it = lowerBound(key);
    return it != m_children.end() && (*it)->folded == key ? it->get() : nullptr;
}

std::shared_ptr<KeyNode> KeyNode::sharedChild(QStringView key) const {
    if (m_index) {
        KeyNode* found = child(key);
        return found ? found->shared_from_this() : nullptr;
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
        KeyNode* found = m_index->find(hashUnits(wanted, foldUnit), [wanted](const KeyNode* n) {
            return compareFolded(n->folded, wanted) == 0;
        });
        if (found)
            followHit(found);
        return found;
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

KeyNode* KeyNode::ensureChild(QStringView childName, KeyArena* arena) {
    // Subkeys mostly come in order (a snapshot, an export): a name after the last child's is new
    // and goes last, found without a look-up.
    const bool last = m_children.empty() || compareFolded(m_children.back()->folded, childName) < 0;
    if (!last)
        if (KeyNode* existing = findChild(childName))
            return existing;
    if (!arena)
        arena = &KeyArena::local();
    QString stored = arena->texts.text(childName);
    QString foldedName =
        changedByFolding(childName)
            ? arena->texts.make(childName.size(),
                                [childName](char16_t* out) { foldInto(childName, out); })
            : stored;
    auto node = std::allocate_shared<KeyNode>(PoolAllocator<KeyNode>(&arena->nodes),
                                              std::move(stored), std::move(foldedName));
    const auto at = last ? m_children.end() : lowerBound(node->folded);
    return insertChild(at, std::move(node));
}

KeyNode* KeyNode::insertChild(std::vector<std::shared_ptr<KeyNode>>::const_iterator it,
                              std::shared_ptr<KeyNode> node) {
    node->parent = this;
    node->m_position.store(std::uint32_t(it - m_children.begin()), std::memory_order_relaxed);
    KeyNode* added = m_children.insert(it, std::move(node))->get();
    if (m_index)
        m_index->insert(added);
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
        m_index->erase(it->get());
    m_children.erase(it);
    return true;
}

void KeyNode::markDeleted() {
    deleted = true;
    for (auto& c : m_children)
        c->markDeleted();
}

void KeyNode::setValue(const QString& valueName, std::uint32_t type, const QByteArray& data) {
    setValue(QString(valueName), type, QByteArray(data));
}

void KeyNode::setValue(QString&& valueName, std::uint32_t type, QByteArray&& data) {
    for (StoredValue& v : m_values)
        if (sameName(v.name, valueName)) {
            v.type = type;
            v.data = std::move(data);
            return;
        }
    m_values.push_back({std::move(valueName), type, std::move(data)});
}

void KeyNode::addValues(std::vector<StoredValue>& values) {
    const size_t need = m_values.size() + values.size();
    if (m_values.capacity() < need) // exact on a first load, geometric as a journal adds more
        m_values.reserve(std::max(need, m_values.empty() ? 0 : 2 * m_values.capacity()));
    for (StoredValue& v : values)
        setValue(std::move(v.name), v.type, std::move(v.data));
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
