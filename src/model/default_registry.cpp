#include "model/default_registry.h"

#include "model/default_icons.h"
#include "model/default_registry_data.h"
#include "model/icon_file_writer.h"
#include "model/writers.h"
#include "platform/drive_map.h"
#include "registry/reg_state.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace orvanex::model {

namespace {

// Writes one line of the table; the current type is the last "T" line's name.
class ClassesWriter {
public:
    explicit ClassesWriter(reg::Registry& registry) { m_state.registry = &registry; }

    reg::Status line(const QString& text) {
        if (text.size() < 2 || text[1] != u' ')
            return reg::status::Success;
        const QString body = text.mid(2);
        switch (text[0].unicode()) {
        case u'T':
            return typeLine(body.split(u'|'));
        case u'E':
            return extensionLine(body);
        case u'A':
            return actionLine(body.split(u'|'));
        case u'K':
            return keyLine(body);
        default:
            return reg::status::Success;
        }
    }

private:
    reg::Status typeLine(const QStringList& f) {
        if (f.size() < 5)
            return reg::status::InvalidParameter;
        m_type = f[0];
        reg::Status s = f[1].isEmpty() ? reg::CreateKeyChain(m_state, {m_type})
                                       : reg::WriteText(m_state, m_type, QString(), f[1]);
        if (s == reg::status::Success && !f[2].isEmpty())
            s = reg::WriteText(m_state, m_type + QStringLiteral("\\DefaultIcon"), QString(), f[2]);
        if (s == reg::status::Success && f[3].contains(u'Q'))
            s = setQuickView(m_state, m_type);
        if (s == reg::status::Success && f[3].contains(u'A'))
            s = setAlwaysShowExt(m_state, m_type);
        if (s == reg::status::Success && !f[4].isEmpty())
            s = setDefaultAction(m_state, m_type, f[4]);
        return s;
    }

    reg::Status extensionLine(const QString& body) {
        for (const QString& item : body.split(u' ', Qt::SkipEmptyParts)) {
            const qsizetype eq = item.indexOf(u'=');
            const QString key = eq < 0 ? item : item.left(eq);
            reg::Status s = setExtension(m_state, key, m_type);
            if (s == reg::status::Success && eq >= 0)
                s = reg::WriteText(m_state, key, QStringLiteral("Content Type"), item.mid(eq + 1));
            if (s != reg::status::Success)
                return s;
        }
        return reg::status::Success;
    }

    reg::Status actionLine(const QStringList& f) {
        if (f.size() < 3)
            return reg::status::InvalidParameter;
        const QString& verb = f[0];
        reg::Status s =
            f[1].isEmpty() ? reg::status::Success : setActionName(m_state, m_type, verb, f[1]);
        if (s == reg::status::Success)
            s = setCommand(m_state, m_type, verb, f[2]);
        if (s == reg::status::Success && f.size() >= 7 && !f[3].isEmpty())
            s = setDde(m_state, m_type, verb, DdeFields{f[3], f[4], f[5], f[6]});
        return s;
    }

    reg::Status keyLine(const QString& body) {
        const qsizetype bar = body.indexOf(u'|');
        const QString key = body.left(bar);
        const QString value = bar < 0 ? QString() : body.mid(bar + 1);
        if (value.isEmpty())
            return reg::CreateKeyChain(m_state, {key});
        return reg::WriteText(m_state, key, QString(), value);
    }

    reg::RegState m_state;
    QString m_type;
};

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

reg::Status writeDefaultClasses(reg::Registry& registry) {
    reg::WriteBatch batch(registry);
    if (!batch.isOpen())
        return batch.finish();
    ClassesWriter writer(registry);
    const QStringList lines = QString::fromUtf8(defaultClassesText()).split(u'\n');
    for (const QString& text : lines) {
        const reg::Status s = writer.line(text);
        if (s != reg::status::Success)
            return s; // the batch ends unfinished work on the way out
    }
    return batch.finish();
}

QString writeDefaultIconFiles(const QString& driveCFolder) {
    platform::DriveMap drives;
    drives.setDrive(u'C', driveCFolder);
    QString error;
    for (const DefaultIconFile& file : defaultIconFiles()) {
        QList<QImage> images;
        for (const IconDesign& design : file.icons)
            images.append(drawIconImage(design));
        const QString native = drives.toNative(file.windowsPath);
        const QString kind = file.windowsPath.section(u'.', -1).toUpper();
        const QByteArray bytes = kind == QLatin1String("ICO")
                                     ? icoFileBytes(images)
                                     : peIconLibraryBytes(images, kind != QLatin1String("EXE"));
        if (!writeFileAtomically(native, bytes, &error))
            return error;
    }
    return QString();
}

DefaultRegistryResult ensureDefaultRegistry(const reg::HiveChoice& choice) {
    DefaultRegistryResult result;
    if (!choice.isDefault || QFileInfo::exists(choice.path))
        return result;
    // The icon files first: a hive that exists always has its drive beside it.
    result.error = writeDefaultIconFiles(platform::DriveMap::driveCFolderForHive(choice.path));
    if (!result.error.isEmpty())
        return result;
    std::unique_ptr<reg::Registry> registry = reg::Registry::openHive(choice.path);
    if (!registry || !registry->problem().isEmpty()) {
        result.error = registry ? registry->problem() : QStringLiteral("cannot open the hive");
        return result;
    }
    const reg::Status s = writeDefaultClasses(*registry);
    if (s != reg::status::Success) {
        reg::RegState state;
        reg::RegErrorText(state, s);
        result.error = QStringLiteral("cannot write the default registry: ") + state.ErrorText;
        return result;
    }
    result.created = true;
    return result;
}

} // namespace orvanex::model
