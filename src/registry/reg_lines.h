#pragma once
// The line reader that every .reg text format shares (REGEDIT4, version 5 and the Windows 3.1
// "REGEDIT" files), with the registry editor's idea of white space.

#include "registry/reg_file.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <functional>

namespace orvanex::reg {

struct RegLine {
    int number = 0;
    QString text;
};

// The registry editor treats only blanks and tabs as white space.
inline bool isRegBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
qsizetype skipRegBlanks(QStringView s, qsizetype pos);
QStringView regBlankTrimmed(QStringView s);

// Lines one at a time (split on CR LF, LF or CR), decoded as the file's encoding requires (a
// UTF-16LE or UTF-8 byte-order mark, else REGEDIT4's code page), so that a large file is never
// held as text whole.
class RegLineReader {
public:
    explicit RegLineReader(const QByteArray& bytes);

    bool next(RegLine* line);

    // At least as many lines as hold a key or a value (each makes one operation at most), to
    // reserve for them at once.
    qsizetype keyAndValueLines() const;

private:
    template <typename View, typename Decode> bool take(View text, RegLine* line, Decode decode);

    enum Encoding { Reg4, Utf8, Utf16 } m_encoding = Reg4;
    QString m_utf16;
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    int m_number = 0;
};

// The lines after a Windows 3.1 "REGEDIT" header: "HKEY_CLASSES_ROOT\key = value" sets the
// key's default value, a line with no "=" makes the key.
void readWin31Lines(RegLineReader& reader, const std::function<void(RegFileOp&&)>& add,
                    QStringList* warnings);

} // namespace orvanex::reg
