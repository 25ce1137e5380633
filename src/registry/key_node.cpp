#include "registry/key_node.h"

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

} // namespace

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

std::vector<std::shared_ptr<KeyNode>>::const_iterator KeyNode::lowerBound(QStringView key) const {
    return std::lower_bound(m_children.begin(), m_children.end(), key,
                            [](const std::shared_ptr<KeyNode>& n, QStringView k) {
                                return QStringView(n->folded).compare(k) < 0;
                            });
}

KeyNode* KeyNode::child(QStringView key) const {
    auto it = lowerBound(key);
    return it != m_children.end() && (*it)->folded == key ? it->get() : nullptr;
}

std::shared_ptr<KeyNode> KeyNode::sharedChild(QStringView key) const {
    auto it = lowerBound(key);
    return it != m_children.end() && (*it)->folded == key ? *it : nullptr;
}

KeyNode* KeyNode::findChild(QStringView wanted) const {
    auto it = std::lower_bound(m_children.begin(), m_children.end(), wanted,
                               [](const std::shared_ptr<KeyNode>& n, QStringView k) {
                                   return compareFolded(n->folded, k) < 0;
                               });
    return it != m_children.end() && compareFolded((*it)->folded, wanted) == 0 ? it->get()
                                                                               : nullptr;
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
    auto it = lowerBound(node->folded);
    node->parent = this;
    return m_children.insert(it, std::move(node))->get();
}

bool KeyNode::removeChild(QStringView key) {
    auto it = lowerBound(key);
    if (it == m_children.end() || (*it)->folded != key)
        return false;
    (*it)->markDeleted();
    (*it)->parent = nullptr;
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
    if (m_values.empty())
        m_values.reserve(4);
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
}

bool splitKeyPath(QStringView path, std::vector<QStringView>* parts) {
    parts->clear();
    if (path.endsWith(u'\\'))
        path.chop(1);
    if (path.isEmpty())
        return true;
    qsizetype start = 0;
    while (true) {
        const qsizetype end = path.indexOf(u'\\', start);
        const QStringView part = path.mid(start, end < 0 ? path.size() - start : end - start);
        if (part.isEmpty())
            return false;
        parts->push_back(part);
        if (end < 0)
            return true;
        start = end + 1;
    }
}

} // namespace orvanex::reg
