// orvx copy, move, trash, open, edit, view, opens-with, show-in-folder and properties: the search
// window's operations on a found file, through its code.

#include "platform/drive_map.h"
#include "search/file_launch.h"
#include "search/file_operations.h"
#include "settings/app_folder.h"
#include "tools/orvx_commands.h"
#include "tools/orvx_paths.h"

#include <QFile>

namespace orvanex::tools {

namespace {

int transfer(OrvxContext& context, const QStringList& args, bool moving) {
    const QString usage = moving ? QStringLiteral("usage: orvx move FILE NEWNAME [--replace]")
                                 : QStringLiteral("usage: orvx copy FILE NEWNAME [--replace]");
    if (args.size() != 2 || args[0].isEmpty() || args[1].isEmpty())
        return context.fail(usage);
    const platform::DriveMap drives = platform::DriveMap::forHive(context.registryFile());
    search::TransferRequest request;
    request.selected = args[0];
    request.newName = args[1];
    request.source = QFile::encodeName(nativeOf(drives, args[0]));
    request.target = QFile::encodeName(nativeOf(drives, args[1]));
    request.moving = moving;
    // The panel's warning stays on: --replace is the answer "Yes" given in advance.
    const bool replace = context.isSet(QStringLiteral("replace"));
    QString declined;
    const search::TransferOutcome outcome =
        search::TransferFile(request, [&](const QString& question) {
            if (!replace)
                declined = question;
            return replace;
        });
    switch (outcome.kind) {
    case search::TransferOutcome::Declined:
        context.err << declined << '\n';
        return context.fail(QStringLiteral("not replaced (give --replace to replace it)"));
    case search::TransferOutcome::Unchanged:
    case search::TransferOutcome::Failed:
        return context.fail(outcome.message);
    case search::TransferOutcome::Done:
        break;
    }
    context.out << "Request Completed!\n";
    context.out.flush();
    return exitcode::Success;
}

int copy(OrvxContext& context, const QStringList& args) {
    return transfer(context, args, false);
}

int move(OrvxContext& context, const QStringList& args) {
    return transfer(context, args, true);
}

int trash(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1 || args[0].isEmpty())
        return context.fail(QStringLiteral("usage: orvx trash FILE"));
    const platform::DriveMap drives = platform::DriveMap::forHive(context.registryFile());
    const search::FileResult result =
        search::trashFile(QFile::encodeName(nativeOf(drives, args[0])));
    if (!result.ok())
        return context.fail(args[0] + QStringLiteral(" ** Error ** ") + result.reason);
    context.out << args[0] << " ** Deleted **\n";
    context.out.flush();
    return exitcode::Success;
}

QString nativeArgument(OrvxContext& context, const QString& file) {
    const platform::DriveMap drives = platform::DriveMap::forHive(context.registryFile());
    return nativeOf(drives, file);
}

// Starts what the window would and prints the program it named; fails when there is none or it
// did not start.
int launch(OrvxContext& context, const search::LaunchCommand& command, const QString& none) {
    if (!command.valid())
        return context.fail(none);
    if (!search::StartLaunch(command))
        return context.fail(command.program + QStringLiteral(" ** Error **"));
    context.out << command.program << '\n';
    context.out.flush();
    return exitcode::Success;
}

int open(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1 || args[0].isEmpty())
        return context.fail(QStringLiteral("usage: orvx open FILE"));
    return launch(context, search::OpenCommand(nativeArgument(context, args[0])),
                  search::NoOpenWithText());
}

int opensWith(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1 || args[0].isEmpty())
        return context.fail(QStringLiteral("usage: orvx opens-with FILE"));
    const search::LaunchCommand command = search::OpenCommand(nativeArgument(context, args[0]));
    if (!command.valid())
        return context.fail(search::NoOpenWithText());
    context.out << command.program << '\n';
    context.out.flush();
    return exitcode::Success;
}

int view(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1 || args[0].isEmpty())
        return context.fail(QStringLiteral("usage: orvx view FILE"));
    return launch(context,
                  search::ViewCommand(nativeArgument(context, args[0]), currentAppFolder()),
                  QString());
}

int edit(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1 || args[0].isEmpty())
        return context.fail(QStringLiteral("usage: orvx edit FILE"));
    const QString native = nativeArgument(context, args[0]);
    const search::LaunchCommand editor = search::EditCommand(native);
    // As the window: without a text editor (or when it does not start) the viewer shows it.
    if (editor.valid() && search::StartLaunch(editor)) {
        context.out << editor.program << '\n';
        context.out.flush();
        return exitcode::Success;
    }
    return launch(context, search::ViewCommand(native, currentAppFolder()), QString());
}

int showInFolder(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1 || args[0].isEmpty())
        return context.fail(QStringLiteral("usage: orvx show-in-folder FILE"));
    const QString native = nativeArgument(context, args[0]);
    if (search::AskFileManager(QStringLiteral("ShowItems"), native)) {
        context.out << args[0] << '\n';
        context.out.flush();
        return exitcode::Success;
    }
    // No file manager answers: the desktop's program for folders opens the file's folder.
    return launch(context, search::FolderCommand(native),
                  args[0] + QStringLiteral(" ** Error ** no program opens folders"));
}

int properties(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1 || args[0].isEmpty())
        return context.fail(QStringLiteral("usage: orvx properties FILE"));
    if (search::AskFileManager(QStringLiteral("ShowItemProperties"),
                               nativeArgument(context, args[0]))) {
        context.out << QStringLiteral("File properties for ") << args[0] << '\n';
        context.out.flush();
        return exitcode::Success;
    }
    // As the window: the file summary tells what the program itself knows.
    for (const OrvxCommand& command : insightCommands())
        if (command.name == QLatin1String("summary"))
            return command.run(context, args);
    return context.fail(QStringLiteral("no summary"));
}

} // namespace

QList<OrvxCommand> fileCommands() {
    const QCommandLineOption replace(QStringLiteral("replace"),
                                     QStringLiteral("copy, move: replace a file of the new name."));
    return {
        {QStringLiteral("copy"),
         QStringLiteral("copy FILE NEWNAME [--replace]"),
         QStringLiteral("copy a file as the search window does"),
         copy,
         {replace}},
        {QStringLiteral("move"),
         QStringLiteral("move FILE NEWNAME [--replace]"),
         QStringLiteral("move or rename a file as the search window does"),
         move,
         {replace}},
        {QStringLiteral("trash"), QStringLiteral("trash FILE"),
         QStringLiteral("send a file to the desktop's trash"), trash},
        {QStringLiteral("open"), QStringLiteral("open FILE"),
         QStringLiteral("start the desktop's program for the file, print its name"), open},
        {QStringLiteral("opens-with"), QStringLiteral("opens-with FILE"),
         QStringLiteral("print the program that opens the file"), opensWith},
        {QStringLiteral("edit"), QStringLiteral("edit FILE"),
         QStringLiteral("start the desktop's text editor for the file (else the viewer)"), edit},
        {QStringLiteral("view"), QStringLiteral("view FILE"),
         QStringLiteral("show the file in the viewer"), view},
        {QStringLiteral("show-in-folder"), QStringLiteral("show-in-folder FILE"),
         QStringLiteral("show the file in the file manager (else open its folder)"), showInFolder},
        {QStringLiteral("properties"), QStringLiteral("properties FILE"),
         QStringLiteral("the file manager's properties of the file (else its summary)"),
         properties}};
}

} // namespace orvanex::tools
