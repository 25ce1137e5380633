#include "tools/orvx_commands.h"

#include <QCommandLineParser>

namespace orvanex::tools {

reg::HiveChoice OrvxContext::hive() const {
    return reg::chooseHive(hiveOption);
}

std::unique_ptr<reg::Registry> OrvxContext::openRegistry() {
    auto registry = reg::Registry::openHive(hive().path);
    if (!registry)
        fail(QStringLiteral("cannot open the registry %1").arg(hive().path));
    else if (!registry->problem().isEmpty())
        err << "orvx: " << registry->problem() << Qt::endl;
    return registry;
}

int OrvxContext::fail(const QString& message) {
    err << "orvx: " << message << Qt::endl;
    return exitcode::Failure;
}

bool OrvxContext::isSet(const QString& option) const {
    return parser && parser->isSet(option);
}

QString OrvxContext::value(const QString& option) const {
    return parser ? parser->value(option) : QString();
}

} // namespace orvanex::tools
