// pelusa: shows the file named on the command line.

#include "viewer/frm_view_x.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv) {
    // Taken before Qt removes the options it knows: the whole command line is the file's path.
    const QString commandLine = orvanex::viewer::commandLineOf(argc, argv);
    // A file of that name wins: the command line is a path first.
    if ((commandLine == QLatin1String("--help") || commandLine == QLatin1String("--version")) &&
        !QFileInfo::exists(commandLine)) {
        std::fputs(
            commandLine == QLatin1String("--help")
                ? "Usage: pelusa FILE\n\nShows the bytes of FILE as text, with find, find all,\n"
                  "fonts and printing. The whole command line is the file's path.\n"
                : "pelusa " ORVANEX_VERSION "\n",
            stdout);
        return 0;
    }
    QApplication app(argc, argv);
    orvanex::viewer::frmViewX window;
    // A file that cannot be shown was reported; no empty window stays behind.
    if (!window.Form_Load(commandLine))
        return 1;
    window.show();
    return app.exec();
}
