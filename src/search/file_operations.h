#pragma once
// Copy, move, existence and trash for the found files: the work behind the search window's panels
// and `orvx`, with errors as values.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>

namespace orvanex::search {

// The error numbers the window reports: 53 file not found, 75 access denied, 76 path not found,
// anything else 57 (device I/O).
enum FileErrorNumber { kFileNotFound = 53, kFileAccess = 75, kPathNotFound = 76, kFileIo = 57 };

struct FileResult {
    int error = 0; // 0 on success
    QString reason;
    bool ok() const { return error == 0; }
};

struct FileFacts {
    bool exists = false; // a file (anything but a folder) is there
    qint64 size = 0;
    QDateTime modified;
};
FileFacts fileFacts(const QByteArray& nativePath);

// Copies source to target, replacing a file there. The target is written beside itself and renamed
// into place only when complete, so a failed copy never leaves half a file or loses the old one.
FileResult copyFile(const QByteArray& source, const QByteArray& target);
// Moves source to target (a rename, else a complete copy followed by removing source).
FileResult moveFile(const QByteArray& source, const QByteArray& target);
// Sends the file to the freedesktop trash (the file and its .trashinfo).
FileResult trashFile(const QByteArray& nativePath);

// A copy or move request of the copy panel, from the selected file to a new name.
struct TransferRequest {
    QString selected; // the selected file's name as shown
    QString newName;  // the new name as typed
    QByteArray source;
    QByteArray target;
    bool moving = false;
    bool warnBeforeReplacing = true;
};
struct TransferOutcome {
    enum Kind { Unchanged, Declined, Failed, Done };
    Kind kind = Done;
    QString message; // what the window shows for Unchanged and Failed
};
// Carries out the request as the panel does: nothing when the name did not change, the replace
// question (answered by `replace`) when the new name exists and the warning is on, the copy or
// move, and the check that the new file is there.
TransferOutcome TransferFile(const TransferRequest& request,
                             const std::function<bool(const QString& question)>& replace);

// The text of the replace question ("File already exists  /  Do you want to replace the
// file?" ...), with "\n" for each line break.
QString ReplaceQuestionText(const QString& newName, const FileFacts& existing,
                            const FileFacts& selected);
// "###,##0": thousands separated by commas, at least one digit.
QString FormatSize(qint64 size);
// "File Error, File Opened By Another User! (75)", "Invalid File Name! (53)", "File Error! (n)".
QString FileErrorText(int error);

} // namespace orvanex::search
