// Wine's registry links: keys marked "#link" whose SymbolicLinkValue (REG_LINK, UTF-16) names
// another key as "\Registry\Machine\..." or "\Registry\User\SID\...".

#include "registry/wine_registry.h"

namespace orvanex::reg {

namespace {

const QString LinkValue = QStringLiteral("SymbolicLinkValue");
const QString DefaultUserSid = QStringLiteral("S-1-5-21-0-0-0-1000");

bool isLinkBlock(const wine::KeyText& key) {
    for (const QByteArray& line : key.meta)
        if (line.trimmed() == "#link")
            return true;
    return false;
}

// The user's key below \Registry\User, from user.reg's ";; All keys relative to" line.
QString userSid(const QByteArray& header) {
    const QByteArray marker = ";; All keys relative to ";
    const qsizetype at = header.indexOf(marker);
    if (at < 0)
        return DefaultUserSid;
    const qsizetype end = header.indexOf('\n', at);
    const QByteArray line = header.mid(at + marker.size(), end < 0 ? -1 : end - at - marker.size());
    const qsizetype slash = line.lastIndexOf('\\');
    const QByteArray sid = line.mid(slash + 1).trimmed();
    return sid.isEmpty() ? DefaultUserSid : QString::fromUtf8(sid);
}

} // namespace

void WineRegistry::indexLinks() {
    m_links.clear();
    m_linkParents.clear();
    m_userSid = m_files[1].present ? userSid(m_files[1].text.header) : DefaultUserSid;
    for (const File& file : m_files)
        for (std::size_t i = 0; i < file.text.keys.size() && i < file.blockNodes.size(); ++i) {
            const std::shared_ptr<KeyNode>& node = file.blockNodes[i];
            if (!node->deleted && isLinkBlock(file.text.keys[i])) {
                m_links.emplace(node.get(), node);
                m_linkParents.insert(node->parent);
            }
        }
    m_hasLinks = !m_links.empty();
}

bool WineRegistry::isLink(const KeyNode* node) const {
    const auto it = m_links.find(node);
    return it != m_links.end() && !it->second->deleted;
}

bool WineRegistry::hasLinkChildren(const KeyNode* node) const {
    return node && m_linkParents.count(node) > 0;
}

bool WineRegistry::linkPath(const KeyNode* link, KeyNode** root, QStringList* names) const {
    const StoredValue* v = link->findValue(LinkValue);
    if (!v || v->type != type::Link)
        return false;
    // UTF-16 units as stored, an odd last byte left out as Wine's server does.
    QString target(v->data.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < target.size(); ++i)
        target[i] = QChar(char16_t(quint8(v->data[2 * i]) | quint8(v->data[2 * i + 1]) << 8));
    QStringList parts = target.split(u'\\', Qt::SkipEmptyParts);
    if (!target.startsWith(u'\\') || parts.size() < 2 ||
        parts[0].compare(u"Registry", Qt::CaseInsensitive) != 0)
        return false;
    if (parts[1].compare(u"Machine", Qt::CaseInsensitive) == 0) {
        *root = m_files[0].root;
        *names = parts.mid(2);
        return true;
    }
    if (parts[1].compare(u"User", Qt::CaseInsensitive) != 0)
        return false;
    if (parts.size() > 2 && sameName(parts[2], m_userSid)) {
        *root = m_files[1].root;
        *names = parts.mid(3);
    } else {
        *root = m_top.child(u"HKEY_USERS"); // .Default is userdef.reg's
        *names = parts.mid(2);
    }
    return true;
}

} // namespace orvanex::reg
