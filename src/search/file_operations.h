#pragma once
// Copy, move, existence and trash for the found files: the work behind the search window's panels
// and `orvx`, with errors as values.

#include <QByteArray>
#include <QDateTime>
#include <QString>

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

// The text of the replace question ("File already exists  /  Do you want to replace the
// file?" ...), with "\n" for each line break.
QString ReplaceQuestionText(const QString& newName, const FileFacts& existing,
                            const FileFacts& selected);
// "###,##0": thousands separated by commas, at least one digit.
QString FormatSize(qint64 size);
// "File Error, File Opened By Another User! (75)", "Invalid File Name! (53)", "File Error! (n)".
QString FileErrorText(int error);

} // namespace orvanex::search
