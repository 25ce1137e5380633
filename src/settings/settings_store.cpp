#include "settings/settings_store.h"

#include "settings/settings_format.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>
#include <QVector>

#include <mutex>

#include <sys/stat.h>

namespace orvanex {
namespace {

using settings::Entry;
using settings::Section;

// A change not yet written: replayed onto the file's current contents when writing, so that
// keys saved meanwhile by another process are kept.
struct Change {
    QString section;
    QString key; // empty with deleteSection
    QString value;
    bool deleteSection = false;
};

// What identifies one version of the file: every save renames a new file into place.
struct FileStamp {
    bool exists = false;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 mtimeNs = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return FileStamp{true, quint64(st.st_ino), qint64(st.st_size),
                     qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

struct AppSettings {
    QVector<Section> sections; // the file's contents with the pending changes applied
    QVector<Change> pending;
    FileStamp loadedStamp;
    bool loaded = false;
    int batchDepth = 0;
};

std::mutex g_mutex;
QHash<QString, AppSettings>& cache() {
    static QHash<QString, AppSettings> c;
    return c;
}

Q_LOGGING_CATEGORY(lcSettings, "orvanex.settings")

void warn(const QString& text) {
    qCWarning(lcSettings).noquote() << text;
}

Section* findSection(QVector<Section>& sections, const QString& section) {
    for (Section& s : sections)
        if (s.name == section)
            return &s;
    return nullptr;
}

void apply(QVector<Section>& sections, const Change& change) {
    if (change.deleteSection) {
        sections.removeIf([&](const Section& s) { return s.name == change.section; });
        return;
    }
    Section* s = findSection(sections, change.section);
    if (!s) {
        sections.append(Section{change.section, {}});
        s = &sections.last();
    }
    for (Entry& e : s->entries)
        if (e.key == change.key) {
            e.value = change.value;
            return;
        }
    s->entries.append(Entry{change.key, change.value});
}

struct FileState {
    QVector<Section> sections;
    bool damaged = false;
    bool unreadable = false;
    FileStamp stamp;
};

FileState readFile(const QString& path) {
    FileState state;
    state.stamp = stampOf(path);
    if (!state.stamp.exists)
        return state;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        warn(QStringLiteral("cannot read %1 (%2); using defaults").arg(path, file.errorString()));
        state.unreadable = true;
        return state;
    }
    int skipped = 0;
    if (!settings::parse(file.readAll(), &state.sections, &skipped)) {
        warn(QStringLiteral("%1 is not a settings file; using defaults").arg(path));
        state.damaged = true;
    } else if (skipped > 0) {
        warn(QStringLiteral("%1: %2 line(s) without a key or section were skipped")
                 .arg(path)
                 .arg(skipped));
    }
    return state;
}

void adopt(AppSettings& app, FileState state) {
    app.sections = std::move(state.sections);
    for (const Change& change : std::as_const(app.pending))
        apply(app.sections, change);
    app.loadedStamp = state.stamp;
    app.loaded = true;
}

// Brings the cached copy up to date with the file on disk.
AppSettings& load(const QString& path) {
    AppSettings& app = cache()[path];
    if (app.loaded && app.loadedStamp == stampOf(path))
        return app;
    adopt(app, readFile(path));
    return app;
}

// Writes the pending changes onto the file as it is now, under the file's lock.
bool write(const QString& path, AppSettings& app) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(10000)) {
        warn(lock.error() == QLockFile::LockFailedError
                 ? QStringLiteral("not saving to %1: another program keeps it locked").arg(path)
                 : QStringLiteral("not saving to %1: its lock file cannot be made").arg(path));
        return false;
    }
    FileState state = readFile(path);
    if (state.unreadable) {
        adopt(app, std::move(state));
        warn(QStringLiteral("not saving to %1: the file exists but cannot be read").arg(path));
        return false;
    }
    if (state.damaged) {
        // Keep the file for the user rather than overwrite it.
        const QString aside =
            path + QStringLiteral(".damaged-") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
        if (!QFile::rename(path, aside)) {
            adopt(app, std::move(state));
            warn(QStringLiteral("not saving: cannot move the damaged %1 aside").arg(path));
            return false;
        }
        warn(QStringLiteral("the damaged %1 was kept as %2").arg(path, aside));
        state = FileState();
    }
    adopt(app, std::move(state));
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
    app.pending.clear();
    app.loadedStamp = stampOf(path);
    return true;
}

bool change(const QString& appName, Change c) {
    const QString path = settingsFilePath(appName);
    AppSettings& app = load(path);
    if (c.deleteSection && !findSection(app.sections, c.section))
        return true;
    apply(app.sections, c);
    app.pending.append(std::move(c));
    if (app.batchDepth > 0)
        return true;
    return write(path, app);
}

} // namespace

QString settingsFilePath(const QString& appName) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/orvanex/") + appName + QStringLiteral(".ini");
}

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue) {
    std::lock_guard lock(g_mutex);
    AppSettings& app = load(settingsFilePath(appName));
    if (const Section* s = findSection(app.sections, section))
        for (const Entry& e : s->entries)
            if (e.key == key)
                return e.value;
    return defaultValue;
}

bool SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value) {
    std::lock_guard lock(g_mutex);
    return change(appName, Change{section, key, value, false});
}

bool DeleteSetting(const QString& appName, const QString& section) {
    std::lock_guard lock(g_mutex);
    return change(appName, Change{section, QString(), QString(), true});
}

SettingsBatch::SettingsBatch(QString appName) : m_appName(std::move(appName)) {
    std::lock_guard lock(g_mutex);
    load(settingsFilePath(m_appName)).batchDepth++;
}

SettingsBatch::~SettingsBatch() {
    std::lock_guard lock(g_mutex);
    const QString path = settingsFilePath(m_appName);
    AppSettings& app = cache()[path];
    if (--app.batchDepth == 0 && !app.pending.isEmpty())
        write(path, app);
}

} // namespace orvanex
