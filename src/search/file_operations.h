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
// Carries out the request as the panel does: nothing when the name did not change, what is wrong
// with a name that cannot be used (the error text, a line break and the reason), the replace
// question (answered by `replace`) when the new name exists and the warning is on, the copy or
// move, and the check that the new file is there.
TransferOutcome TransferFile(const TransferRequest& request,
                             const std::function<bool(const QString& question)>& replace);

// The proposal for a copy's new name: the name itself when it is free, else the first free one of
// "NAME (copy).EXT", "NAME (copy 2).EXT", ... in the same folder (taken tells which are used).
QString CopyProposal(const QString& name, const std::function<bool(const QString&)>& taken);
// The folder part of a shown path, with its separator ("C:\dir\" of "C:\dir\f.txt", "/tmp/" of
// "/tmp/f.txt").
QString FolderOfShownPath(const QString& path);

// The text of the replace question ("File already exists  /  Do you want to replace the
// file?" ...), with "\n" for each line break: the old file (at the new name), then the new one.
QString ReplaceQuestionText(const QString& newName, const FileFacts& existing,
                            const QString& selectedName, const FileFacts& selected);
// What is wrong with a new name before anything is tried ("" when nothing): no file name, a "/"
// in a drive path's file name, or a folder that does not exist.
QString NewNameProblem(const QString& newName, const QByteArray& target);
// "###,##0": thousands separated by commas, at least one digit.
QString FormatSize(qint64 size);
// "File Error, File Opened By Another User! (75)", "Invalid File Name! (53)", "File Error! (n)".
QString FileErrorText(int error);

} // namespace orvanex::search
