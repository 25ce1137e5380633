// A second program using the settings store, for the tests of what happens between processes and
// under another user: settings_writer APP save PREFIX COUNT | set SECTION KEY VALUE | get SECTION
// KEY. Exits 0 when every call succeeded.

#include "settings/settings_store.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const QString& name = args[1];
    const QString& command = args[2];
    if (command == QLatin1String("save") && args.size() == 5) {
        bool ok = true;
        for (int i = 0, n = args[4].toInt(); i < n; ++i)
            ok = orvanex::SaveSetting(name, QStringLiteral("S"), args[3] + QString::number(i),
                                      QString::number(i)) &&
                 ok;
        return ok ? 0 : 1;
    }
    if (command == QLatin1String("set") && args.size() == 6)
        return orvanex::SaveSetting(name, args[3], args[4], args[5]) ? 0 : 1;
    if (command == QLatin1String("get") && args.size() == 5) {
        const QString value = orvanex::GetSetting(name, args[3], args[4], QStringLiteral("<none>"));
        std::fputs(value.toUtf8().constData(), stdout);
        return 0;
    }
    return 2;
}
