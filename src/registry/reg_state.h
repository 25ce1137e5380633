#pragma once
// The conventions every registry routine of the main window follows: one root, one access mask,
// one shared working state, one value reader and one status-to-message routine.

#include "registry/registry.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <variant>

namespace orvanex::reg {

// The tagged value QueryValueEx fills: empty, a text, or a 32-bit number.
using RegValue = std::variant<std::monostate, QString, std::int32_t>;

// Working state shared by the main window's registry routines (one operation at a time).
struct RegState {
    Registry* registry = nullptr;
    HKey RootKey = HKEY_CLASSES_ROOT;
    HKey OpenKey = 0;
    QString KeyPath; // path of the current key relative to the root
    Status LastStatus = 0;
    QString ErrorText; // set by RegErrorText
};

// Reads one value: REG_SZ as text with its terminating NUL kept, REG_DWORD as a number, any other
// type -1. A failed size query leaves value untouched.
Status QueryValueEx(RegState& state, HKey key, const QString& valueName, RegValue& value);

// Sets state.ErrorText to the message for code.
void RegErrorText(RegState& state, Status code);

// The text up to its first NUL.
QString StripNull(const QString& text);
// Removes leading, then trailing double quotes; returns the result and leaves it in text.
QString StripQuotes(QString& text);

// The routine shapes. Each sets the root to HKEY_CLASSES_ROOT, keeps every status in
// state.LastStatus and closes what it opened, whether or not a step failed. KeyPath is the path
// as the caller built it (plain concatenation, no normalising).

// Read: the text of valueName under keyPath by the callers' convention: the terminator cut off;
// an empty value (length <= 1) reads as absent. Returns false when absent or not a text.
bool ReadText(RegState& state, const QString& keyPath, const QString& valueName, QString* text);
// Read a value of any kind QueryValueEx knows (texts keep their terminator).
Status ReadValue(RegState& state, const QString& keyPath, const QString& valueName,
                 RegValue& value);
// Open or create, then write a REG_SZ whose byte count is the text's length (no NUL stored).
Status WriteText(RegState& state, const QString& keyPath, const QString& valueName,
                 const QString& text);
// Open or create each level in order from the top (e.g. "txtfile\Shell", "txtfile\Shell\open");
// the first failing step ends it.
Status CreateKeyChain(RegState& state, const QStringList& keyPaths);
// Open the key's own path and delete it with its whole subtree.
Status DeleteKeyTree(RegState& state, const QString& keyPath);
// Delete children first, then the key: a child that cannot be opened is skipped; the first failing
// deletion ends the sequence.
Status DeleteKeysInOrder(RegState& state, const QStringList& keyPaths);
// Open the key and delete one named value.
Status DeleteValueAt(RegState& state, const QString& keyPath, const QString& valueName);
// The subkey names of keyPath (blanks trimmed), in enumeration order; empty when it cannot be
// opened.
QStringList EnumerateSubkeys(RegState& state, const QString& keyPath);
// The same of a key the caller holds open (the one lister, so both trim alike).
QStringList EnumerateSubkeys(RegState& state, HKey key);
// A subkey's name as the listers give it: at most 2000 characters, blanks trimmed.
QString ListedSubkeyName(const QString& name);
// Calls visit(name) for each subkey of an open key, in enumeration order and with the names as the
// listers give them; each name comes while its key is fresh in the processor's cache, so a visit
// that opens it costs less than a second pass over a list would.
template <typename Visit> void ForEachSubkey(RegState& state, HKey key, Visit&& visit) {
    for (std::uint32_t index = 0;; ++index) {
        QString name;
        state.LastStatus = state.registry->enumKeyEx(key, index, &name);
        if (state.LastStatus != status::Success)
            break;
        visit(ListedSubkeyName(name));
    }
}

} // namespace orvanex::reg
