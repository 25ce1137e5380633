#pragma once
// The store over a Wine prefix: system.reg (HKEY_LOCAL_MACHINE), user.reg (HKEY_CURRENT_USER) and
// userdef.reg (HKEY_USERS\.Default) read into one key tree. HKEY_CLASSES_ROOT is the user's
// classes over the machine's, as Wine shows it. Each change is saved to the file its key belongs
// to, and keys that did not change keep their exact text.

#include "registry/handle_table.h"
#include "registry/key_node.h"
#include "registry/registry.h"
#include "registry/wine_prefix.h"
#include "registry/wine_reg_text.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

namespace orvanex::reg {

class WineRegistry final : public Registry {
public:
    // prefix must hold a system.reg (see openWinePrefix).
    explicit WineRegistry(const QString& prefix);

    bool isReadOnly() const override { return m_readOnly; }
    QString problem() const override { return m_problem; }
    // The prefix's system.reg: the drive map finds the prefix's dosdevices beside it.
    QString hivePath() const override;
    QString prefix() const { return m_prefix; }

    Status openKeyEx(HKey key, const QString& subKey, std::uint32_t options,
                     std::uint32_t samDesired, HKey* result) override;
    Status createKey(HKey key, const QString& subKey, HKey* result) override;
    Status queryValueEx(HKey key, const QString& valueName, std::uint32_t* valueType, char* data,
                        std::uint32_t* dataSize) override;
    Status setValueEx(HKey key, const QString& valueName, std::uint32_t valueType, const char* data,
                      std::uint32_t dataSize) override;
    Status deleteKey(HKey key, const QString& subKey) override;
    Status deleteValue(HKey key, const QString& valueName) override;
    Status enumKeyEx(HKey key, std::uint32_t index, QString* name) override;
    Status enumValue(HKey key, std::uint32_t index, QString* name, std::uint32_t* valueType,
                     QByteArray* data) override;
    Status closeKey(HKey key) override;

    Status beginBatch() override;
    Status endBatch() override;
    Status refresh() override;

private:
    // One of the prefix's files and what was read from it.
    struct File {
        QString path;
        QByteArray rootName; // "Machine", for the header of a file made new
        KeyNode* root = nullptr;
        bool present = false;
        bool damaged = false;
        wine::FileStamp stamp;
        wine::FileText text;
        std::vector<std::shared_ptr<KeyNode>> blockNodes; // the key of each block
        QHash<const KeyNode*, qsizetype> blockOf;         // the first block of each key
        QSet<const KeyNode*> changed;                     // keys whose values changed
        bool structureChanged = false;                    // keys made or deleted
        bool dirty() const { return structureChanged || !changed.isEmpty(); }
    };
    // A key as a handle sees it: one node, or for HKEY_CLASSES_ROOT the user's and the machine's
    // copies (either may be missing).
    struct View {
        bool merged = false;
        KeyNode* node = nullptr;
        KeyNode* user = nullptr;
        KeyNode* machine = nullptr;
        QStringList relative; // below Software\Classes, for a merged view
        KeyNode* valueNode() const { return merged ? (user ? user : machine) : node; }
    };
    struct HandleSlot {
        bool merged = false;
        std::shared_ptr<KeyNode> node, user, machine;
        QStringList relative;
        // The merged list of subkey names, valid while the tree's shape is unchanged.
        std::uint64_t namesShape = 0;
        std::vector<QString> names;
    };

    // Loading and saving (wine_registry_files.cpp).
    void loadAll();
    bool loadFile(File& file, KeyNode& root, bool mapBlocks, QString* why);
    void remapBlocks(File& file);
    void reloadAfterFailure();
    Status saveDirtyFiles();
    Status saveFile(File& file);
    QByteArray buildFile(File& file, wine::FileText* text,
                         std::vector<std::shared_ptr<KeyNode>>* nodes) const;
    QString relativePath(const File& file, const KeyNode* node) const;
    bool filesChangedOnDisk() const;

    Status resolve(HKey key, View* view);
    KeyNode* userClasses() const;
    KeyNode* machineClasses() const;
    HKey newHandle(const View& view);
    // The file a key is written to; null for a file's root and for keys outside every file.
    File* fileOf(const KeyNode* node);
    bool isFileRoot(const KeyNode* node) const;
    void markValuesChanged(KeyNode* node);
    void markStructureChanged(KeyNode* node);
    Status childName(HandleSlot* slot, const View& view, std::uint32_t index, QString* name);
    // Runs one change; outside a batch it is saved before this returns.
    template <typename Change> Status write(Change&& change);
    void setProblem(const QString& problem);

    QString m_prefix;
    KeyNode m_top;
    std::array<File, 3> m_files;
    HandleTable<HandleSlot> m_handles;
    HandleSlot m_rootNames;    // the merged subkey names of HKEY_CLASSES_ROOT itself
    std::uint64_t m_shape = 1; // bumped whenever keys are made or deleted
    bool m_readOnly = false;
    QString m_problem;
    int m_batchDepth = 0;
    Status m_batchStatus = status::Success;
};

// Opens the registry of a Wine prefix (see WineRegistry).
std::unique_ptr<Registry> openWineRegistry(const QString& prefix);

// Whether dir is a Wine prefix (holds a system.reg); why says what is wrong when not.
bool isWinePrefix(const QString& dir, QString* why);

} // namespace orvanex::reg
