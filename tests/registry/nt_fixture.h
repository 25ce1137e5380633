#pragma once
// Windows hive files made by the tests: an empty hive (one root key and its security record),
// filled through hivex's own hivexregedit, and read back with its export.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QtEndian>

#include <cstdint>

namespace orvanex::test {

// The machine's Classes key with .txt naming txtfile, as Windows stores it: where the tests'
// SOFTWARE hives start.
inline const QString TxtClassesReg = QStringLiteral(R"([\Classes]

[\Classes\.txt]
@=hex(1):74,00,78,00,74,00,66,00,69,00,6c,00,65,00,00,00
)");

// A hive with nothing but its root key, as hivex opens and writes it.
inline QByteArray blankHive() {
    QByteArray bin(4096, '\0');
    auto put32 = [](QByteArray& b, int at, std::uint32_t v) {
        qToLittleEndian<std::uint32_t>(v, b.data() + at);
    };
    auto put16 = [](QByteArray& b, int at, std::uint16_t v) {
        qToLittleEndian<std::uint16_t>(v, b.data() + at);
    };
    bin.replace(0, 4, "hbin");
    put32(bin, 8, 4096);
    // The root key's cell at 0x20: "nk", flags root|no delete|ASCII name.
    const QByteArray name = "ROOT";
    const int nkCell = (0x4C + int(name.size()) + 4 + 7) / 8 * 8;
    const int sk = 0x20 + nkCell;
    const int nk = 0x24;
    put32(bin, 0x20, std::uint32_t(-nkCell));
    bin.replace(nk, 2, "nk");
    put16(bin, nk + 2, 0x2C);
    put32(bin, nk + 0x10, 0xFFFFFFFF);
    put32(bin, nk + 0x1C, 0xFFFFFFFF);
    put32(bin, nk + 0x20, 0xFFFFFFFF);
    put32(bin, nk + 0x28, 0xFFFFFFFF);
    put32(bin, nk + 0x2C, std::uint32_t(sk));
    put32(bin, nk + 0x30, 0xFFFFFFFF);
    put16(bin, nk + 0x48, std::uint16_t(name.size()));
    bin.replace(nk + 0x4C, int(name.size()), name);
    // Its security record, pointing at itself, with an empty self-relative descriptor.
    const int skCell = (0x14 + 20 + 4 + 7) / 8 * 8;
    put32(bin, sk, std::uint32_t(-skCell));
    bin.replace(sk + 4, 2, "sk");
    put32(bin, sk + 8, std::uint32_t(sk));
    put32(bin, sk + 12, std::uint32_t(sk));
    put32(bin, sk + 16, 1);
    put32(bin, sk + 20, 20);
    bin[sk + 24] = 1;
    put16(bin, sk + 26, 0x8000);
    put32(bin, sk + skCell, std::uint32_t(4096 - sk - skCell));

    QByteArray base(4096, '\0');
    base.replace(0, 4, "regf");
    put32(base, 4, 1);
    put32(base, 8, 1);
    put32(base, 0x14, 1);
    put32(base, 0x18, 5);
    put32(base, 0x20, 1);
    put32(base, 0x24, 0x20);
    put32(base, 0x28, 4096);
    put32(base, 0x2C, 1);
    std::uint32_t sum = 0;
    for (int i = 0; i < 0x1FC; i += 4)
        sum ^= qFromLittleEndian<std::uint32_t>(base.constData() + i);
    put32(base, 0x1FC, sum);
    return base + bin;
}

// Sets the header's second sequence number (as a hive with unapplied logs has it) and its sum.
inline void setSequence2(QByteArray& hive, std::uint32_t value) {
    qToLittleEndian<std::uint32_t>(value, hive.data() + 8);
    std::uint32_t sum = 0;
    for (int i = 0; i < 0x1FC; i += 4)
        sum ^= qFromLittleEndian<std::uint32_t>(hive.constData() + i);
    qToLittleEndian<std::uint32_t>(sum, hive.data() + 0x1FC);
}

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Runs one of hivex's tools; its standard output, or "<failed: ...>".
inline QByteArray runHivexTool(const QString& program, const QStringList& args,
                               const QByteArray& input = QByteArray()) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted())
        return "<failed: cannot start " + program.toUtf8() + '>';
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return "<failed: " + p.readAllStandardError() + '>';
    return p.readAllStandardOutput();
}

// A hive at path made from the blank one and merged with a REGEDIT5 text (keys relative to
// the hive's root, parents listed before their children).
inline bool makeHive(const QString& path, const QString& reg) {
    if (!writeBytes(path, blankHive()))
        return false;
    const QString regPath = path + QStringLiteral(".in.reg");
    QByteArray text = "Windows Registry Editor Version 5.00\n\n" + reg.toUtf8();
    if (!writeBytes(regPath, text))
        return false;
    const QByteArray out = runHivexTool(
        QStringLiteral("hivexregedit"),
        {QStringLiteral("--merge"), path, QStringLiteral("--prefix"), QString(), regPath});
    QFile::remove(regPath);
    return !out.startsWith("<failed");
}

// hivexregedit's export of key (below the root, "\" for all of it).
inline QByteArray exportHive(const QString& path, const QString& key) {
    return runHivexTool(QStringLiteral("hivexregedit"), {QStringLiteral("--export"), path, key});
}

} // namespace orvanex::test
