#pragma once
// The plain fixes of the associations check: a dangling extension is removed, a missing icon is
// cleared. Each is taken after its backup (a failed backup changes nothing), and only while the
// registry still shows the finding.

#include "editing/delete_entry.h"
#include "model/health_check.h"

namespace orvanex::editing {

// Whether the finding has a plain fix ("Fix…" is offered).
bool isFixable(const model::Finding& finding, const QList<model::ExtensionEntry>& extensions);
// The question the window asks before the fix.
QString fixQuestion(const model::Finding& finding);

struct FixOutcome : EditOutcome {
    bool fixed = false;
    QStringList removedExtensions; // the Ext of an extension that went
    DeleteOutcome deletion;        // for the rows of the lists
};
FixOutcome FixFinding(EditContext& ctx, const model::Finding& finding);

} // namespace orvanex::editing
