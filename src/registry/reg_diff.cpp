#include "registry/reg_diff.h"
#include "registry/win1252.h"

#include <QHash>
#include <QRegularExpression>
#include <array>
#include <memory>
#include <optional>

namespace orvanex::reg {

namespace {

struct Value {
    std::uint32_t type = 0;
    QByteArray data;
};

bool isStringType(std::uint32_t t) {
    return t == type::Sz || t == type::ExpandSz || t == type::MultiSz;
}

// Text data differing only by the terminator the program's writers may store are the same text.
QByteArrayView comparable(const Value& v) {
    QByteArrayView data(v.data);
    if (isStringType(v.type) && data.endsWith('\0'))
        data.chop(1);
    return data;
}

bool sameValue(const Value& a, const Value& b) {
    return a.type == b.type && comparable(a) == comparable(b);
}

// Names are matched by their lower-cased form, linearly while a key has few of them.
constexpr std::size_t kIndexFrom = 16;

template <typename Item> class NamedList {
public:
    Item* find(const QString& lower) {
        if (!m_index.isEmpty()) {
            const auto it = m_index.constFind(lower);
            return it == m_index.cend() ? nullptr : &m_items[*it];
        }
        // The last of equal names wins, as it would in a hash filled in order.
        for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
            if (it->lower == lower)
                return &*it;
        return nullptr;
    }
    Item& add(Item item) {
        m_items.push_back(std::move(item));
        if (m_items.size() == kIndexFrom)
            for (std::size_t i = 0; i < m_items.size(); ++i)
                m_index.insert(m_items[i].lower, i);
        else if (m_items.size() > kIndexFrom)
            m_index.insert(m_items.back().lower, m_items.size() - 1);
        return m_items.back();
    }
    void clear() {
        m_items.clear();
        m_index.clear();
    }
    const std::vector<Item>& items() const { return m_items; }

private:
    std::vector<Item> m_items;
    QHash<QString, std::size_t> m_index;
};

struct ValueSlot {
    QString name; // as the file first names it
    QString lower;
    std::optional<Value> now; // set, or deleted
};

struct BeforeValue {
    QString name;
    QString lower;
    Value value;
};

// One key the file or the registry names, in a tree of the keys named so far. Keys on the way
// to a named key are in the tree too, unlisted, so that a deletion reaches everything below it.
struct KeyView {
    QString subPath; // as first named
    QString lower;   // the lower-cased path it is found by
    HKey root = 0;
    KeyView* parent = nullptr;
    KeyView* firstChild = nullptr;
    KeyView* nextSibling = nullptr;
    bool listed = false; // named: it has its place in the order of the changes
    bool existedBefore = false;
    bool existsNow = false;
    bool cleared = false; // deleted within the file: the registry's values are gone
    NamedList<ValueSlot> after;
};

class DiffPlayer {
public:
    // expectedKeys: about how many keys the file names, so that the views are not rehashed as
    // they grow.
    explicit DiffPlayer(Registry& registry, qsizetype expectedKeys = 0)
        : m_registry(registry), m_expectedKeys(expectedKeys) {}

    void play(const RegFileOp& op) {
        // Values follow their key line: the key is looked up once for all of them.
        if ((op.kind == RegFileOp::SetValue || op.kind == RegFileOp::DeleteValue) && m_last &&
            op.key == m_lastName && m_last->existsNow) {
            setValue(*m_last, op);
            return;
        }
        m_last = nullptr;
        HKey root = 0;
        QString rootName, subPath;
        if (!splitRegKeyName(op.key, &root, &rootName, &subPath))
            return;
        const QString lower = subPath.toLower();
        switch (op.kind) {
        case RegFileOp::DeleteKey:
            deleteKey(root, rootName, subPath, lower);
            return;
        case RegFileOp::CreateKey:
            m_last = &createKey(root, rootName, subPath, lower);
            m_lastName = op.key;
            return;
        case RegFileOp::SetValue:
        case RegFileOp::DeleteValue:
            m_last = &createKey(root, rootName, subPath, lower);
            m_lastName = op.key;
            setValue(*m_last, op);
            return;
        }
    }

