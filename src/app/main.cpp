// ORVANEX: the start-up procedure.

#include "app/main_window.h"
#include "app/start_options.h"
#include "app/startup.h"
#include "editing/list_loader.h"
#include "model/default_registry.h"
#include "registry/hive_location.h"
#include "registry/registry.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace {

// A registry that cannot be used as asked is a file error: the user hears of it, and the program
// still starts (read-only, or empty) so that nothing is written over the file.
void reportProblem(const QString& text) {
    std::fprintf(stderr, "orvanex: %s\n", text.toLocal8Bit().constData());
    QMessageBox::warning(nullptr, QStringLiteral("ORVANEX"), text);
}

} // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> code = orvanex::applyStartOptions(argc, argv))
        return *code;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvanex"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANEX_VERSION));

    const orvanex::reg::HiveChoice hive = orvanex::reg::chooseHive();
    const orvanex::model::DefaultRegistryResult made = orvanex::model::ensureDefaultRegistry(hive);
    if (!made.error.isEmpty())
        reportProblem(made.error);
    const std::unique_ptr<orvanex::reg::Registry> registry =
        orvanex::reg::Registry::openHive(hive.path);
    if (!registry->problem().isEmpty())
        reportProblem(registry->problem());

    std::unique_ptr<orvanex::MainWindow> frmORVANEX =
        orvanex::runStartup(registry.get(), orvanex::editing::makeFileTypeLoader());
    const int code = QApplication::exec();
    frmORVANEX.reset();
    return code;
}
