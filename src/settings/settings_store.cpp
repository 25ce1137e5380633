#include "settings/settings_store.h"

#include "settings/settings_format.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QVector>

#include <cstdio>
#include <mutex>

namespace orvanex {
namespace {

using settings::Entry;
using settings::Section;

struct AppSettings {
    QVector<Section> sections;
    QDateTime loadedMtime;
    qint64 loadedSize = -1;
    bool loaded = false;
    bool corrupt = false;    // the file on disk could not be parsed
    bool unreadable = false; // the file exists but cannot be opened
    int batchDepth = 0;
    bool dirty = false;
};

std::mutex g_mutex;
QHash<QString, AppSettings>& cache() {
    static QHash<QString, AppSettings> c;
    return c;
}

void warn(const QString& text) {
    std::fprintf(stderr, "settings: %s\n", text.toLocal8Bit().constData());
}

// Brings the cached copy up to date with the file on disk.
AppSettings& load(const QString& appName) {
    const QString path = settingsFilePath(appName);
    AppSettings& app = cache()[path];
    const QFileInfo info(path);
    if (!info.exists()) {
        if (!app.dirty) {
            app.sections.clear();
            app.corrupt = app.unreadable = false;
            app.loadedSize = -1;
        }
        app.loaded = true;
        return app;
    }
    if (app.loaded && app.loadedMtime == info.lastModified() && app.loadedSize == info.size())
        return app;
    if (app.dirty) // our own unsaved batch wins until it is written
        return app;
    QFile file(path);
    app.sections.clear();
    app.corrupt = app.unreadable = false;
    if (!file.open(QIODevice::ReadOnly)) {
        warn(QStringLiteral("cannot read %1 (%2); using defaults").arg(path, file.errorString()));
        app.unreadable = true;
    } else {
        int badLine = 0;
        if (!settings::parse(file.readAll(), &app.sections, &badLine)) {
            warn(QStringLiteral("%1 is damaged (line %2); using defaults").arg(path).arg(badLine));
            app.sections.clear();
            app.corrupt = true;
        }
    }
    app.loaded = true;
    app.loadedMtime = info.lastModified();
    app.loadedSize = info.size();
    return app;
}

bool write(const QString& appName, AppSettings& app) {
    const QString path = settingsFilePath(appName);
    if (app.unreadable) {
        warn(QStringLiteral("not saving to %1: the file exists but cannot be read").arg(path));
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (app.corrupt) {
        // Keep the damaged file for the user rather than overwrite it.
        const QString aside =
            path + QStringLiteral(".damaged-") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
        if (!QFile::rename(path, aside)) {
            warn(QStringLiteral("not saving: cannot move the damaged %1 aside").arg(path));
            return false;
        }
        warn(QStringLiteral("the damaged %1 was kept as %2").arg(path, aside));
        app.corrupt = false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        warn(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(settings::serialise(app.sections));
    if (!file.commit()) {
        warn(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    const QFileInfo info(path);
    app.loadedMtime = info.lastModified();
    app.loadedSize = info.size();
    app.dirty = false;
    return true;
}

Section* findSection(AppSettings& app, const QString& section) {
    for (Section& s : app.sections)
        if (s.name == section)
            return &s;
    return nullptr;
}

bool commit(const QString& appName, AppSettings& app) {
    app.dirty = true;
    if (app.batchDepth > 0)
        return true;
    return write(appName, app);
}

} // namespace

QString settingsFilePath(const QString& appName) {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/orvanex/") + appName + QStringLiteral(".ini");
}

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue) {
    std::lock_guard lock(g_mutex);
    AppSettings& app = load(appName);
    if (const Section* s = findSection(app, section))
        for (const Entry& e : s->entries)
            if (e.key == key)
                return e.value;
    return defaultValue;
}

bool SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value) {
    std::lock_guard lock(g_mutex);
    AppSettings& app = load(appName);
    Section* s = findSection(app, section);
    if (!s) {
        app.sections.append(Section{section, {}});
        s = &app.sections.last();
    }
    bool found = false;
    for (Entry& e : s->entries)
        if (e.key == key) {
            e.value = value;
            found = true;
            break;
        }
    if (!found)
        s->entries.append(Entry{key, value});
    return commit(appName, app);
}

bool DeleteSetting(const QString& appName, const QString& section) {
    std::lock_guard lock(g_mutex);
    AppSettings& app = load(appName);
    const auto before = app.sections.size();
    app.sections.removeIf([&](const Section& s) { return s.name == section; });
    if (app.sections.size() == before)
        return true;
    return commit(appName, app);
}

SettingsBatch::SettingsBatch(QString appName) : m_appName(std::move(appName)) {
    std::lock_guard lock(g_mutex);
    load(m_appName).batchDepth++;
}

SettingsBatch::~SettingsBatch() {
    std::lock_guard lock(g_mutex);
    AppSettings& app = cache()[settingsFilePath(m_appName)];
    if (--app.batchDepth == 0 && app.dirty)
        write(m_appName, app);
}

} // namespace orvanex
