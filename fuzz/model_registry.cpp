// Loading and detail views over registry contents taken from the input: one "key|name|value" per
// line; a value starting with "#" is stored as a DWORD.

#include "model/detail_view.h"
#include "model/loading.h"
#include "registry/reg_state.h"

#include <QStringList>
#include <cstddef>
#include <cstdint>

using namespace orvanex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096)
        return 0;
    auto registry = reg::Registry::inMemory();
    reg::RegState state;
    state.registry = registry.get();
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QString& line : input.split(u'\n')) {
        const QStringList f = line.split(u'|');
        if (f.size() < 3 || f[0].isEmpty())
            continue;
        if (f[2].startsWith(u'#')) {
            reg::HKey key = 0;
            if (registry->createKey(reg::HKEY_CLASSES_ROOT, f[0], &key) == 0) {
                const std::uint32_t n = f[2].mid(1).toUInt();
                registry->setValueEx(key, f[1], reg::type::Dword, reinterpret_cast<const char*>(&n),
                                     4);
                registry->closeKey(key);
            }
        } else {
            reg::WriteText(state, f[0], f[1], f[2]);
        }
    }
    platform::DriveMap drives; // no drives: icon files are never found
    const model::StartupModel m = model::LoadStartupModel(state, drives, false);
    for (const model::IndexRow& row : m.extensions.rows)
        model::ShowExtension(state, drives, m.extensions.entries,
                             {row.name, row.related, row.name});
    for (const model::IndexRow& row : m.fileTypes.rows) {
        const model::DetailView v = model::ShowFileType(state, drives, m.fileTypes.types,
                                                        {row.name, row.related, row.related});
        if (!v.typeFound) // every listed row names a type of the table
            __builtin_trap();
        for (const model::ActionEntry& a : v.actions.actions)
            model::LoadActionDetail(state, v.CurrentTypeKey, v.actions, a.DisplayName);
    }
    return 0;
}
