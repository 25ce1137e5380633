// ORVANEX: the start-up procedure.

#include "app/main_window.h"
#include "app/startup.h"
#include "editing/list_loader.h"
#include "model/default_registry.h"
#include "registry/hive_location.h"
#include "registry/registry.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvanex"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANEX_VERSION));

    // A first run on the default hive starts from the program's own Windows 95 classes.
    const orvanex::reg::HiveChoice hive = orvanex::reg::chooseHive();
    const orvanex::model::DefaultRegistryResult made = orvanex::model::ensureDefaultRegistry(hive);
    if (!made.error.isEmpty())
        QMessageBox::warning(nullptr, QStringLiteral("ORVANEX"), made.error);
    std::unique_ptr<orvanex::reg::Registry> registry = orvanex::reg::Registry::openHive(hive.path);
    if (registry && !registry->problem().isEmpty())
        QMessageBox::warning(nullptr, QStringLiteral("ORVANEX"), registry->problem());

    std::unique_ptr<orvanex::MainWindow> frmORVANEX =
        orvanex::runStartup(registry.get(), orvanex::editing::makeFileTypeLoader());
    const int code = QApplication::exec();
    frmORVANEX.reset();
    return code;
}
