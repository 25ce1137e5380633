#include "desktop/host_world.h"

#include "registry/registry.h"
#include "registry/wine_registry.h"
#include "support/test_env.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace orvanex::test {

namespace {

using namespace orvanex::reg;

void put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

void setText(Registry& r, HKey root, const QString& key, const QString& name,
             const QString& value) {
    HKey k = 0;
    ASSERT_EQ(r.createKey(root, key, &k), status::Success) << key.toStdString();
    const QByteArray bytes = value.toUtf8() + '\0';
    ASSERT_EQ(r.setValueEx(k, name, type::Sz, bytes.constData(), std::uint32_t(bytes.size())),
              status::Success);
    r.closeKey(k);
}

void associate(Registry& r, const QString& ext, const QString& progId, const QString& command,
               const QString& contentType = {}) {
    setText(r, HKEY_CLASSES_ROOT, ext, {}, progId);
    if (!contentType.isEmpty())
        setText(r, HKEY_CLASSES_ROOT, ext, QStringLiteral("Content Type"), contentType);
    setText(r, HKEY_CLASSES_ROOT, progId, {}, progId + QStringLiteral(" document"));
    setText(r, HKEY_CLASSES_ROOT, progId + QStringLiteral("\\shell\\open\\command"), {}, command);
}

// The log Wine keeps of an export.
void logExport(Registry& r, const QString& ext, const QString& mime, const QString& progId) {
    const QString key = QStringLiteral("Software\\Wine\\FileOpenAssociations\\") + ext;
    setText(r, HKEY_CURRENT_USER, key, QStringLiteral("MimeType"), mime);
    setText(r, HKEY_CURRENT_USER, key, QStringLiteral("ProgID"), progId);
    setText(r, HKEY_CURRENT_USER, key, QStringLiteral("AppName"), progId);
    setText(r, HKEY_CURRENT_USER, key, QStringLiteral("DesktopFile"),
            QStringLiteral("wine-extension-") + ext.mid(1) + QStringLiteral(".desktop"));
}

QByteArray packageText(const QString& mime, const QString& ext) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info "
                          "xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"%1\">\n"
                          "    <glob pattern=\"*%2\"/>\n"
                          "    <comment>%3 document</comment>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n")
        .arg(mime, ext, ext.mid(1))
        .toUtf8();
}

const QByteArray kPng = QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUl"
                                               "EQVR42mP8z8DwHwAFBQIAX8jx0gAAAABJRU5ErkJggg==");

} // namespace

QString HostWorld::entry(const QString& ext) const {
    return dataHome + QStringLiteral("/applications/wine-extension-") + ext +
           QStringLiteral(".desktop");
}

QString HostWorld::package(const QString& ext) const {
    return dataHome + QStringLiteral("/mime/packages/x-wine-extension-") + ext +
           QStringLiteral(".xml");
}

QByteArray wineEntryText(const QString& prefix, const QString& progId, const QString& mime,
                         const QString& appName, const QString& icon) {
    QByteArray text = "[Desktop Entry]\nType=Application\nName=" + appName.toUtf8() +
                      "\nMimeType=" + mime.toUtf8() + ";\nExec=env WINEPREFIX=\"" +
                      prefix.toUtf8() + "\" wine start /ProgIDOpen " + progId.toUtf8() +
                      " %f\nNoDisplay=true\nStartupNotify=true\n";
    if (!icon.isEmpty())
        text += "Icon=" + icon.toUtf8() + '\n';
    return text;
}

QString makeTextPrefix(const QString& dir) {
    QDir().mkpath(dir);
    put(dir + QStringLiteral("/system.reg"),
        "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
        "[Software\\\\Classes] 1700000000\n\n");
    put(dir + QStringLiteral("/user.reg"),
        "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
        "#arch=win64\n\n[Software\\\\Wine] 1700000000\n\n");
    const auto r = openWineRegistry(dir);
    associate(*r, QStringLiteral(".pdf"), QStringLiteral("pdffile"),
              QStringLiteral("\"C:\\windows\\system32\\winebrowser.exe\" \"%1\""));
    associate(*r, QStringLiteral(".rtf"), QStringLiteral("rtffile"),
              QStringLiteral("\"C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe\" "
                             "\"%1\""));
    return dir;
}

QString bootedPrefix(const QString& dir) {
    static const QString booted = [] {
        const QString wineboot = QStandardPaths::findExecutable(QStringLiteral("wineboot"));
        const QString wineserver = QStandardPaths::findExecutable(QStringLiteral("wineserver"));
        if (wineboot.isEmpty() || wineserver.isEmpty())
            return QString();
        const QString prefix = freshDir(QStringLiteral("booted")) + QStringLiteral("/prefix");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("WINEPREFIX"), prefix);
        env.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
        env.insert(QStringLiteral("DISPLAY"), QString());
        env.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree,mshtml="));
        for (const auto& [program, args] :
             {std::pair{wineboot, QStringList{QStringLiteral("-i")}},
              std::pair{wineserver, QStringList{QStringLiteral("-w")}}}) {
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(program, args);
            if (!p.waitForFinished(600000) || p.exitCode() != 0)
                return QString();
        }
        return prefix;
    }();
    if (booted.isEmpty())
        return QString();
    // The registry is what the entries are checked against; drive_c (some 700 MB) is not copied.
    QDir().mkpath(dir);
    for (const char* file : {"system.reg", "user.reg", "userdef.reg"})
        if (QProcess::execute(QStringLiteral("cp"),
                              {QStringLiteral("-a"), booted + u'/' + QLatin1String(file), dir}) !=
            0)
            return QString();
    return dir;
}

