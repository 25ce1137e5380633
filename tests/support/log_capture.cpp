#include "support/log_capture.h"

#include <QMutex>
#include <QtGlobal>

namespace orvanex::test {

namespace {

QMutex g_mutex;
QStringList g_messages;
QtMessageHandler g_previous = nullptr;
bool g_capturing = false;

void collect(QtMsgType, const QMessageLogContext& context, const QString& text) {
    const QMutexLocker lock(&g_mutex);
    g_messages.append(QString::fromUtf8(context.category ? context.category : "default") +
                      QStringLiteral(": ") + text);
}

} // namespace

void captureLog() {
    const QMutexLocker lock(&g_mutex);
    g_messages.clear();
    if (!g_capturing)
        g_previous = qInstallMessageHandler(collect);
    g_capturing = true;
}

std::string capturedLog() {
    QStringList messages;
    {
        const QMutexLocker lock(&g_mutex);
        messages.swap(g_messages);
        if (!g_capturing)
            return {};
        g_capturing = false;
    }
    qInstallMessageHandler(g_previous);
    return messages.join(u'\n').toStdString();
}

QStringList LogCapture::messages() const {
    const QMutexLocker lock(&g_mutex);
    return g_messages;
}

} // namespace orvanex::test
