#include "registry/reg_diff.h"
#include "registry/win1252.h"

#include <QHash>
#include <QRegularExpression>
#include <map>
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
QByteArray comparable(const Value& v) {
    if (isStringType(v.type) && v.data.endsWith('\0'))
        return v.data.chopped(1);
    return v.data;
}

bool sameValue(const Value& a, const Value& b) {
    return a.type == b.type && comparable(a) == comparable(b);
}

struct KeyView {
    QString name; // display name
    HKey root = 0;
    QString subPath;
    bool existedBefore = false;
    bool existsNow = false;
    bool cleared = false; // deleted within the file: the registry's values are gone
    QStringList valueOrder;
    QHash<QString, std::optional<Value>> after; // lower-cased name -> set or deleted
};

class DiffPlayer {
public:
    explicit DiffPlayer(Registry& registry) : m_registry(registry) {}

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
        switch (op.kind) {
        case RegFileOp::DeleteKey:
            deleteKey(root, rootName, subPath);
            return;
        case RegFileOp::CreateKey:
            m_last = &createKey(root, rootName, subPath);
            m_lastName = op.key;
            return;
        case RegFileOp::SetValue:
        case RegFileOp::DeleteValue:
            m_last = &createKey(root, rootName, subPath);
            m_lastName = op.key;
            setValue(*m_last, op);
            return;
        }
    }

    static void setValue(KeyView& k, const RegFileOp& op) {
        const QString lower = op.valueName.toLower();
        auto it = k.after.find(lower);
        if (it == k.after.end()) {
            k.valueOrder << op.valueName;
            it = k.after.insert(lower, std::nullopt);
        }
        if (op.kind == RegFileOp::SetValue)
            *it = Value{op.type, op.data};
        else
            *it = std::nullopt;
    }

    std::vector<RegChange> changes() {
        std::vector<RegChange> out;
        for (const QString& id : m_order) {
            KeyView& k = m_keys.at(id);
            if (k.existedBefore && !k.existsNow) {
                out.push_back({RegChange::KeyDeleted, k.name, {}, 0, 0, {}, {}});
                continue;
            }
            if (!k.existsNow)
                continue;
            if (!k.existedBefore)
                out.push_back({RegChange::KeyCreated, k.name, {}, 0, 0, {}, {}});
            const std::vector<std::pair<QString, Value>> before =
                k.existedBefore ? readValues(k) : std::vector<std::pair<QString, Value>>();
            QHash<QString, const Value*> beforeByName;
            for (const auto& [name, value] : before)
                beforeByName.insert(name.toLower(), &value);
            for (const QString& name : k.valueOrder) {
                const std::optional<Value>& now = k.after[name.toLower()];
                const Value* old = beforeByName.value(name.toLower());
                RegChange c{RegChange::ValueAdded, k.name, name, 0, 0, {}, {}};
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
                const bool changes = now ? !old || !sameValue(*now, *old) : old != nullptr;
                if (changes)
                    out.push_back(c);
            }
            // A key deleted and made again in the file has lost the values it had.
            if (k.cleared)
                for (const auto& [name, value] : before)
                    if (!k.after.contains(name.toLower()))
                        out.push_back(
                            {RegChange::ValueRemoved, k.name, name, value.type, 0, value.data, {}});
        }
        return out;
    }

