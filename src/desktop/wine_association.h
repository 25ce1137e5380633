#pragma once
// What the host entries need of a prefix's registry: the association Wine exported (the
// extension's ProgID and its open command), the log of exports under
// HKEY_CURRENT_USER\Software\Wine\FileOpenAssociations, and the switches there that keep Wine
// from exporting (the multi-string "Exclude" and "Enable"="N").

#include "registry/registry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvanex::desktop {

inline const QString kAssociationsKey = QStringLiteral("Software\\Wine\\FileOpenAssociations");
inline const QString kAssociationsKeyName =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Wine\\FileOpenAssociations");

// Programs Wine never exports, written with a new "Exclude" list.
QStringList wineDefaultExcludes();

struct Association {
    QString progId;      // the extension's default value ("" when the key or value is missing)
    QString command;     // its open command ("" when none)
    QString program;     // the command's program file name, lower case: "notepad.exe"
    QString appName;     // the verb's FriendlyAppName, else program
    QString contentType; // the extension's "Content Type"
    bool live() const { return !progId.isEmpty() && !command.isEmpty(); }
};
// ext: ".pdf", looked up in HKEY_CLASSES_ROOT.
Association findAssociation(reg::Registry& registry, const QString& ext);

// The program file name of a command line: quoted or up to the first blank, folders cut off.
QString programOfCommand(const QString& command);

// A text value (terminator cut off); false when the key or value is missing or not text.
bool readText(reg::Registry& registry, reg::HKey root, const QString& key, const QString& name,
              QString* text);
// A REG_MULTI_SZ value's strings; false when missing.
bool readMultiString(reg::Registry& registry, reg::HKey root, const QString& key,
                     const QString& name, QStringList* strings);
bool keyExists(reg::Registry& registry, reg::HKey root, const QString& key);

// The .reg text (REGEDIT4) that puts the export log of exts and the "Exclude" and "Enable"
// values back as they are now: a value that does not exist is written as deleted ("=-").
// Empty with *error on failure.
QByteArray associationsBackup(reg::Registry& registry, const QStringList& exts, QString* error);

// Adds program to "Exclude" (Wine's defaults first when the list does not exist); *wroteDefaults
// tells when it did. A program already on the list (any case) is not added again.
reg::Status excludeProgram(reg::Registry& registry, const QString& program, bool* wroteDefaults);
// "Enable"="N": Wine exports nothing of the prefix any more.
reg::Status disableExport(reg::Registry& registry);
// Deletes FileOpenAssociations\.ext; a missing key is no failure.
reg::Status deleteExportRecord(reg::Registry& registry, const QString& ext);

} // namespace orvanex::desktop
