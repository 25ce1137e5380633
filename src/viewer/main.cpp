// pelusa: shows the file named on the command line.

#include "viewer/frm_view_x.h"

#include <QApplication>

int main(int argc, char** argv) {
    // Taken before Qt removes the options it knows: the whole command line is the file's path.
    const QString commandLine = orvanex::viewer::commandLineOf(argc, argv);
    QApplication app(argc, argv);
    orvanex::viewer::frmViewX window;
    window.Form_Load(commandLine);
    window.show();
    return app.exec();
}
