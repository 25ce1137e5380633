#include "app/startup.h"

#include "app/main_window.h"
#include "app/splash_window.h"
#include "editing/startup_loader.h"

#include <QCoreApplication>

namespace orvanex {

std::unique_ptr<MainWindow> runStartup(reg::Registry* registry,
                                       std::unique_ptr<StartupLoader> loader,
                                       const QString& registryName) {
    auto* frmLoad = new SplashWindow(SplashWindow::Kind::First);
    frmLoad->show();
    QCoreApplication::processEvents();

    auto window = std::make_unique<MainWindow>(registry);
    window->context().RegistryName = registryName;
    window->setStartupLoader(std::move(loader));
    window->adoptFirstSplash(frmLoad);
    // Nothing of the main window is drawn while its load handler fills it.
    window->setUpdatesEnabled(false);
    window->Form_Load();
    window->show();
    window->setUpdatesEnabled(true);
    QCoreApplication::processEvents();
    return window;
}

} // namespace orvanex
