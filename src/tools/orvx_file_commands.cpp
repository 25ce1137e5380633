// orvx copy, move, trash, open, edit, view, opens-with, show-in-folder, properties and image: the
// search window's operations on a found file, through its code.

#include "platform/drive_map.h"
#include "search/file_launch.h"
#include "search/file_operations.h"
#include "search/picture_file.h"
#include "settings/app_folder.h"
#include "tools/orvx_commands.h"
#include "tools/orvx_paths.h"

#include <QFile>
#include <QFileInfo>

namespace orvanex::tools {

namespace {

int transfer(OrvxContext& context, const QStringList& args, bool moving) {
    const QString usage = moving ? QStringLiteral("usage: orvx move FILE NEWNAME [--replace]")
                                 : QStringLiteral("usage: orvx copy FILE [NEWNAME] [--replace]");
    const bool proposed = !moving && args.size() == 1;
    if ((args.size() != 2 && !proposed) || args[0].isEmpty() || args.value(1, args[0]).isEmpty())
        return context.fail(usage);
    const platform::DriveMap drives = platform::DriveMap::forHive(context.registryFile());
    search::TransferRequest request;
    request.selected = args[0];
    // Without a new name: the copy panel's proposal, a free name beside the file.
    request.newName =
        proposed ? search::CopyProposal(args[0],
                                        [&](const QString& name) {
                                            return QFileInfo::exists(nativeOf(drives, name));
                                        })
                 : args[1];
    request.source = QFile::encodeName(nativeOf(drives, args[0]));
    request.target = QFile::encodeName(nativeOf(drives, request.newName));
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
    if (proposed)
        context.out << request.newName << '\n';
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

using FileCommand = int (*)(OrvxContext& context, const QString& file, const QString& native);

// A command of one FILE argument (native or a drive path such as Z:\tmp\x.txt).
std::function<int(OrvxContext&, const QStringList&)> oneFile(const QString& name, FileCommand run) {
    return [name, run](OrvxContext& context, const QStringList& args) {
        if (args.size() != 1 || args[0].isEmpty())
            return context.fail(QStringLiteral("usage: orvx %1 FILE").arg(name));
        const platform::DriveMap drives = platform::DriveMap::forHive(context.registryFile());
        return run(context, args[0], nativeOf(drives, args[0]));
    };
}

int done(OrvxContext& context, const QString& line) {
    context.out << line << '\n';
    context.out.flush();
    return exitcode::Success;
}

int trash(OrvxContext& context, const QString& file, const QString& native) {
    const search::FileResult result = search::trashFile(QFile::encodeName(native));
    if (!result.ok())
        return context.fail(file + QStringLiteral(" ** Error ** ") + result.reason);
    return done(context, file + QStringLiteral(" ** Deleted **"));
}

// Starts what the window would and prints the program it named; fails, saying why, when there is
// none or it did not start.
int launch(OrvxContext& context, const search::LaunchCommand& command, const QString& none) {
    if (!command.valid())
        return context.fail(command.missing.isEmpty() ? none : command.missing);
    QString reason;
    if (!search::StartLaunch(command, &reason))
        return context.fail(search::LaunchErrorText(command, reason));
    return done(context, command.program);
}

int open(OrvxContext& context, const QString&, const QString& native) {
    return launch(context, search::OpenCommand(native), search::NoOpenWithText());
}

int opensWith(OrvxContext& context, const QString&, const QString& native) {
    const search::LaunchCommand command = search::OpenCommand(native);
    return command.named() ? done(context, command.program)
                           : context.fail(search::NoOpenWithText());
}

int view(OrvxContext& context, const QString& file, const QString& native) {
    const QString refused = search::ViewRefusal(native);
    if (!refused.isEmpty())
        return context.fail(search::CannotViewText(file, refused));
    return launch(context, search::ViewCommand(native, currentAppFolder()), QString());
}

int edit(OrvxContext& context, const QString& file, const QString& native) {
    const search::LaunchCommand editor = search::EditCommand(native);
    // As the window: without a text editor the viewer shows it.
    if (!editor.valid())
        return view(context, file, native);
    return launch(context, editor, QString());
}

int showInFolder(OrvxContext& context, const QString& file, const QString& native) {
    if (search::AskFileManager(QStringLiteral("ShowItems"), native))
        return done(context, file);
    // No file manager answers: the desktop's program for folders opens the file's folder.
    return launch(context, search::FolderCommand(native),
                  file + QStringLiteral(" ** Error ** ") + search::NoFolderProgramText());
}

int properties(OrvxContext& context, const QString& file, const QString& native) {
    if (search::AskFileManager(QStringLiteral("ShowItemProperties"), native))
        return done(context, QStringLiteral("File properties for ") + file);
    // As the window: the file summary tells what the program itself knows.
    return summaryCommand(context, {file});
}

int image(OrvxContext& context, const QString& file, const QString& native) {
    QString reason;
    const QImage picture = search::ReadPicture(native, &reason);
    if (picture.isNull())
        return context.fail(search::CannotShowText(file, reason));
    const QString png = context.value(QStringLiteral("png"));
    if (!png.isEmpty() && !savePng(picture, png))
        return context.fail(QStringLiteral("cannot write %1").arg(png));
    return done(context, QStringLiteral("%1 x %2").arg(picture.width()).arg(picture.height()));
}

} // namespace

QList<OrvxCommand> fileCommands() {
    const QCommandLineOption replace(QStringLiteral("replace"),
                                     QStringLiteral("copy, move: replace a file of the new name."));
    return {{QStringLiteral("copy"),
             QStringLiteral("copy FILE [NEWNAME] [--replace]"),
             QStringLiteral("copy a file as the search window does (by default to a free name "
                            "beside it)"),
             copy,
             {replace}},
            {QStringLiteral("move"),
             QStringLiteral("move FILE NEWNAME [--replace]"),
             QStringLiteral("move or rename a file as the search window does"),
             move,
             {replace}},
            {QStringLiteral("trash"), QStringLiteral("trash FILE"),
             QStringLiteral("send a file to the desktop's trash"),
             oneFile(QStringLiteral("trash"), trash)},
            {QStringLiteral("open"), QStringLiteral("open FILE"),
             QStringLiteral("start the desktop's program for the file, print its name"),
             oneFile(QStringLiteral("open"), open)},
            {QStringLiteral("opens-with"), QStringLiteral("opens-with FILE"),
             QStringLiteral("print the program that opens the file"),
             oneFile(QStringLiteral("opens-with"), opensWith)},
            {QStringLiteral("edit"), QStringLiteral("edit FILE"),
             QStringLiteral("start the desktop's text editor for the file (else the viewer)"),
             oneFile(QStringLiteral("edit"), edit)},
            {QStringLiteral("view"), QStringLiteral("view FILE"),
             QStringLiteral("show the file in the viewer"), oneFile(QStringLiteral("view"), view)},
            {QStringLiteral("show-in-folder"), QStringLiteral("show-in-folder FILE"),
             QStringLiteral("show the file in the file manager (else open its folder)"),
             oneFile(QStringLiteral("show-in-folder"), showInFolder)},
            {QStringLiteral("properties"), QStringLiteral("properties FILE"),
             QStringLiteral("the file manager's properties of the file (else its summary)"),
             oneFile(QStringLiteral("properties"), properties)},
            {QStringLiteral("image"),
             QStringLiteral("image FILE [--png OUT.png]"),
             QStringLiteral("the file's picture size, as the search window shows it (and save it)"),
             oneFile(QStringLiteral("image"), image),
             {pngOption()}}};
}

} // namespace orvanex::tools
