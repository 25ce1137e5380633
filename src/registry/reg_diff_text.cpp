// The texts of a diff: value data as a .reg file would show them, and one line per change.

#include "registry/reg_diff.h"
#include "registry/win1252.h"

namespace orvanex::reg {

namespace {

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
