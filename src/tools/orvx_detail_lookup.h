#pragma once
// The detail panel's view of an entry named on the command line, for orvx show and orvx report.

#include "model/detail_view.h"
#include "platform/drive_map.h"
#include "registry/reg_state.h"

#include <QString>

namespace orvanex::tools {

struct NamedDetail {
    bool found = false;
    bool isType = false; // the file-type view rather than the extension view
    model::DetailView view;
    QString error; // why nothing was found
};

// ".EXT", "*" and "Unknown" name an extension; anything else names a type by its key name
// (without regard to case, as the registry) or by its description.
NamedDetail lookUpDetail(reg::RegState& state, const platform::DriveMap& drives,
                         const QString& name);

} // namespace orvanex::tools
