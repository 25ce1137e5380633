// Shows the summary window of a freshly built Windows program, or the about box, for
// screenshots under Xvfb: window_shots summary DIR | window_shots about
// (a helper for people, not a test).

#include "about/frm_about.h"
#include "registry/reg_state.h"
#include "registry/registry.h"
#include "search/frm_summary.h"
#include "summary_programs.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

using namespace orvanex;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("about")) {
        platform::DriveMap drives;
        drives.setDrive(u'C', QDir::homePath());
        drives.setDrive(u'D', QDir::tempPath());
        about::frmAbout window(drives);
        window.show();
        return app.exec();
    }
    if (args.value(0) != QLatin1String("summary") || args.size() != 2) {
        std::fputs("usage: window_shots summary DIR | window_shots about\n", stderr);
        return 2;
    }
    const test::SummaryPrograms programs = test::buildSummaryPrograms(args[1]);
    if (!programs.error.isEmpty()) {
        std::fputs(qPrintable(programs.error + u'\n'), stderr);
        return 1;
    }
    auto registry = reg::Registry::inMemory();
    reg::RegState state;
    state.registry = registry.get();
    reg::WriteText(state, QStringLiteral(".exe"), QString(), QStringLiteral("exefile"));
    reg::WriteText(state, QStringLiteral("exefile"), QString(), QStringLiteral("Application"));
    search::frmSummary window(programs.gui32, programs.gui32,
                              search::registryDescriber(registry.get()));
    window.show();
    return app.exec();
}