    static void setValue(KeyView& k, const RegFileOp& op) {
        const QString lower = op.valueName.toLower();
        ValueSlot* slot = k.after.find(lower);
        if (!slot)
            slot = &k.after.add({op.valueName, lower, std::nullopt});
        if (op.kind == RegFileOp::SetValue)
            slot->now = Value{op.type, op.data};
        else
            slot->now = std::nullopt;
    }

    std::vector<RegChange> changes() {
        std::vector<RegChange> out;
        for (KeyView* k : m_order) {
            if (!k->existedBefore && !k->existsNow)
                continue;
            // Made only for keys with something to list.
            QString name;
            const auto nameOf = [&] {
                if (name.isNull()) {
                    const QString& rootName = m_rootNames[rootSlot(k->root)];
                    name = k->subPath.isEmpty() ? rootName : rootName + u'\\' + k->subPath;
                }
                return name;
            };
            if (!k->existsNow) {
                out.push_back({RegChange::KeyDeleted, nameOf(), {}, 0, 0, {}, {}});
                continue;
            }
            // The registry's values are read here, one key at a time, rather than kept for all,
            // and only where the file sets values or wiped them.
            m_before.clear();
            if (!k->existedBefore)
                out.push_back({RegChange::KeyCreated, nameOf(), {}, 0, 0, {}, {}});
            else if (!k->after.items().empty() || k->cleared)
                readBefore(*k, m_before);
            for (const ValueSlot& slot : k->after.items()) {
                const BeforeValue* oldSlot = m_before.find(slot.lower);
                const Value* old = oldSlot ? &oldSlot->value : nullptr;
                const std::optional<Value>& now = slot.now;
                const bool changes = now ? !old || !sameValue(*now, *old) : old != nullptr;
                if (!changes)
                    continue;
                RegChange c{RegChange::ValueAdded, nameOf(), slot.name, 0, 0, {}, {}};
                if (old) {
                    c.oldType = old->type;
                    c.oldData = old->data;
                }
                if (now) {
                    c.newType = now->type;
                    c.newData = now->data;
                }
                if (now && old)
                    c.kind = RegChange::ValueChanged;
                else if (!now)
                    c.kind = RegChange::ValueRemoved;
                out.push_back(std::move(c));
            }
            // A key deleted and made again in the file has lost the values it had.
            if (k->cleared)
                for (const BeforeValue& b : m_before.items())
                    if (!k->after.find(b.lower))
                        out.push_back({RegChange::ValueRemoved,
                                       nameOf(),
                                       b.name,
                                       b.value.type,
                                       0,
                                       b.value.data,
                                       {}});
        }
        return out;
    }

private:
    // The view of a path (lower-cased, below root), made with the keys on the way when missing.
    // parent: the view of the path above, when the caller has it.
    KeyView& ensure(HKey root, const QString& lower, KeyView* parent = nullptr) {
        if (KeyView* k = m_byPath[rootSlot(root)].value(lower))
            return *k;
        return add(root, lower, parent);
    }

    // A new view of a path that has none yet.
    KeyView& add(HKey root, const QString& lower, KeyView* parent) {
        if (!parent && !lower.isEmpty()) {
            const qsizetype slash = lower.lastIndexOf(u'\\');
            parent = &ensure(root, slash < 0 ? QString() : lower.left(slash));
        }
        KeyView& k = newView();
        k.root = root;
        k.lower = lower;
        k.parent = parent;
        if (parent) {
            k.nextSibling = parent->firstChild;
            parent->firstChild = &k;
        }
        QHash<QString, KeyView*>& views = m_byPath[rootSlot(root)];
        if (views.isEmpty())
            views.reserve(m_expectedKeys);
        views.insert(lower, &k);
        return k;
    }

    // Gives the view its place in the order and looks up whether the registry had it.
    void list(KeyView& k, const QString& rootName, const QString& subPath,
              std::optional<bool> known = std::nullopt) {
        if (k.listed)
            return;
        k.listed = true;
        if (QString& name = m_rootNames[rootSlot(k.root)]; name.isNull())
            name = rootName;
        k.subPath = subPath;
        if (known)
            k.existedBefore = *known;
        else if (k.parent && k.parent->listed && !k.parent->existedBefore)
            k.existedBefore = false; // below a key the registry lacks
        else
            k.existedBefore = inRegistry(k);
        // Every registry key below a key deleted earlier is listed already.
        k.existsNow = k.existedBefore && !k.cleared;
        m_order.push_back(&k);
    }

