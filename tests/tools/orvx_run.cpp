#include "orvx_run.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace orvanex::test {

OrvxRun runOrvx(const QStringList& args, const OrvxSetup& setup) {
    QProcess p;
    p.setProcessEnvironment(setup.env);
    if (setup.inChild)
        p.setChildProcessModifier(setup.inChild);
    p.start(QStringLiteral(ORVX_PROGRAM), args);
    EXPECT_TRUE(p.waitForFinished(60000)) << args.join(' ').toStdString();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

OrvxRun runOrvxBytes(const QList<QByteArray>& args, const QList<QByteArray>& env) {
    // QProcess would decode the arguments; fork and exec keep their bytes.
    int outPipe[2], errPipe[2];
    if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0)
        return {};
    QList<QByteArray> argv{QByteArray(ORVX_PROGRAM)};
    argv += args;
    std::vector<char*> cargv;
    for (QByteArray& a : argv)
        cargv.push_back(a.data());
    cargv.push_back(nullptr);
    QList<QByteArray> envStrings = env;
    std::vector<char*> cenv;
    for (QByteArray& e : envStrings)
        cenv.push_back(e.data());
    cenv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(outPipe[1], 1);
        ::dup2(errPipe[1], 2);
        ::execve(cargv[0], cargv.data(), cenv.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    auto drain = [](int fd) {
        QByteArray all;
        char buf[4096];
        for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;)
            all.append(buf, n);
        ::close(fd);
        return all;
    };
    // orvx writes little; reading one pipe to its end before the other cannot block it.
    const QByteArray out = drain(outPipe[0]);
    const QByteArray err = drain(errPipe[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, QString::fromUtf8(out),
            QString::fromUtf8(err)};
}

QList<QByteArray> environmentWithout(const QList<QByteArray>& names) {
    QList<QByteArray> env;
    for (char** e = environ; *e; ++e) {
        const QByteArray entry(*e);
        if (!names.contains(entry.left(entry.indexOf('='))))
            env += entry;
    }
    return env;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QString importClasses(const QString& dir, const QByteArray& classes) {
    writeFile(dir + "/c.reg", classes);
    const QString hive = dir + "/r.hive";
    const OrvxRun r = runOrvx({"--hive", hive, "import", dir + "/c.reg"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    return hive;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace orvanex::test
