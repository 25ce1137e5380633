#include "desktop/wine_association.h"

#include "registry/reg_file.h"

namespace orvanex::desktop {

namespace {

using namespace orvanex::reg;

class Key {
public:
    Key(Registry& r, HKey root, const QString& path) : m_r(r) {
        if (r.openKeyEx(root, path, 0, KEY_ALL_USED, &m_key) != status::Success)
            m_key = 0;
    }
    ~Key() {
        if (m_key)
            m_r.closeKey(m_key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKey handle() const { return m_key; }

private:
    Registry& m_r;
    HKey m_key = 0;
};

bool readRaw(Registry& r, HKey root, const QString& key, const QString& name, std::uint32_t* type,
             QByteArray* data) {
    const Key k(r, root, key);
    if (!k.handle())
        return false;
    std::uint32_t size = 0;
    if (r.queryValueEx(k.handle(), name, type, nullptr, &size) != status::Success)
        return false;
    data->resize(qsizetype(size));
    if (size > 0 && r.queryValueEx(k.handle(), name, type, data->data(), &size) != status::Success)
        return false;
    data->resize(qsizetype(size));
    return true;
}

QByteArray multiStringBytes(const QStringList& strings) {
    QByteArray bytes;
    for (const QString& s : strings)
        bytes += s.toUtf8() + '\0';
    return bytes + '\0';
}

// A value line of a REGEDIT4 file as hex(N) bytes: exact whatever the data hold.
QByteArray hexLine(const QString& name, std::uint32_t type, const QByteArray& data) {
    QByteArray line = '"' + name.toUtf8() + "\"=hex(" + QByteArray::number(type, 16) + "):";
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i > 0)
            line += ',';
        line += QByteArray::number(quint8(data[i]), 16).rightJustified(2, '0');
    }
    return line;
}

} // namespace

QStringList wineDefaultExcludes() {
    return {QStringLiteral("ieframe.dll"), QStringLiteral("iexplore.exe"),
            QStringLiteral("notepad.exe"), QStringLiteral("winebrowser.exe"),
            QStringLiteral("wordpad.exe")};
}

bool readText(Registry& registry, HKey root, const QString& key, const QString& name,
              QString* text) {
    std::uint32_t type = 0;
    QByteArray data;
    if (!readRaw(registry, root, key, name, &type, &data) ||
        (type != type::Sz && type != type::ExpandSz))
        return false;
    const qsizetype nul = data.indexOf('\0');
    *text = QString::fromUtf8(nul >= 0 ? data.left(nul) : data);
    return true;
}

bool readMultiString(Registry& registry, HKey root, const QString& key, const QString& name,
                     QStringList* strings) {
    std::uint32_t type = 0;
    QByteArray data;
    if (!readRaw(registry, root, key, name, &type, &data) || type != type::MultiSz)
        return false;
    strings->clear();
    for (const QByteArray& s : data.split('\0'))
        if (!s.isEmpty())
            strings->append(QString::fromUtf8(s));
    return true;
}

bool keyExists(Registry& registry, HKey root, const QString& key) {
    const Key k(registry, root, key);
    return k.handle() != 0;
}

QString programOfCommand(const QString& command) {
    const QString c = command.trimmed();
    QString file;
    if (c.startsWith(u'"')) {
        const qsizetype end = c.indexOf(u'"', 1);
        file = end < 0 ? c.mid(1) : c.mid(1, end - 1);
    } else {
        const qsizetype blank = c.indexOf(u' ');
        file = blank < 0 ? c : c.left(blank);
    }
    const qsizetype slash = std::max(file.lastIndexOf(u'\\'), file.lastIndexOf(u'/'));
    return file.mid(slash + 1).toLower();
}

Association findAssociation(Registry& registry, const QString& ext) {
    Association a;
    readText(registry, HKEY_CLASSES_ROOT, ext, QString(), &a.progId);
    a.progId = a.progId.trimmed();
    readText(registry, HKEY_CLASSES_ROOT, ext, QStringLiteral("Content Type"), &a.contentType);
    if (a.progId.isEmpty())
        return a;
    // Wine opens with the "open" verb, else the verb the shell key names as its default.
    const QString shell = a.progId + QStringLiteral("\\shell");
    QString verb = QStringLiteral("open");
    if (!keyExists(registry, HKEY_CLASSES_ROOT, shell + u'\\' + verb))
        readText(registry, HKEY_CLASSES_ROOT, shell, QString(), &verb);
    if (!verb.isEmpty())
        readText(registry, HKEY_CLASSES_ROOT, shell + u'\\' + verb + QStringLiteral("\\command"),
                 QString(), &a.command);
    a.program = programOfCommand(a.command);
    if (!readText(registry, HKEY_CLASSES_ROOT, shell + u'\\' + verb,
                  QStringLiteral("FriendlyAppName"), &a.appName) ||
        a.appName.trimmed().isEmpty())
        a.appName = a.program;
    return a;
}

QByteArray associationsBackup(Registry& registry, const QStringList& exts, QString* error) {
    QByteArray text = "REGEDIT4\r\n";
    QStringList lines;
    for (const QString& ext : exts) {
        const QString key = kAssociationsKey + u'\\' + ext;
        if (!keyExists(registry, HKEY_CURRENT_USER, key))
            continue;
        if (exportRegLines(registry, QStringLiteral("HKEY_CURRENT_USER\\") + key,
                           RegFormat::Regedit4, &lines, error) != status::Success)
            return QByteArray();
    }
    for (const QString& line : lines)
        text += line.toUtf8() + "\r\n";
    text += "\r\n[" + kAssociationsKeyName.toUtf8() + "]\r\n";
    for (const QString& name : {QStringLiteral("Exclude"), QStringLiteral("Enable")}) {
        std::uint32_t type = 0;
        QByteArray data;
        if (readRaw(registry, HKEY_CURRENT_USER, kAssociationsKey, name, &type, &data))
            text += hexLine(name, type, data) + "\r\n";
        else
            text += '"' + name.toUtf8() + "\"=-\r\n";
    }
    return text + "\r\n";
}

Status excludeProgram(Registry& registry, const QString& program, bool* wroteDefaults) {
    QStringList list;
    *wroteDefaults = !readMultiString(registry, HKEY_CURRENT_USER, kAssociationsKey,
                                      QStringLiteral("Exclude"), &list);
    if (*wroteDefaults)
        list = wineDefaultExcludes();
    else if (list.contains(program, Qt::CaseInsensitive))
        return status::Success;
    if (!list.contains(program, Qt::CaseInsensitive))
        list.append(program);
    HKey key = 0;
    Status s = registry.createKey(HKEY_CURRENT_USER, kAssociationsKey, &key);
    if (s != status::Success)
        return s;
    const QByteArray bytes = multiStringBytes(list);
    s = registry.setValueEx(key, QStringLiteral("Exclude"), type::MultiSz, bytes.constData(),
                            std::uint32_t(bytes.size()));
    registry.closeKey(key);
    return s;
}

Status disableExport(Registry& registry) {
    HKey key = 0;
    Status s = registry.createKey(HKEY_CURRENT_USER, kAssociationsKey, &key);
    if (s != status::Success)
        return s;
    s = registry.setValueEx(key, QStringLiteral("Enable"), type::Sz, "N", 2);
    registry.closeKey(key);
    return s;
}

Status deleteExportRecord(Registry& registry, const QString& ext) {
    const QString key = kAssociationsKey + u'\\' + ext;
    if (!keyExists(registry, HKEY_CURRENT_USER, key))
        return status::Success;
    return registry.deleteKey(HKEY_CURRENT_USER, key);
}

} // namespace orvanex::desktop
