#include "registry/key_node.h"

#include <algorithm>

namespace orvanex::reg {

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
        const char16_t c = name[i].unicode();
        if (c < 0x80)
            dst[i] = QChar(c >= u'a' && c <= u'z' ? char16_t(c - 32) : c);
        else if (QChar::isSurrogate(c))
            dst[i] = QChar(c);
        else
            dst[i] = QChar(char16_t(QChar::toUpper(char32_t(c))));
    }
    return out;
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

KeyNode* KeyNode::ensureChild(const QString& childName) {
    const QString key = foldName(childName);
    auto it = lowerBound(key);
    if (it != m_children.end() && (*it)->folded == key)
        return it->get();
    auto node = std::make_shared<KeyNode>(childName);
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

const StoredValue* KeyNode::value(QStringView key) const {
    for (const StoredValue& v : m_values)
        if (v.folded == key)
            return &v;
    return nullptr;
}

void KeyNode::setValue(const QString& valueName, std::uint32_t type, const QByteArray& data) {
    const QString key = foldName(valueName);
    for (StoredValue& v : m_values)
        if (v.folded == key) {
            v.type = type;
            v.data = data;
            return;
        }
    m_values.push_back({valueName, key, type, data});
}

bool KeyNode::removeValue(QStringView key) {
    auto it = std::find_if(m_values.begin(), m_values.end(),
                           [&](const StoredValue& v) { return v.folded == key; });
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
