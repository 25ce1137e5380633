// ORVANEX: the start-up procedure.

#include "app/main_window.h"
#include "app/startup.h"
#include "app/startup_loader.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvanex"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANEX_VERSION));

    // The registry is opened here once its layer is in the tree.
    std::unique_ptr<orvanex::MainWindow> frmORVANEX =
        orvanex::runStartup(nullptr, std::make_unique<orvanex::StartupLoader>());
    const int code = QApplication::exec();
    frmORVANEX.reset();
    return code;
}