    // The key with its missing parents, as RegCreateKey makes them.
    KeyView& createKey(HKey root, const QString& rootName, const QString& subPath,
                       const QString& lower) {
        KeyView* known = m_byPath[rootSlot(root)].value(lower);
        if (known && known->listed && known->existsNow)
            return *known; // a key that exists has its parents
        KeyView* parent = nullptr;
        const qsizetype slash = subPath.lastIndexOf(u'\\');
        if (slash >= 0) {
            parent = existingParent(root, lower);
            if (!parent)
                parent = &createKey(root, rootName, subPath.left(slash),
                                    lower.left(lower.lastIndexOf(u'\\')));
        }
        KeyView& k = known ? *known : add(root, lower, parent);
        list(k, rootName, subPath);
        k.existsNow = true;
        m_lastMade = &k;
        return k;
    }

    // The parent of lower when it exists now and is the last key made or above it, as it is for
    // the keys of an export: found without making its path.
    KeyView* existingParent(HKey root, const QString& lower) const {
        for (KeyView* v = m_lastMade; v && v->root == root && !v->lower.isEmpty(); v = v->parent) {
            const qsizetype n = v->lower.size();
            if (lower.size() <= n + 1 || lower[n] != u'\\' || !lower.startsWith(v->lower))
                continue;
            if (lower.indexOf(u'\\', n + 1) >= 0)
                return nullptr; // an ancestor, not the parent
            return v->listed && v->existsNow ? v : nullptr;
        }
        return nullptr;
    }

    void deleteKey(HKey root, const QString& rootName, const QString& subPath,
                   const QString& lower) {
        // The store refuses to delete a root: the file's line changes nothing.
        if (subPath.isEmpty())
            return;
        KeyView& k = ensure(root, lower);
        list(k, rootName, subPath);
        if (!k.existsNow)
            return;
        // The registry's subkeys go with it: each gets a view so that it is listed once.
        if (k.existedBefore && !k.cleared)
            addRegistrySubtree(k, rootName, subPath);
        std::vector<KeyView*> pending{&k};
        while (!pending.empty()) {
            KeyView* v = pending.back();
            pending.pop_back();
            wipe(*v);
            for (KeyView* c = v->firstChild; c; c = c->nextSibling)
                pending.push_back(c);
        }
    }

    static void wipe(KeyView& k) {
        k.existsNow = false;
        k.cleared = true;
        k.after.clear();
    }

    // subPath: k's path as the deleting line spells it, which its subkeys' names follow.
    void addRegistrySubtree(KeyView& k, const QString& rootName, const QString& subPath) {
        HKey h = 0;
        if (m_registry.openKeyEx(k.root, subPath, 0, KEY_ALL_USED, &h) != status::Success)
            return;
        QStringList children;
        QString name;
        for (std::uint32_t i = 0; m_registry.enumKeyEx(h, i, &name) == status::Success; ++i)
            children << name;
        m_registry.closeKey(h);
        const QString lowerPrefix = subPath.toLower() + u'\\';
        for (const QString& child : children) {
            const QString path = subPath + u'\\' + child;
            KeyView& c = ensure(k.root, lowerPrefix + child.toLower());
            list(c, rootName, path, true);
            if (c.cleared)
                continue; // its own subtree was added when it was deleted
            addRegistrySubtree(c, rootName, path);
        }
    }

    bool inRegistry(const KeyView& k) {
        HKey h = 0;
        if (m_registry.openKeyEx(k.root, k.subPath, 0, KEY_ALL_USED, &h) != status::Success)
            return false;
        m_registry.closeKey(h);
        return true;
    }

