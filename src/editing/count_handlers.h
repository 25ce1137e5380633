#pragma once
// "Retrieve &count/size of all file types": the walk over every drive on a thread of its own,
// the exit button as its Stop, and the "# files" and " Size(Bytes)" columns of both lists filled
// when it ends.

#include "platform/drives.h"

#include <QObject>
#include <functional>
#include <memory>

class QTimer;

namespace orvanex {
struct MainContext;
namespace search {
class FileCountWorker;
}
} // namespace orvanex

namespace orvanex::editing {

// How often the status line follows the walk (at most 20 repaints a second).
inline constexpr int kCountProgressMs = 50;

// The status line's name of a folder the walk is in: its Windows path below the drive whose
// folder holds it most closely (drives may nest, as Z: = / holds C:); the native path when none.
QString CountedFolderText(const QList<platform::DriveRoot>& roots, const QByteArray& folder);

class CountHandlers : public QObject {
    Q_OBJECT
public:
    CountHandlers(MainContext& ctx, QObject* parent);
    ~CountHandlers() override;

    void cmdLoad_Click();
    bool counting() const;
    // Ends a running walk at once (the window closes); its end is handled as a Stop's.
    void stopWalk();
    bool walkStopping() const; // a walk runs and was told to stop
    // Every walk started from now on runs hook as it enters a folder (tests hold it there).
    void setFolderHook(std::function<void(const QByteArray&)> hook);

Q_SIGNALS:
    void countFinished(); // after the lists were filled and the window given back

private:
    void followWalk();
    void walkEnded();
    void setCommandsEnabled(bool enabled);

    MainContext& m_ctx;
    std::unique_ptr<search::FileCountWorker> m_worker; // while the walk runs
    std::unique_ptr<search::FileCountWorker> m_ended;
    QTimer* m_progress = nullptr;
    std::function<void(const QByteArray&)> m_folderHook;
};

} // namespace orvanex::editing