private:
    static QString idOf(HKey root, const QString& subPath) {
        return QString::number(root) + u'\\' + subPath.toLower();
    }

    bool existsInRegistry(HKey root, const QString& subPath) {
        HKey h = 0;
        if (m_registry.openKeyEx(root, subPath, 0, KEY_ALL_USED, &h) != status::Success)
            return false;
        m_registry.closeKey(h);
        return true;
    }

    KeyView& view(HKey root, const QString& rootName, const QString& subPath) {
        const QString id = idOf(root, subPath);
        auto it = m_keys.find(id);
        if (it != m_keys.end())
            return it->second;
        KeyView k;
        k.name = subPath.isEmpty() ? rootName : rootName + u'\\' + subPath;
        k.root = root;
        k.subPath = subPath;
        // Every registry key below a key deleted earlier is in the view already.
        k.existedBefore = existsInRegistry(root, subPath);
        k.existsNow = k.existedBefore;
        m_order << id;
        return m_keys.emplace(id, std::move(k)).first->second;
    }

    // The key with its missing parents, as RegCreateKey makes them.
    KeyView& createKey(HKey root, const QString& rootName, const QString& subPath) {
        // A key that exists has its parents: only a missing one walks down from the root.
        const auto known = m_keys.find(idOf(root, subPath));
        if (known != m_keys.end() && known->second.existsNow)
            return known->second;
        qsizetype from = 0;
        while (true) {
            const qsizetype slash = subPath.indexOf(u'\\', from);
            const QString prefix = slash < 0 ? subPath : subPath.left(slash);
            KeyView& k = view(root, rootName, prefix);
            k.existsNow = true;
            if (slash < 0)
                return k;
            from = slash + 1;
        }
    }

    void deleteKey(HKey root, const QString& rootName, const QString& subPath) {
        KeyView& k = view(root, rootName, subPath);
        if (!k.existsNow)
            return;
        // The registry's subkeys go with it: each gets a view so that it is listed once.
        if (k.existedBefore && !k.cleared)
            addRegistrySubtree(root, rootName, subPath);
        const QString prefix = idOf(root, subPath) + u'\\';
        for (auto it = m_keys.lower_bound(prefix);
             it != m_keys.end() && it->first.startsWith(prefix); ++it)
            wipe(it->second);
        wipe(m_keys.at(idOf(root, subPath)));
    }

    static void wipe(KeyView& k) {
        k.existsNow = false;
        k.cleared = true;
        k.after.clear();
        k.valueOrder.clear();
    }

    void addRegistrySubtree(HKey root, const QString& rootName, const QString& subPath) {
        HKey h = 0;
        if (m_registry.openKeyEx(root, subPath, 0, KEY_ALL_USED, &h) != status::Success)
            return;
        QStringList children;
        QString name;
        for (std::uint32_t i = 0; m_registry.enumKeyEx(h, i, &name) == status::Success; ++i)
            children << name;
        m_registry.closeKey(h);
        for (const QString& child : children) {
            const QString path = subPath.isEmpty() ? child : subPath + u'\\' + child;
            KeyView& k = view(root, rootName, path);
            if (k.cleared)
                continue; // its own subtree was added when it was deleted
            addRegistrySubtree(root, rootName, path);
        }
    }

    std::vector<std::pair<QString, Value>> readValues(const KeyView& k) {
        std::vector<std::pair<QString, Value>> values;
        HKey h = 0;
        if (m_registry.openKeyEx(k.root, k.subPath, 0, KEY_ALL_USED, &h) != status::Success)
            return values;
        QString name;
        Value v;
        for (std::uint32_t i = 0;
             m_registry.enumValue(h, i, &name, &v.type, &v.data) == status::Success; ++i)
            values.emplace_back(name, v);
        m_registry.closeKey(h);
        return values;
    }

    Registry& m_registry;
    KeyView* m_last = nullptr; // the key of the last key line, while it exists
    QString m_lastName;
    std::map<QString, KeyView> m_keys; // sorted, so a key's subtree is one range
    QStringList m_order;
};

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

QString quoted(const QString& s) {
    QString out = QStringLiteral("\"");
    for (QChar c : s) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        out += c;
    }
    return out + u'"';
}

QString valueLabel(const QString& name) {
    return name.isEmpty() ? QStringLiteral("@") : quoted(name);
}

} // namespace

RegDiff diffRegParse(Registry& registry, const RegFileParse& parse, const QByteArray& bytes) {
    RegDiff diff;
    diff.refused = parse.refused;
    diff.error = parse.error;
    if (parse.refused)
        return diff;
    DiffPlayer player(registry);
    for (const RegFileOp& op : parse.ops)
        player.play(op);
    diff.changes = player.changes();
    diff.skipped = skippedLines(parse, bytes);
    return diff;
}

RegDiff diffRegFile(Registry& registry, const QByteArray& bytes) {
    return diffRegParse(registry, parseRegFile(bytes), bytes);
}

QString describeRegData(std::uint32_t t, const QByteArray& data, int maxBytes) {
    if (t == type::Sz && isValidUtf8(data)) {
        QByteArray text = data;
        if (text.endsWith('\0'))
            text.chop(1);
        if (!text.contains('\0'))
            return quoted(QString::fromUtf8(text));
    }
    if (t == type::Dword && data.size() == 4) {
        const auto b = [&](int i) { return std::uint32_t(std::uint8_t(data[i])); };
        return QStringLiteral("dword:%1")
            .arg(b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24, 8, 16, QLatin1Char('0'));
    }
    QString out =
        t == type::Binary ? QStringLiteral("hex:") : QStringLiteral("hex(%1):").arg(t, 0, 16);
    const qsizetype shown = qMin<qsizetype>(data.size(), maxBytes);
    out += QString::fromLatin1(data.first(shown).toHex(','));
    if (shown < data.size())
        out += QStringLiteral(",... (%1 bytes)").arg(data.size());
    return out;
}

QString describeRegChange(const RegChange& c) {
    const QString where = u'[' + c.key + u']';
    switch (c.kind) {
    case RegChange::KeyCreated:
        return QStringLiteral("create key ") + where;
    case RegChange::KeyDeleted:
        return QStringLiteral("delete key ") + where;
    case RegChange::ValueAdded:
        return QStringLiteral("add value %1 %2 = %3")
            .arg(where, valueLabel(c.valueName), describeRegData(c.newType, c.newData));
    case RegChange::ValueChanged:
        return QStringLiteral("change value %1 %2: %3 -> %4")
            .arg(where, valueLabel(c.valueName), describeRegData(c.oldType, c.oldData),
                 describeRegData(c.newType, c.newData));
    case RegChange::ValueRemoved:
        return QStringLiteral("remove value %1 %2 (was %3)")
            .arg(where, valueLabel(c.valueName), describeRegData(c.oldType, c.oldData));
    }
    return QString();
}

} // namespace orvanex::reg
