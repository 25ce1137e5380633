#pragma once
// Writers of the file-type layout. Each stops at its first failing step and leaves the status in
// state.LastStatus (and returns it); keys created before the failure stay.

#include "platform/drive_map.h"
#include "registry/reg_state.h"

namespace orvanex::model {

using reg::Status;

// .{ext} (lower-cased, leading dot added) gets the type name as its default.
Status setExtension(reg::RegState& state, const QString& ext, const QString& typeName);
// {type}\Shell\{verb} default = action name.
Status setActionName(reg::RegState& state, const QString& typeName, const QString& verb,
                     const QString& actionName);
// {type}\Shell\{verb}\command default = command.
Status setCommand(reg::RegState& state, const QString& typeName, const QString& verb,
                  const QString& command);
struct DdeFields {
    QString message; // "" writes "Default"
    QString application;
    QString notRunning; // ifexec
    QString topic;
};
// ddeexec and its three children; an empty child text deletes an existing child key.
Status setDde(reg::RegState& state, const QString& typeName, const QString& verb,
              const DdeFields& dde);
// topic, ifexec, application, then ddeexec; missing keys skipped.
Status deleteDde(reg::RegState& state, const QString& typeName, const QString& verb);
Status setDefaultAction(reg::RegState& state, const QString& typeName, const QString& verb);
Status clearDefaultAction(reg::RegState& state, const QString& typeName); // Shell default " "
// command and verb key; clears the default when it was this verb; removes Shell when no verb
// is left.
Status deleteAction(reg::RegState& state, const QString& typeName, const QString& verb);
Status setQuickView(reg::RegState& state, const QString& typeName);
Status clearQuickView(reg::RegState& state, const QString& typeName);
Status setAlwaysShowExt(reg::RegState& state, const QString& typeName);
Status clearAlwaysShowExt(reg::RegState& state, const QString& typeName);
// From the icon path field and the icon number: a drive-letter path must exist (else
// kIconFileMissing and nothing written); containers get ",number"; an empty value deletes the
// DefaultIcon key.
Status setDefaultIcon(reg::RegState& state, const platform::DriveMap& drives,
                      const QString& typeName, const QString& iconPath, const QString& iconNumber);
// The value setDefaultIcon would write (empty when the file is missing or the path is empty).
QString defaultIconValue(const platform::DriveMap& drives, const QString& iconPath,
                         const QString& iconNumber, bool* missing);
// Any key (an extension key or a type key) with its subtree.
Status deleteKey(reg::RegState& state, const QString& keyPath);

} // namespace orvanex::model