HostWorld makeHostWorld(const QString& root, const QString& prefix) {
    HostWorld w;
    w.dataHome = root + QStringLiteral("/data");
    w.configHome = root + QStringLiteral("/config");
    w.prefix = prefix;
    w.gonePrefix = root + QStringLiteral("/gone prefix");
    w.appFolder = root + QStringLiteral("/app");
    QDir().mkpath(w.appFolder + QStringLiteral("/Backup"));
    qputenv("XDG_DATA_HOME", w.dataHome.toUtf8());
    qputenv("XDG_CONFIG_HOME", w.configHome.toUtf8());
    qputenv("XDG_DATA_DIRS", (w.dataHome + QStringLiteral(":/usr/share")).toUtf8());
    {
        const auto r = openWineRegistry(prefix);
        associate(*r, QStringLiteral(".orvxdoc"), QStringLiteral("orvxdoc.file"),
                  QStringLiteral("C:\\Tools\\OrvxEdit.exe %1"),
                  QStringLiteral("application/x-orvx-doc"));
        logExport(*r, QStringLiteral(".pdf"), QStringLiteral("application/pdf"),
                  QStringLiteral("pdffile"));
        logExport(*r, QStringLiteral(".orvxdoc"), QStringLiteral("application/x-orvx-doc"),
                  QStringLiteral("orvxdoc.file"));
        logExport(*r, QStringLiteral(".gone"), QStringLiteral("application/x-wine-extension-gone"),
                  QStringLiteral("gonefile"));
    }
    // The gone prefix: a copy of the other, deleted before the entries are looked at.
    QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), prefix, w.gonePrefix});
    QDir(w.gonePrefix).removeRecursively();

    put(w.entry(QStringLiteral("pdf")),
        wineEntryText(prefix, QStringLiteral("pdffile"), QStringLiteral("application/pdf"),
                      QStringLiteral("winebrowser"), QStringLiteral("1A2B_winebrowser.0")));
    put(w.entry(QStringLiteral("rtf")),
        wineEntryText(prefix, QStringLiteral("rtffile"), QStringLiteral("application/rtf"),
                      QStringLiteral("wordpad"), QString()));
    put(w.entry(QStringLiteral("orvxdoc")), wineEntryText(prefix, QStringLiteral("orvxdoc.file"),
                                                          QStringLiteral("application/x-orvx-doc"),
                                                          QStringLiteral("OrvxEdit"), QString()));
    put(w.package(QStringLiteral("orvxdoc")),
        packageText(QStringLiteral("application/x-orvx-doc"), QStringLiteral(".orvxdoc")));
    put(w.entry(QStringLiteral("gone")),
        wineEntryText(prefix, QStringLiteral("gonefile"),
                      QStringLiteral("application/x-wine-extension-gone"), QStringLiteral("goner"),
                      QString()));
    put(w.package(QStringLiteral("gone")),
        packageText(QStringLiteral("application/x-wine-extension-gone"), QStringLiteral(".gone")));
    put(w.entry(QStringLiteral("old")),
        wineEntryText(w.gonePrefix, QStringLiteral("oldfile"),
                      QStringLiteral("application/x-wine-extension-old"), QStringLiteral("olden"),
                      QStringLiteral("9F9F_olden.0")));
    put(w.package(QStringLiteral("old")),
        packageText(QStringLiteral("application/x-wine-extension-old"), QStringLiteral(".old")));
    for (const char* size : {"16x16", "48x48"}) {
        const QString icons = w.dataHome + QStringLiteral("/icons/hicolor/") + QLatin1String(size);
        put(icons + QStringLiteral("/apps/1A2B_winebrowser.0.png"), kPng);
        put(icons + QStringLiteral("/apps/9F9F_olden.0.png"), kPng);
        put(icons + QStringLiteral("/mimetypes/application-x-wine-extension-old.png"), kPng);
    }
    // Not Wine's: stays whatever is removed.
    put(w.dataHome + QStringLiteral("/icons/hicolor/16x16/apps/gedit.png"), kPng);
    put(w.dataHome + QStringLiteral("/applications/gedit.desktop"), "[Desktop Entry]\n");
    put(w.mimeapps(), "[Default Applications]\r\n"
                      "application/pdf=wine-extension-pdf.desktop;\r\n"
                      "text/plain=gedit.desktop;\r\n"
                      "application/x-wine-extension-old=wine-extension-old.desktop\r\n"
                      "\r\n"
                      "[Added Associations]\r\n"
                      "application/pdf=evince.desktop;wine-extension-pdf.desktop;\r\n"
                      "application/rtf=wine-extension-rtf.desktop;\r\n");
    QProcess::execute(QStringLiteral("update-mime-database"),
                      {w.dataHome + QStringLiteral("/mime")});
    return w;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeText(const QString& path, const QByteArray& bytes) {
    put(path, bytes);
}

QByteArray treeBytes(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(folder).relativeFilePath(path);
        // The caches the desktop's tools rebuild are theirs, not the user's files.
        if (name.endsWith(QLatin1String("mimeinfo.cache")) ||
            (name.startsWith(QLatin1String("mime/")) &&
             !name.startsWith(QLatin1String("mime/packages/"))))
            continue;
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        files.insert(name, f.readAll());
    }
    QByteArray out;
    for (auto i = files.cbegin(); i != files.cend(); ++i)
        out += i.key().toUtf8() + '\n' + i.value() + '\n';
    return out;
}

} // namespace orvanex::test
