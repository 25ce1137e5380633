// orvx check / fix: the associations check of the check window, and its plain fixes, through
// the same core code.

#include "editing/finding_fix.h"
#include "model/default_registry.h"
#include "model/health_check.h"
#include "model/loading.h"
#include "tools/orvx_commands.h"
#include "tools/orvx_workbench.h"

namespace orvanex::tools {

namespace {

constexpr int kExitFound = 3;

// A registry that could not be read whole fails the check: its findings would be about a part.
bool unreadable(const reg::Registry& registry) {
    return registry.problem().endsWith(QLatin1String("; the registry is read-only"));
}

int check(OrvxContext& context, const QStringList& args) {
    if (!args.isEmpty())
        return context.fail(QStringLiteral("usage: orvx check"));
    const reg::RegistryChoice choice = context.registryChoice();
    if (choice.winePrefix.isEmpty()) {
        const model::DefaultRegistryResult made = model::ensureDefaultRegistry(choice.hive);
        if (!made.error.isEmpty())
            return context.fail(made.error);
    }
    const std::unique_ptr<reg::Registry> registry = context.openRegistry();
    if (!registry)
        return exitcode::Failure;
    if (unreadable(*registry))
        return context.fail(QStringLiteral("the registry cannot be read whole: nothing checked"));
    reg::RegState state;
    state.registry = registry.get();
    const platform::DriveMap drives = platform::DriveMap::forHive(registry->hivePath());
    const model::HealthReport report = model::CheckAssociations(state, drives);
    for (const model::Finding& f : report.findings)
        context.out << f.line() << '\n';
    context.out.flush();
    context.err << "orvx: " << report.findings.size() << " finding(s) in " << report.extensions
                << " extensions, " << report.types << " file types, " << report.actions
                << " actions, " << report.iconFilesRead << " icon files" << Qt::endl;
    return report.findings.isEmpty() ? exitcode::Success : kExitFound;
}

int fix(OrvxContext& context, const QStringList& args) {
    if (args.size() != 2)
        return context.fail(QStringLiteral("usage: orvx fix missing-type|missing-icon ENTRY"));
    Workbench w;
    if (!openWorkbench(context, w))
        return exitcode::Failure;
    if (unreadable(*w.registry))
        return context.fail(QStringLiteral("the registry cannot be read whole: nothing changed"));
    const model::HealthReport found =
        model::CheckAssociations(w.state, w.drives, w.extensions, w.fileTypes);
    for (const model::Finding& f : found.findings) {
        if (model::findingKindName(f.kind) != args[0] || f.entry != args[1])
            continue;
        if (!editing::isFixable(f, w.extensions))
            return context.fail(QStringLiteral("%1 of %2 has no plain fix").arg(args[0], args[1]));
        Editing e(w);
        const editing::FixOutcome out = editing::FixFinding(e.ctx, f);
        return report(context, out.status, out.fixed);
    }
    return context.fail(QStringLiteral("the check finds no %1 for %2").arg(args[0], args[1]));
}

} // namespace

QList<OrvxCommand> checkCommands() {
    return {
        {QStringLiteral("check"), QStringLiteral("check"),
         QStringLiteral("what is broken: KIND<TAB>ENTRY<TAB>DETAIL lines (exit 3 when any)"),
         check},
        {QStringLiteral("fix"), QStringLiteral("fix missing-type|missing-icon ENTRY"),
         QStringLiteral("remove a dangling extension or clear a missing icon (backed up first)"),
         fix},
    };
}

} // namespace orvanex::tools
