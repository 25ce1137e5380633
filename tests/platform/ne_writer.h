#pragma once
// A small writer of NE files (16-bit programs and ICL icon libraries) and of 16-bit version
// blocks, for fixtures no Debian tool makes.

#include "fixture_images.h"

#include <QByteArray>
#include <QList>
#include <QMap>

namespace orvanex::test {

struct NeResource {
    int type = 0;    // numeric type (3 icon, 14 icon group, 16 version, ...)
    int id = 0;      // numeric id, used when name is empty
    QByteArray name; // a named resource
    QByteArray data;
};

// An NE file for Windows with `expectedVersion` (major in the high byte) holding the resources.
QByteArray makeNe(const QList<NeResource>& resources, quint16 expectedVersion, int alignShift = 4);

// Resources for icon groups: each group's images become icons with fresh ids. Groups named in
// `names` (same index) are named resources, the others get ids 1, 2, ...
QList<NeResource> iconGroupResources(const QList<QList<TestImage>>& groups,
                                     const QList<QByteArray>& names = {});

// A 16-bit VS_VERSIONINFO block (single-byte keys) with one string table.
QByteArray makeVersionBlock16(const QList<QPair<QByteArray, QByteArray>>& strings);

} // namespace orvanex::test
