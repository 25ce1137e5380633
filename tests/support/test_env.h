#pragma once
// The temporary world every test process runs in.

#include <QString>

namespace orvanex::test {

// The process's private temporary folder (home, config, data, current directory live below it).
QString tempRoot();
// A fresh, empty folder below tempRoot() for one test.
QString freshDir(const QString& name);
// The source tree, for fixtures.
QString sourceDir();
// With ORVANEX_SCREENSHOT_DIR set (a run under Xvfb on the xcb platform), the screen as it stands,
// saved there under that name for looking at; otherwise nothing.
void screenshot(const QString& name);

} // namespace orvanex::test
