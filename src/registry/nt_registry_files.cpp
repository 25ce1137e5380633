// NtRegistry's disk side: opening each hive with the checks that keep it read-only, reading
// everything again after a failed commit, and committing the hives a batch changed.

#include "registry/nt_registry.h"
#include "registry/registry_log.h"

#include <QFile>
#include <QFileInfo>

#include <sys/statvfs.h>
#include <unistd.h>

namespace orvanex::reg {

namespace {

const QString OpenedReadOnly = QStringLiteral("; it is opened read-only");

// A hibernated (or fast-started) Windows keeps "hibr" or "wake" at the start of hiberfil.sys
// until it resumes; a zeroed one is spent.
bool hibernated(const QString& hiberfil) {
    QFile file(hiberfil);
    if (hiberfil.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(4).toLower();
    return head == "hibr" || head == "wake";
}

} // namespace

std::unique_ptr<Registry> openNtRegistry(const NtLocation& where) {
    return std::make_unique<NtRegistry>(where);
}

void NtRegistry::buildTop(KeyNode& top, std::array<KeyNode*, 2>* roots) const {
    (*roots)[0] = top.ensureChild(QStringLiteral("HKEY_LOCAL_MACHINE"))
                      ->ensureChild(QStringLiteral("SOFTWARE"));
    (*roots)[1] = top.ensureChild(QStringLiteral("HKEY_CURRENT_USER"))
                      ->ensureChild(QStringLiteral("Software"))
                      ->ensureChild(QStringLiteral("Classes"));
    top.ensureChild(QStringLiteral("HKEY_USERS"));
    top.ensureChild(QStringLiteral("HKEY_CURRENT_CONFIG"));
}

// Each reason a hive must not be written, in the words the user needs to act on it.
void NtRegistry::checkWritable(const Hive& hive) {
    const nt::HeaderState& header = hive.file->header();
    if (header.dirty) {
        m_readOnly = true;
        if (!m_where.hiberfil.isEmpty())
            setProblem(QStringLiteral("%1 has changes Windows has not written yet and %2 is "
                                      "there: Windows was hibernated or fast-started; start "
                                      "Windows and shut it down fully (not hibernate, no fast "
                                      "startup)")
                           .arg(hive.path, m_where.hiberfil) +
                       OpenedReadOnly);
        else
            setProblem(QStringLiteral("%1: its transaction logs (%2.LOG1, %2.LOG2) hold changes "
                                      "not yet applied (the header's sequence numbers %3 and %4 "
                                      "differ); start Windows once, or shut it down fully, to "
                                      "apply them")
                           .arg(hive.path, QFileInfo(hive.path).fileName())
                           .arg(header.sequence1)
                           .arg(header.sequence2) +
                       OpenedReadOnly);
    }
    if (hibernated(m_where.hiberfil)) {
        m_readOnly = true;
        setProblem(QStringLiteral("Windows was hibernated or fast-started (%1 holds its "
                                  "memory): start Windows and shut it down fully")
                       .arg(m_where.hiberfil) +
                   OpenedReadOnly);
    }
    const QByteArray folder = QFile::encodeName(QFileInfo(hive.path).absolutePath());
    struct statvfs volume {};
    if (::statvfs(folder.constData(), &volume) == 0 && (volume.f_flag & ST_RDONLY)) {
        m_readOnly = true;
        setProblem(QStringLiteral("the partition holding %1 is mounted read-only").arg(hive.path) +
                   OpenedReadOnly);
    } else if (::access(QFile::encodeName(hive.path).constData(), W_OK) != 0 ||
               ::access(folder.constData(), W_OK) != 0) {
        m_readOnly = true;
        setProblem(QStringLiteral("%1 or its folder is not writable").arg(hive.path) +
                   OpenedReadOnly);
    }
    if (hive.file->incomplete()) {
        m_readOnly = true;
        setProblem(QStringLiteral("parts of %1 cannot be read").arg(hive.path) + OpenedReadOnly);
    }
}

bool NtRegistry::openHive(Hive& hive) {
    QString why;
    if (hive.file->open(hive.path, true, &why))
        return true;
    m_readOnly = true;
    setProblem(hive.path + u' ' + why + QStringLiteral("; the registry is read-only"));
    hive.file.reset();
    return false;
}

void NtRegistry::openHives() {
    std::array<KeyNode*, 2> roots{};
    buildTop(m_top, &roots);
    m_hives[0].path = m_where.machineHive;
    m_hives[1].path = m_where.userHive;
    for (std::size_t i = 0; i < m_hives.size(); ++i) {
        Hive& hive = m_hives[i];
        hive.root = roots[i];
        if (hive.path.isEmpty())
            continue;
        hive.file = std::make_unique<nt::NtHive>();
        if (!openHive(hive))
            continue;
        hive.file->load(*hive.root);
        checkWritable(hive);
    }
    // Windows always has the machine's classes key.
    roots[0]->ensureChild(QStringLiteral("Classes"));
}

// Drops changes that did not reach the disk by reading every hive again. Handles stay valid
// where their keys still exist.
void NtRegistry::reloadAfterFailure() {
    KeyNode fresh;
    std::array<KeyNode*, 2> roots{};
    buildTop(fresh, &roots);
    for (std::size_t i = 0; i < m_hives.size(); ++i) {
        Hive& hive = m_hives[i];
        hive.dirty = false;
        if (!hive.file || !openHive(hive))
            continue;
        hive.file->load(*roots[i]);
    }
    roots[0]->ensureChild(QStringLiteral("Classes"));
    m_top.adopt(fresh);
    for (Hive& hive : m_hives)
        if (hive.file)
            hive.file->mapTree(*hive.root);
    ++m_shape;
}

Status NtRegistry::refresh() {
    if (inBatch())
        return status::Success;
    for (const Hive& hive : m_hives)
        if (hive.file && !hive.file->unchangedOnDisk()) {
            reloadAfterFailure();
            break;
        }
    return status::Success;
}

Status NtRegistry::commitBatch() {
    Status result = m_batchStatus;
    for (Hive& hive : m_hives) {
        if (!hive.dirty || result != status::Success)
            continue;
        QString why;
        if (!hive.file->unchangedOnDisk()) {
            setProblem(QStringLiteral("%1 was changed by another program; the change was not "
                                      "saved")
                           .arg(hive.path));
            result = status::CantWrite;
        } else if (!hive.file->commit(&why)) {
            setProblem(why);
            result = status::CantWrite;
        } else {
            hive.dirty = false;
        }
    }
    if (result != status::Success) {
        if (!m_problem.isEmpty())
            qCWarning(lcRegistry).noquote() << m_problem;
        reloadAfterFailure();
    }
    return result;
}

} // namespace orvanex::reg
