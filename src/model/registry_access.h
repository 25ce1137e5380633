#pragma once
// Small read helpers of the model that need to know whether a key opened at all, which the
// shared read shape does not tell.

#include "registry/reg_state.h"

namespace orvanex::model::detail {

// True when keyPath (relative to HKEY_CLASSES_ROOT) opens; the key is closed again.
bool keyOpens(reg::RegState& state, const QString& keyPath);

// Reads a text value by the callers' convention (terminator cut off, length <= 1 is no value).
// *opened tells whether the key itself opened.
bool readText(reg::RegState& state, const QString& keyPath, const QString& valueName, QString* text,
              bool* opened);

} // namespace orvanex::model::detail
