// ORVANEX: the start-up procedure.

#include "app/main_window.h"
#include "app/start_options.h"
#include "app/startup.h"
#include "editing/list_loader.h"
#include "model/default_registry.h"
#include "registry/registry.h"
#include "registry/registry_choice.h"

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

// The value of "--NAME VALUE" or "--NAME=VALUE" among the arguments; empty when not given.
QString optionValue(const QStringList& args, const QString& name) {
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == name && i + 1 < args.size())
            return args[i + 1];
        if (args[i].startsWith(name + u'='))
            return args[i].mid(name.size() + 1);
    }
    return QString();
}

} // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> code = orvanex::applyStartOptions(argc, argv))
        return *code;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvanex"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANEX_VERSION));

    const QStringList args = QApplication::arguments();
    const orvanex::reg::RegistryChoice choice =
        orvanex::reg::chooseRegistry(optionValue(args, QStringLiteral("--hive")),
                                     optionValue(args, QStringLiteral("--wine-prefix")),
                                     {optionValue(args, QStringLiteral("--windows")),
                                      optionValue(args, QStringLiteral("--windows-user")),
                                      optionValue(args, QStringLiteral("--nt-hive")),
                                      optionValue(args, QStringLiteral("--nt-user-classes"))});
    if (choice.isOwnHive()) {
        const orvanex::model::DefaultRegistryResult made =
            orvanex::model::ensureDefaultRegistry(choice.hive);
        if (!made.error.isEmpty())
            reportProblem(made.error);
    }
    QString error;
    const std::unique_ptr<orvanex::reg::Registry> registry =
        orvanex::reg::openChosenRegistry(choice, &error);
    if (!registry) {
        reportProblem(error);
        return 1;
    }
    if (!registry->problem().isEmpty())
        reportProblem(registry->problem());

    std::unique_ptr<orvanex::MainWindow> frmORVANEX =
        orvanex::runStartup(registry.get(), orvanex::editing::makeFileTypeLoader(),
                            choice.hive.isDefault ? QString() : choice.description());
    const int code = QApplication::exec();
    frmORVANEX.reset();
    return code;
}
