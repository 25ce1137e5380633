#pragma once
// The start-up procedure: splash, main window built with its painting held back, shown; the rest
// of the loading is left to the main window's one-shot timer.

#include <QString>
#include <memory>

namespace orvanex {

namespace reg {
class Registry;
}
class MainWindow;
class StartupLoader;

// Runs once at process start. The caller keeps the window (its global reference) until the event
// loop ends; loader may be null (the lists stay empty). registryName names a registry other than
// the default hive in the status line.
std::unique_ptr<MainWindow> runStartup(reg::Registry* registry,
                                       std::unique_ptr<StartupLoader> loader,
                                       const QString& registryName = QString());

} // namespace orvanex
