#include "registry/registry_choice.h"
#include "tools/orvx_commands.h"

namespace orvanex::tools {

reg::RegistryChoice OrvxContext::registryChoice() const {
    return reg::chooseRegistry(hiveOption, winePrefixOption);
}

std::unique_ptr<reg::Registry> OrvxContext::openRegistry() {
    QString error;
    auto registry = reg::openChosenRegistry(registryChoice(), &error);
    if (!registry) {
        fail(error);
        return nullptr;
    }
    if (!registry->problem().isEmpty())
        err << "orvx: " << registry->problem() << Qt::endl;
    return registry;
}

bool OrvxContext::takeWinePrefix(QStringList& args, qsizetype i) {
    const QString option = QStringLiteral("--wine-prefix");
    if (args[i] == option && i + 1 < args.size()) {
        winePrefixOption = args[i + 1];
        args.remove(i, 2);
        return true;
    }
    if (args[i].startsWith(option + u'=')) {
        winePrefixOption = args[i].mid(option.size() + 1);
        args.remove(i);
        return true;
    }
    return false;
}

int OrvxContext::fail(const QString& message) {
    err << "orvx: " << message << Qt::endl;
    return 1;
}

} // namespace orvanex::tools
