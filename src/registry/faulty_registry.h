#pragma once
// A registry that passes every call on to another one but can be told to fail chosen writes: for
// checking that each failure path of an editing operation reports and keeps what it should.

#include "registry/registry.h"

#include <QHash>
#include <QString>

namespace orvanex::reg {

class FaultyRegistry final : public Registry {
public:
    explicit FaultyRegistry(Registry& inner) : m_inner(inner) {}

    // From now on, every write (create, set, delete) at keyPath or below it, relative to
    // HKEY_CLASSES_ROOT and compared without regard to case, answers code and changes nothing.
    // An empty keyPath fails every write below HKEY_CLASSES_ROOT.
    void failWritesAt(const QString& keyPath, Status code = status::AccessDenied);
    void clearFailures() { m_failPaths.clear(); }
    int failedWrites() const { return m_failed; }

    bool isReadOnly() const override { return m_inner.isReadOnly(); }
    QString problem() const override { return m_inner.problem(); }
    QString hivePath() const override { return m_inner.hivePath(); }
    Status openKeyEx(HKey key, const QString& subKey, std::uint32_t options,
                     std::uint32_t samDesired, HKey* result) override;
    Status createKey(HKey key, const QString& subKey, HKey* result) override;
    Status queryValueEx(HKey key, const QString& valueName, std::uint32_t* valueType, char* data,
                        std::uint32_t* dataSize) override {
        return m_inner.queryValueEx(key, valueName, valueType, data, dataSize);
    }
    Status setValueEx(HKey key, const QString& valueName, std::uint32_t valueType, const char* data,
                      std::uint32_t dataSize) override;
    Status deleteKey(HKey key, const QString& subKey) override;
    Status deleteValue(HKey key, const QString& valueName) override;
    Status enumKeyEx(HKey key, std::uint32_t index, QString* name) override {
        return m_inner.enumKeyEx(key, index, name);
    }
    Status enumValue(HKey key, std::uint32_t index, QString* name, std::uint32_t* valueType,
                     QByteArray* data) override {
        return m_inner.enumValue(key, index, name, valueType, data);
    }
    Status closeKey(HKey key) override;
    Status beginBatch() override { return m_inner.beginBatch(); }
    Status endBatch() override { return m_inner.endBatch(); }
    Status refresh() override { return m_inner.refresh(); }
    Status compact() override { return m_inner.compact(); }

private:
    // The path below HKEY_CLASSES_ROOT of key\subKey; false when it is not below it.
    bool classesPath(HKey key, const QString& subKey, QString* path) const;
    // True (and counted) when a write at path must fail.
    bool refuses(const QString& path, Status* code);
    void remember(HKey handle, HKey parent, const QString& subKey);

    Registry& m_inner;
    QHash<QString, Status> m_failPaths; // lower-cased
    QHash<HKey, QString> m_paths;       // handles handed out, with their paths
    int m_failed = 0;
};

} // namespace orvanex::reg
