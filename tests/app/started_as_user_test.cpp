// The real program under an X server of its own, found and closed as a user would.

#include "settings/settings_store.h"
#include "settings/window_position.h"
#include "support/test_env.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>

using namespace orvanex;

namespace {

// Runs a short tool on the test display; its trimmed standard output.
QString runTool(const QString& program, const QStringList& args, const QString& display) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

class XServer {
public:
    // A server that names a display but takes no connections there (one left half-freed by an
    // earlier server) is replaced, up to three times.
    XServer(const QString& xvfb, const QString& xdotool) {
        for (int attempt = 0; attempt < 3 && m_display.isEmpty(); ++attempt) {
            stop();
            const QString display = start(xvfb);
            if (!display.isEmpty() && takesConnections(xdotool, display))
                m_display = display;
        }
    }
    ~XServer() { stop(); }
    QString display() const { return m_display; }

private:
    QString start(const QString& xvfb) {
        // -displayfd 1: the server picks a free display and writes its number to standard output.
        // -noreset: without it the server resets when its last client leaves (the readiness check
        // below), and a program connecting during that reset is refused.
        m_process.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"),
                               QStringLiteral("-screen"), QStringLiteral("0"),
                               QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                               QStringLiteral("tcp"), QStringLiteral("-noreset")});
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 60000 && !m_process.canReadLine() &&
               m_process.state() != QProcess::NotRunning)
            m_process.waitForReadyRead(200);
        const QString number = QString::fromLatin1(m_process.readLine()).trimmed();
        return number.isEmpty() ? QString() : u':' + number;
    }
    bool takesConnections(const QString& xdotool, const QString& display) {
        return QTest::qWaitFor(
                   [&] {
                       return !runTool(xdotool, {QStringLiteral("getdisplaygeometry")}, display)
                                   .isEmpty() ||
                              m_process.state() == QProcess::NotRunning;
                   },
                   60000) &&
               m_process.state() == QProcess::Running;
    }
    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished();
    }

    QProcess m_process;
    QString m_display;
};

} // namespace

TEST(StartedAsUser, MainWindowAppearsAndSavesItsPositionWhenClosed) {
    if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty())
        GTEST_SKIP() << "xvfb-run is not installed";
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xvfb.isEmpty() || xdotool.isEmpty())
        GTEST_SKIP() << "Xvfb or xdotool is not installed";
    const QString program =
        qEnvironmentVariable("ORVANEX_BINARY_DIR") + QStringLiteral("/bin/orvanex");
    ASSERT_TRUE(QFileInfo(program).isExecutable()) << program.toStdString();

    const QString home = test::freshDir(QStringLiteral("user"));
    const QString appFolder = home + QStringLiteral("/app folder");
    const QString config = home + QStringLiteral("/config");
    QDir().mkpath(appFolder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("ORVANEX_HIVE"), home + QStringLiteral("/data/user.hive"));
    // The X keyboard library hands strndup strings without a terminator, which the sanitizer's
    // strict string check reports although strndup stops at its length.
    if (env.contains(QStringLiteral("ASAN_OPTIONS")))
        env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) +
                                                       QStringLiteral(":strict_string_checks=0"));

    // A program refused by a server that had just taken a connection is started again on a new
    // server (up to three); any other failure to show the window is the program's own.
    std::unique_ptr<XServer> server;
    QProcess app;
    QString window;
    bool shownOrGone = false;
    for (int attempt = 0; attempt < 3; ++attempt) {
        server.reset(); // the previous server ends before the next starts
        server = std::make_unique<XServer>(xvfb, xdotool);
        ASSERT_FALSE(server->display().isEmpty()) << "the X server did not start";
        env.insert(QStringLiteral("DISPLAY"), server->display());
        app.setProcessEnvironment(env);
        app.setWorkingDirectory(appFolder);
        app.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        app.start(program, {});
        ASSERT_TRUE(app.waitForStarted(60000));
        shownOrGone = QTest::qWaitFor(
            [&] {
                window = runTool(xdotool,
                                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                  QStringLiteral("--name"), QStringLiteral("ORVANEX.*1\\.2\\.0")},
                                 server->display())
                             .section(u'\n', 0, 0);
                return !window.isEmpty() || app.state() != QProcess::Running;
            },
            60000);
        if (!window.isEmpty() || app.state() == QProcess::Running)
            break;
        app.waitForFinished(5000);
        const QByteArray said = app.readAllStandardError();
        std::fprintf(stderr, "attempt %d on %s:\n%s", attempt + 1, qPrintable(server->display()),
                     said.constData());
        if (!said.contains("could not connect to display"))
            break;
    }
    ASSERT_TRUE(shownOrGone) << "no window within 30 s";
    ASSERT_FALSE(window.isEmpty()) << "no window with ORVANEX and 1.2.0 in its caption";
    const QString caption =
        runTool(xdotool, {QStringLiteral("getwindowname"), window}, server->display());
    EXPECT_TRUE(caption.contains(QLatin1String("ORVANEX"))) << caption.toStdString();
    EXPECT_TRUE(caption.contains(QLatin1String("1.2.0"))) << caption.toStdString();
    EXPECT_TRUE(QFileInfo(appFolder + QStringLiteral("/Backup")).isDir());

    // The loading has ended once it reset the update slots in the settings file and its splash
    // windows (captioned "ORVANEX" alone) are gone; then leave through the exit button's access
    // key.
    const QString settingsFile = config + QStringLiteral("/orvanex/ORVX120.ini");
    const auto loaded = [&] {
        QFile file(settingsFile);
        if (!file.open(QIODevice::ReadOnly) || !file.readAll().contains("[NextNumber]"))
            return false;
        return runTool(xdotool,
                       {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                        QStringLiteral("--name"), QStringLiteral("^ORVANEX$")},
                       server->display())
            .trimmed()
            .isEmpty();
    };
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return app.state() != QProcess::Running || loaded(); }, 30000))
        << "the start-up loading did not end within 30 s";
    const bool ready = loaded();
    ASSERT_TRUE(ready) << "the start-up loading did not end";
    const QString shot = qEnvironmentVariable("ORVANEX_SCREENSHOT");
    if (!shot.isEmpty())
        runTool(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot},
                server->display());
    runTool(xdotool, {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window},
            server->display());
    runTool(xdotool,
            {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), QStringLiteral("alt+x")},
            server->display());
    const bool ended = app.waitForFinished(20000);
    if (!ended) {
        app.kill();
        app.waitForFinished();
    }
    ASSERT_TRUE(ended) << "the program did not end after its window was closed";
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app.exitCode(), 0);

    // Read the program's settings through the store, pointed at its config folder.
    const QByteArray ownConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    const QString text = GetSetting(QLatin1String(kMainAppName), QStringLiteral("FormPosition"),
                                    QStringLiteral("frmORVANEX"));
    qputenv("XDG_CONFIG_HOME", ownConfig);
    const auto position = parseWindowPosition(text);
    ASSERT_TRUE(position) << "stored: \"" << text.toStdString() << '"';
    EXPECT_NEAR(position->width(), 8000, 30);
    EXPECT_NEAR(position->height(), 7500, 30);
}
