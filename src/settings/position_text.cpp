#include "settings/position_text.h"

#include <QStringList>

#include <limits>

namespace orvanex {
namespace {

std::optional<int> toInt16(const QString& field) {
    bool ok = false;
    const int v = field.toInt(&ok);
    if (!ok || v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return v;
}

} // namespace

std::optional<QRect> parseWindowPosition(const QString& text) {
    // Split at the first three commas; the rest is the height.
    QStringList fields;
    QString rest = text;
    for (int i = 0; i < 3; ++i) {
        const qsizetype comma = rest.indexOf(u',');
        if (comma < 0)
            return std::nullopt;
        fields << rest.left(comma);
        rest = rest.mid(comma + 1);
    }
    fields << rest;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        const auto n = toInt16(fields[i].trimmed());
        if (!n)
            return std::nullopt;
        v[i] = *n;
    }
    if (v[2] <= 0 || v[3] <= 0)
        return std::nullopt;
    return QRect(v[0], v[1], v[2], v[3]);
}

QString formatWindowPosition(const QRect& twips) {
    return QStringLiteral("%1,%2,%3,%4")
        .arg(twips.x())
        .arg(twips.y())
        .arg(twips.width())
        .arg(twips.height());
}

} // namespace orvanex
