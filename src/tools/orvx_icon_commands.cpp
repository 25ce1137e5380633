// orvx icon-files / icon-panel: the icon-file picker's list and the icon panel of a file,
// computed by the code behind the main window's "&Find" and "&Icons".

#include "editing/icon_choice.h"
#include "model/default_registry.h"
#include "model/loading.h"
#include "tools/orvx_commands.h"

namespace orvanex::tools {

namespace {

// The chosen registry, with the default one made on first use as at the window's start (its
// icon files come with it).
std::unique_ptr<reg::Registry> openIconRegistry(OrvxContext& context) {
    const reg::RegistryChoice choice = context.registryChoice();
    if (choice.isOwnHive()) {
        const model::DefaultRegistryResult made = model::ensureDefaultRegistry(choice.hive);
        if (!made.error.isEmpty()) {
            context.fail(made.error);
            return nullptr;
        }
    }
    return context.openRegistry();
}

int iconFiles(OrvxContext& context, const QStringList& args) {
    if (!args.isEmpty())
        return context.fail(QStringLiteral("usage: orvx icon-files"));
    const std::unique_ptr<reg::Registry> registry = openIconRegistry(context);
    if (!registry)
        return exitcode::Failure;
    reg::RegState state;
    state.registry = registry.get();
    const platform::DriveMap drives = platform::DriveMap::forHive(registry->hivePath());
    const model::StartupModel loaded = model::LoadStartupModel(state, drives, false);
    const QStringList& files = loaded.lists.iconFiles.items();
    context.out << editing::iconFileListHeader(int(files.size())) << '\n';
    for (const QString& file : files)
        context.out << file << '\n';
    context.out.flush();
    return exitcode::Success;
}

int iconPanel(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1)
        return context.fail(QStringLiteral("usage: orvx icon-panel FILE [--png OUT.png]"));
    const std::unique_ptr<reg::Registry> registry = openIconRegistry(context);
    if (!registry)
        return exitcode::Failure;
    const platform::DriveMap drives = platform::DriveMap::forHive(registry->hivePath());
    const editing::IconViewTarget target = editing::iconViewTarget(args[0]);
    if (target.kind == editing::IconViewKind::None) {
        context.out << editing::noIconsStatus(args[0]) << Qt::endl;
        return context.fail(
            QStringLiteral("%1 is not a kind of file that holds icons").arg(args[0]));
    }
    const QString png = context.value(QStringLiteral("png"));
    const editing::IconSheet sheet =
        editing::readIconSheet(drives, target.file, png.isEmpty() ? 0 : 32);
    if (sheet.count < 1) {
        context.out << editing::noIconsStatus(args[0]) << Qt::endl;
        return exitcode::Failure;
    }
    context.out << editing::iconsFoundStatus(sheet.count, target.file) << Qt::endl;
    // The panel's cells of 700 twips at 96 dots an inch.
    if (!png.isEmpty() && !savePng(editing::iconSheetPicture(sheet, 47), png))
        return context.fail(QStringLiteral("cannot write %1").arg(png));
    return exitcode::Success;
}

} // namespace

QList<OrvxCommand> iconCommands() {
    return {
        {QStringLiteral("icon-files"), QStringLiteral("icon-files"),
         QStringLiteral("list the known icon files, as the icon-file picker does"), iconFiles},
        {QStringLiteral("icon-panel"),
         QStringLiteral("icon-panel FILE [--png OUT.png]"),
         QStringLiteral("count the icons of an icon field's file (and draw them 7 a row)"),
         iconPanel,
         {pngOption()}},
    };
}

} // namespace orvanex::tools
