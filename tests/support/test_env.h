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

} // namespace orvanex::test
