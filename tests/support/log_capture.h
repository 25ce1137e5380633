#pragma once
// The diagnostics the code under test logs through Qt's categories, held for a test to check
// (and kept off the test's output): from captureLog() until capturedLog(), or while a LogCapture
// lives.

#include <QString>
#include <QStringList>
#include <string>

namespace orvanex::test {

void captureLog();
// Each message as "category: text", one a line; the capture ends.
std::string capturedLog();

class LogCapture {
public:
    LogCapture() { captureLog(); }
    ~LogCapture() { capturedLog(); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;
    // What was logged so far; the capture goes on.
    QStringList messages() const;
};

} // namespace orvanex::test
