#pragma once
// Small read helpers of the model that need to know whether a key opened at all, which the
// shared read shape does not tell.

#include "registry/reg_state.h"

#include <QStringList>

namespace orvanex::model::detail {

// True when keyPath (relative to HKEY_CLASSES_ROOT) opens; the key is closed again.
bool keyOpens(reg::RegState& state, const QString& keyPath);

// Reads a text value by the callers' convention (terminator cut off, length <= 1 is no value).
// *opened tells whether the key itself opened.
bool readText(reg::RegState& state, const QString& keyPath, const QString& valueName, QString* text,
              bool* opened);

// A key opened for a run of reads below it (hot loops at start-up read many values under one
// key; opening each from the root would walk the root's many children every time).
class OpenedKey {
public:
    OpenedKey(reg::RegState& state, const QString& keyPath);
    // A key below an opened one (nothing when the parent is not open).
    OpenedKey(OpenedKey& parent, const QString& subPath);
    ~OpenedKey();
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    bool isOpen() const { return m_key != 0; }
    // A text value of this key or of subPath below it ("" for the key itself), by the callers'
    // convention.
    bool readText(const QString& subPath, const QString& valueName, QString* text);
    // The subkey names (blanks trimmed) in enumeration order.
    QStringList subkeys();
    // visit(name) for each subkey, as subkeys() lists them, in one pass.
    template <typename Visit> void forEachSubkey(Visit&& visit) {
        if (m_key)
            reg::ForEachSubkey(m_state, m_key, visit);
    }

private:
    reg::RegState& m_state;
    reg::HKey m_key = 0;
};

} // namespace orvanex::model::detail
