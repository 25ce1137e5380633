#pragma once
// The Registry calls the store tests make over and over, each answered as one value to compare.

#include "registry/registry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvanex::test {

// Creates root\path as needed and sets one value there.
inline reg::Status setData(reg::Registry& r, reg::HKey root, const QString& path,
                           const QString& name, std::uint32_t type, const QByteArray& data) {
    reg::HKey k = 0;
    if (reg::Status s = r.createKey(root, path, &k))
        return s;
    const reg::Status s = r.setValueEx(k, name, type, data.constData(), std::uint32_t(data.size()));
    r.closeKey(k);
    return s;
}

inline reg::Status setText(reg::Registry& r, reg::HKey root, const QString& path,
                           const QString& name, const QByteArray& text) {
    return setData(r, root, path, name, reg::type::Sz, text);
}

// The data of the value of that name as enumerating the key finds it, and its type when asked
// for; "<no key>" or "<no value>" when there is none.
inline QByteArray valueData(reg::Registry& r, reg::HKey root, const QString& path,
                            const QString& name, std::uint32_t* type = nullptr) {
    reg::HKey k = 0;
    if (r.openKeyEx(root, path, 0, reg::KEY_ALL_USED, &k) != 0)
        return "<no key>";
    QByteArray data;
    QString n;
    for (std::uint32_t i = 0; r.enumValue(k, i, &n, type, &data) == 0; ++i)
        if (n.compare(name, Qt::CaseInsensitive) == 0) {
            r.closeKey(k);
            return data;
        }
    r.closeKey(k);
    return "<no value>";
}

// read(k) on root\path, opened for it; "<status>" when the key cannot be opened.
template <typename Read>
QStringList readKey(reg::Registry& r, reg::HKey root, const QString& path, Read&& read) {
    reg::HKey k = 0;
    if (reg::Status s = r.openKeyEx(root, path, 0, reg::KEY_ALL_USED, &k))
        return {QStringLiteral("<%1>").arg(s)};
    const QStringList out = read(k);
    r.closeKey(k);
    return out;
}

// The subkey names in enumeration order.
inline QStringList subkeys(reg::Registry& r, reg::HKey root, const QString& path) {
    return readKey(r, root, path, [&](reg::HKey k) {
        QStringList names;
        QString name;
        for (std::uint32_t i = 0; r.enumKeyEx(k, i, &name) == 0; ++i)
            names << name;
        return names;
    });
}

// "name=data" for each value, data read as UTF-8.
inline QStringList values(reg::Registry& r, reg::HKey root, const QString& path) {
    return readKey(r, root, path, [&](reg::HKey k) {
        QStringList out;
        QString name;
        QByteArray data;
        for (std::uint32_t i = 0; r.enumValue(k, i, &name, nullptr, &data) == 0; ++i)
            out << name + u'=' + QString::fromUtf8(data);
        return out;
    });
}

} // namespace orvanex::test
