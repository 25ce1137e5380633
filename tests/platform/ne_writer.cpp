#include "ne_writer.h"

namespace orvanex::test {

namespace {

void put16(QByteArray& b, int v) {
    b.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
}
void set16(QByteArray& b, int at, int v) {
    b[at] = char(v & 0xff);
    b[at + 1] = char((v >> 8) & 0xff);
}
void pad4(QByteArray& b) {
    while (b.size() % 4)
        b.append('\0');
}

// A 16-bit version node: length, value length, key, value, children (each 4-aligned).
QByteArray node16(const QByteArray& key, const QByteArray& value, const QByteArray& children) {
    QByteArray b(4, '\0');
    b.append(key).append('\0');
    pad4(b);
    b.append(value);
    if (!children.isEmpty()) {
        pad4(b);
        b.append(children);
    }
    set16(b, 0, int(b.size()));
    set16(b, 2, int(value.size()));
    return b;
}

} // namespace

QByteArray makeNe(const QList<NeResource>& resources, quint16 expectedVersion, int alignShift) {
    // Resource table: shift, type records with their entries, end mark, names.
    QMap<int, QList<int>> byType; // type -> resource indexes, in order
    QList<int> typeOrder;
    for (int i = 0; i < resources.size(); ++i) {
        if (!byType.contains(resources[i].type))
            typeOrder.append(resources[i].type);
        byType[resources[i].type].append(i);
    }
    QByteArray table;
    put16(table, alignShift);
    QList<int> entryAt(resources.size());
    for (int type : typeOrder) {
        put16(table, type | 0x8000);
        put16(table, int(byType[type].size()));
        put16(table, 0);
        put16(table, 0);
        for (int i : byType[type]) {
            entryAt[i] = int(table.size());
            table.append(QByteArray(12, '\0'));
            set16(table, entryAt[i] + 4, 0x1c30); // moveable, pure, discardable
        }
    }
    put16(table, 0);
    for (int i = 0; i < resources.size(); ++i) {
        if (resources[i].name.isEmpty()) {
            set16(table, entryAt[i] + 6, resources[i].id | 0x8000);
        } else {
            set16(table, entryAt[i] + 6, int(table.size()));
            table.append(char(resources[i].name.size())).append(resources[i].name);
        }
    }
    table.append('\0');
    // Resident names: the module name with ordinal 0, then the end mark.
    QByteArray resident;
    resident.append(char(4)).append("TEST");
    put16(resident, 0);
    resident.append('\0');

    QByteArray ne(64, '\0');
    ne[0] = 'N';
    ne[1] = 'E';
    ne[2] = 5; // linker version
    const int restab = 64 + int(table.size());
    const int after = restab + int(resident.size());
    set16(ne, 0x04, after);  // entry table (empty)
    set16(ne, 0x06, 1);      // its length
    set16(ne, 0x0c, 0x0302); // library-style flags: single data, protected mode
    set16(ne, 0x24, 64);     // resource table
    set16(ne, 0x26, restab); // resident names
    set16(ne, 0x28, after);  // module references
    set16(ne, 0x2a, after);  // imported names
    set16(ne, 0x32, alignShift);
    ne[0x36] = 2; // Windows
    set16(ne, 0x3e, expectedVersion);

    QByteArray file(64, '\0');
    file[0] = 'M';
    file[1] = 'Z';
    set16(file, 0x18, 0x40);
    set16(file, 0x3c, 0x40);
    file.append(ne).append(table).append(resident).append('\0');
    // Resource data, each block aligned; the table gives offsets and lengths in aligned units.
    const int unit = 1 << alignShift;
    const int tableAt = 0x40 + 64;
    for (int i = 0; i < resources.size(); ++i) {
        while (file.size() % unit)
            file.append('\0');
        set16(file, tableAt + entryAt[i], int(file.size() >> alignShift));
        set16(file, tableAt + entryAt[i] + 2, int((resources[i].data.size() + unit - 1) / unit));
        file.append(resources[i].data);
    }
    while (file.size() % unit)
        file.append('\0');
    return file;
}

QList<NeResource> iconGroupResources(const QList<QList<TestImage>>& groups,
                                     const QList<QByteArray>& names) {
    QList<NeResource> out;
    int nextIcon = 1;
    for (int g = 0; g < groups.size(); ++g) {
        const QByteArray name = g < names.size() ? names[g] : QByteArray();
        out.append(NeResource{14, g + 1, name, makeIconGroup(groups[g], nextIcon)});
        for (const TestImage& i : groups[g])
            out.append(NeResource{3, nextIcon++, {}, i.data});
    }
    return out;
}

QByteArray makeVersionBlock16(const QList<QPair<QByteArray, QByteArray>>& strings) {
    QByteArray table;
    for (const auto& [key, value] : strings) {
        pad4(table);
        table.append(node16(key, value + '\0', {}));
    }
    QByteArray fixed(52, '\0');
    fixed[0] = char(0xbd);
    fixed[1] = char(0x04);
    fixed[2] = char(0xef);
    fixed[3] = char(0xfe);
    const QByteArray stringInfo = node16("StringFileInfo", {}, node16("040904E4", {}, table));
    return node16("VS_VERSION_INFO", fixed, stringInfo);
}

} // namespace orvanex::test
