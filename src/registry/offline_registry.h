#pragma once
// What the stores over another system's registry files share (a Wine prefix, a Windows
// installation): the edits of the API over merged classes and links, each passed on to the file
// its key lives in. A back end says which keys may change and how an edit reaches its file.

#include "registry/registry_core.h"

#include <vector>

namespace orvanex::reg {

class OfflineRegistry : public RegistryCore {
public:
    Status createKey(HKey key, const QString& subKey, HKey* result) final;
    Status setValueEx(HKey key, const QString& valueName, std::uint32_t valueType, const char* data,
                      std::uint32_t dataSize) final;
    Status deleteKey(HKey key, const QString& subKey) final;
    Status deleteValue(HKey key, const QString& valueName) final;

protected:
    // One edit of the key tree, for the files to follow.
    struct Edit {
        enum Kind { AddKey, SetValue, DeleteValue, DeleteKey };
        Kind kind;
        KeyNode* node;     // the key; for AddKey the new one, below a key the files have
        QString valueName; // for SetValue and DeleteValue
    };
    // Whether node may take the edit (AddKey: whether new keys may go below it). Links are
    // never deleted whatever this says.
    virtual bool mayEdit(Edit::Kind kind, const KeyNode* node) = 0;
    // Makes the edit in the files (in memory until the batch commits). The tree has made it
    // already for AddKey and SetValue; for DeleteValue and DeleteKey it follows only when this
    // succeeds.
    virtual Status applyEdit(const Edit& edit) = 0;

private:
    Status resolvePath(HKey key, const QString& subKey, View* view,
                       std::vector<QStringView>* parts);
};

} // namespace orvanex::reg
