#pragma once
// Where a Windows installation keeps its registry: the machine's SOFTWARE hive and a user's
// classes hive (UsrClass.dat), found on a mounted partition without regard to case.

#include <QString>
#include <QStringList>

namespace orvanex::reg {

struct NtLocation {
    QString machineHive; // SOFTWARE
    QString userHive;    // UsrClass.dat; empty when there is none
    QString windowsRoot; // the partition's root (C:); empty for hive files copied anywhere
    QString user;        // whose classes hive it is, when found under Users
    QString hiberfil;    // the partition's hiberfil.sys when there is one
};

// The existing entry of folder that is parts joined, matched without regard to case; empty
// when one of them is missing.
QString findPathWithoutCase(const QString& folder, const QStringList& parts);

// The hives of the installation at root. Without user, the only user that has a classes hive
// (none: the machine's alone); several such users are refused with their names. False with why.
bool locateWindows(const QString& root, const QString& user, NtLocation* where, QString* why);

// Hive files given by name (--nt-hive, --nt-user-classes). False with why when one is missing.
bool locateHiveFiles(const QString& machineHive, const QString& userHive, NtLocation* where,
                     QString* why);

// How the status line names it.
QString describeLocation(const NtLocation& where);

} // namespace orvanex::reg
