#pragma once
// The registry's diagnostics, for whoever runs the program (orvx tells its user through its own
// output): QT_LOGGING_RULES="orvanex.hive.warning=false" silences one.

#include <QLoggingCategory>

namespace orvanex::reg {

Q_DECLARE_LOGGING_CATEGORY(lcRegistry) // "orvanex.registry": the stores
Q_DECLARE_LOGGING_CATEGORY(lcHive)     // "orvanex.hive": the hive file

} // namespace orvanex::reg
