#include "model_hive_generator.h"

#include "model/default_registry.h"
#include "registry/reg_state.h"

namespace orvanex::bench {

namespace {

const char* const kVerbs[] = {"open", "print", "edit", "play", "printto", "explore", "preview"};

} // namespace

QString generatedTypeName(int t) {
    return QStringLiteral("gentype%1.Document").arg(t, 5, 10, QLatin1Char('0'));
}

reg::Status generateClasses(reg::Registry& registry, const HiveSize& size,
                            const QString& driveCFolder) {
    if (!driveCFolder.isEmpty()) {
        const QString error = model::writeDefaultIconFiles(driveCFolder);
        if (!error.isEmpty())
            return reg::status::CantWrite;
    }
    reg::WriteBatch batch(registry);
    reg::RegState state;
    state.registry = &registry;
    auto check = [&](reg::Status s) { return s == reg::status::Success; };
    const QStringList icons{QStringLiteral("C:\\WINDOWS\\SYSTEM\\shell32.dll,%1"),
                            QStringLiteral("shell32.dll,%1"),
                            QStringLiteral("c:\\windows\\moricons.dll,%1"),
                            QStringLiteral("C:\\WINDOWS\\MPLAYER.EXE,%1"),
                            QStringLiteral("%1"),
                            QStringLiteral("C:\\WINDOWS\\gone%1.dll,0")};
    int actionsLeft = size.actions;
    for (int t = 0; t < size.fileTypes; ++t) {
        const QString type = generatedTypeName(t);
        // Spread of real registries: a few types without description, most with one.
        const QString description =
            t % 50 == 7 ? QString() : QStringLiteral("Generated Document %1").arg(t % 997);
        if (!check(description.isEmpty() ? reg::CreateKeyChain(state, {type})
                                         : reg::WriteText(state, type, QString(), description)))
            return state.LastStatus;
        const QString icon = icons[t % icons.size()].arg(t % 3);
        if (!check(reg::WriteText(state, type + QStringLiteral("\\DefaultIcon"), QString(), icon)))
            return state.LastStatus;
        const int typesLeft = size.fileTypes - t;
        const int count = (actionsLeft + typesLeft - 1) / typesLeft;
        for (int a = 0; a < count; ++a, --actionsLeft) {
            const QString verb =
                a < 7 ? QString::fromLatin1(kVerbs[a]) : QStringLiteral("verb%1").arg(a);
            const QString command =
                QStringLiteral("C:\\PROGRAMS\\APP%1\\APP.EXE /%2 \"%1\"").arg(t % 400).arg(verb);
            if (!check(reg::WriteText(
                    state, type + QStringLiteral("\\Shell\\") + verb + QStringLiteral("\\command"),
                    QString(), command)))
                return state.LastStatus;
        }
        if (t % 3 == 0 && !check(reg::WriteText(state, type + QStringLiteral("\\Shell"), QString(),
                                                QStringLiteral("open"))))
            return state.LastStatus;
    }
    for (int e = 0; e < size.extensions; ++e) {
        const QString key = QStringLiteral(".x%1").arg(e, 6, 36, QLatin1Char('0'));
        // Every type gets one; the rest cluster on a few types, and some name no type at all.
        QString type;
        if (e % 97 == 5)
            type = QString();
        else if (e % 101 == 3)
            type = QStringLiteral("CLSID\\{%1}").arg(e);
        else
            type = generatedTypeName(e < size.fileTypes ? e : e % 40);
        if (!check(type.isEmpty() ? reg::CreateKeyChain(state, {key})
                                  : reg::WriteText(state, key, QString(), type)))
            return state.LastStatus;
        if (e % 4 == 0 && !check(reg::WriteText(state, key, QStringLiteral("Content Type"),
                                                QStringLiteral("application/x-gen%1").arg(e))))
            return state.LastStatus;
    }
    if (!check(reg::CreateKeyChain(state, {QStringLiteral("*"), QStringLiteral("Unknown")})))
        return state.LastStatus;
    return batch.finish();
}

} // namespace orvanex::bench
