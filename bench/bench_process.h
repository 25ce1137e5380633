#pragma once
// What a benchmark process sets up before its application object exists: its own settings, never
// the user's, and windows drawn offscreen.

#include <QString>
#include <QTemporaryDir>

namespace orvanex::bench {

// Keeps the benchmark's settings below dir; call before the application object exists.
inline void useOwnSettings(const QString& dir) {
    qputenv("XDG_CONFIG_HOME", (dir + QStringLiteral("/config")).toUtf8());
}

// The temporary home of a benchmark process, prepared before its application object (a base is
// built before the members of the class that derives from it).
struct ProcessHome {
    QTemporaryDir home;
    ProcessHome() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        useOwnSettings(home.path());
    }
};

// The application object of a benchmark, made in its prepared home (QApplication for windows).
template <typename App> struct AppInHome : ProcessHome {
    App app;
    AppInHome(int& argc, char** argv) : app(argc, argv) {}
};

} // namespace orvanex::bench
