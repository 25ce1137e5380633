#pragma once
// The store over a Wine prefix: system.reg (HKEY_LOCAL_MACHINE), user.reg (HKEY_CURRENT_USER) and
// userdef.reg (HKEY_USERS\.Default) read into one key tree. HKEY_CLASSES_ROOT is the user's
// classes over the machine's, as Wine shows it. Each change is saved to the file its key belongs
// to, and keys that did not change keep their exact text. Keys marked "#link" lead to the key their
// SymbolicLinkValue names, as Wine follows them; the link keys themselves are never changed.

#include "registry/offline_registry.h"
#include "registry/wine_prefix.h"
#include "registry/wine_reg_text.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <array>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvanex::reg {

class WineRegistry final : public OfflineRegistry {
public:
    // prefix must hold a system.reg (see openWinePrefix).
    explicit WineRegistry(const QString& prefix);

    // The prefix's system.reg: the drive map finds the prefix's dosdevices beside it.
    QString hivePath() const override;
    QString prefix() const { return m_prefix; }

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
    // Loading and saving (wine_registry_files.cpp).
    void loadAll();
    bool loadFile(File& file, KeyNode& root, bool mapBlocks, QString* why);
    void remapBlocks(File& file);
    void reloadAfterFailure();
    // Saves the files the batch changed.
    Status commitBatch() override;
    Status saveFile(File& file);
    QByteArray buildFile(File& file, wine::FileText* text,
                         std::vector<std::shared_ptr<KeyNode>>* nodes) const;
    QString relativePath(const File& file, const KeyNode* node) const;
    bool filesChangedOnDisk() const;

    KeyNode* userClasses() const override;
    KeyNode* machineClasses() const override;
    // The link keys, found anew whenever the files were read or written (wine_registry_links.cpp).
    void indexLinks();
    bool isLink(const KeyNode* node) const override;
    bool hasLinkChildren(const KeyNode* node) const override;
    bool linkPath(const KeyNode* link, KeyNode** root, QStringList* names) const override;
    // The file a key is written to; null for a file's root and for keys outside every file.
    File* fileOf(const KeyNode* node);
    bool isFileRoot(const KeyNode* node) const;
    void markValuesChanged(KeyNode* node);
    void markStructureChanged(KeyNode* node);
    // The keys Wine needs stay; an edit marks what the next save writes anew.
    bool mayEdit(Edit::Kind kind, const KeyNode* node) override;
    Status applyEdit(const Edit& edit) override;

    QString m_prefix;
    std::array<File, 3> m_files;
    // Each link key (held, so that its address is never another key's) and the keys above them.
    std::unordered_map<const KeyNode*, std::shared_ptr<KeyNode>> m_links;
    std::unordered_set<const KeyNode*> m_linkParents;
    QString m_userSid; // user.reg's key below \Registry\User
};

// Opens the registry of a Wine prefix (see WineRegistry).
std::unique_ptr<Registry> openWineRegistry(const QString& prefix);

// Whether dir is a Wine prefix (holds a system.reg); why says what is wrong when not.
bool isWinePrefix(const QString& dir, QString* why);

} // namespace orvanex::reg