    // The registry's values of the key, into an empty list.
    void readBefore(const KeyView& k, NamedList<BeforeValue>& before) {
        HKey h = 0;
        if (m_registry.openKeyEx(k.root, k.subPath, 0, KEY_ALL_USED, &h) != status::Success)
            return;
        QString name;
        Value v;
        for (std::uint32_t i = 0;
             m_registry.enumValue(h, i, &name, &v.type, &v.data) == status::Success; ++i)
            before.add({name, name.toLower(), v});
        m_registry.closeKey(h);
    }

    Registry& m_registry;
    qsizetype m_expectedKeys = 0;
    KeyView* m_last = nullptr; // the key of the last key line, while it exists
    KeyView* m_lastMade = nullptr;
    QString m_lastName;
    // The views in blocks: stable addresses for the tree's pointers, few allocations.
    KeyView& newView() {
        if (m_used == kBlock) {
            m_blocks.push_back(std::make_unique<KeyView[]>(kBlock));
            m_used = 0;
        }
        return m_blocks.back()[m_used++];
    }
    static constexpr std::size_t kBlock = 1024;
    std::vector<std::unique_ptr<KeyView[]>> m_blocks;
    std::size_t m_used = kBlock;
    // By root, numbered from HKEY_CLASSES_ROOT on.
    static std::size_t rootSlot(HKey root) { return root - HKEY_CLASSES_ROOT; }
    std::array<QHash<QString, KeyView*>, 6> m_byPath;
    std::array<QString, 6> m_rootNames; // the full name of each root, as the changes spell it
    std::vector<KeyView*> m_order;
    NamedList<BeforeValue> m_before; // of the key being listed
};

// About how many keys a .reg file names: every key line holds a "[" (a few other lines may).
qsizetype keyLinesAbout(QByteArrayView bytes) {
    qsizetype lines = 0;
    for (qsizetype at = bytes.indexOf('['); at >= 0; at = bytes.indexOf('[', at + 1))
        ++lines;
    return lines;
}

// The texts of the lines the parse skipped, found by their numbers.
std::vector<RegSkippedLine> skippedLines(const RegFileParse& parse, const QByteArray& bytes) {
    std::vector<RegSkippedLine> out;
    if (parse.warnings.isEmpty())
        return out;
    QString text;
    if (bytes.startsWith("\xff\xfe"))
        text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                  (bytes.size() - 2) / 2);
    else if (bytes.startsWith("\xef\xbb\xbf"))
        text = QString::fromUtf8(bytes.mid(3));
    else
        text = decodeReg4Line(bytes);
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = text.split(lineBreak);
    static const QRegularExpression warning(QStringLiteral("^line (\\d+): (.*)$"));
    for (const QString& w : parse.warnings) {
        const QRegularExpressionMatch m = warning.match(w);
        RegSkippedLine s;
        s.why = w;
        if (m.hasMatch()) {
            s.line = m.captured(1).toInt();
            s.why = m.captured(2);
            if (s.line >= 1 && s.line <= lines.size())
                s.text = lines[s.line - 1];
        }
        out.push_back(s);
    }
    return out;
}

} // namespace

namespace {

// The diff of ops already played (none when the file was refused).
RegDiff finish(DiffPlayer& player, const RegFileParse& parse, const QByteArray& bytes) {
    RegDiff diff;
    diff.refused = parse.refused;
    diff.error = parse.error;
    if (parse.refused)
        return diff;
    diff.changes = player.changes();
    diff.skipped = skippedLines(parse, bytes);
    return diff;
}

} // namespace

RegDiff diffRegParse(Registry& registry, const RegFileParse& parse, const QByteArray& bytes) {
    DiffPlayer player(registry, qsizetype(parse.ops.size()));
    if (!parse.refused)
        for (const RegFileOp& op : parse.ops)
            player.play(op);
    return finish(player, parse, bytes);
}

RegDiff diffRegFile(Registry& registry, const QByteArray& bytes) {
    // Played as they are read: the operations of a large file are never held all at once.
    DiffPlayer player(registry, keyLinesAbout(bytes));
    const RegFileParse parse = parseRegFile(bytes, [&](RegFileOp&& op) { player.play(op); });
    return finish(player, parse, bytes);
}

} // namespace orvanex::reg
