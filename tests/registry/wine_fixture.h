#pragma once
// A small Wine prefix made by the tests: a system.reg with every value form Wine writes, and
// a helper to split its files into key blocks.

#include "file_bytes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvanex::test {

// Every value type, the escapes, a link key, implied parents, a continued hex value and names
// past ASCII.
inline const QByteArray WineSystemReg = R"(WINE REGISTRY Version 2
;; All keys relative to REGISTRY\\Machine

#arch=win64

[Software\\Classes\\.txt] 1700000000
#time=1da1a2b3c4d5e6f
@="txtfile"
"Content Type"="text/plain"

[Software\\Classes\\Caf\xe9\\Na\xefve] 1700000000
#time=1da1a2b3c4d5e6f
"R\xe9sum\xe9"="\x20ac5 and \x20ac, \x00e9a\xe9"
"Esc"="tab\there\nnew \"q\" back\\slash nul\0end bell\a \1x \0017"

[Software\\Classes\\txtfile] 1700000000
#time=1da1a2b3c4d5e6f
@="Text Document"
"EditFlags"=dword:00010000
"Expand"=str(2):"%SystemRoot%\\system32\\notepad.exe"
"Multi"=str(7):"one\0two\0"
"Bin"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\
  17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,2f,\
  30,31,32
"Big"=hex(80000001):de,ad
"Empty"=hex:
"Q"=hex(b):01,00,00,00,00,00,00,00
"Odd"=hex(1):41,00,42

[Software\\Classes\\txtfile\\shell\\open\\command] 1700000000
#time=1da1a2b3c4d5e6f
@="notepad.exe %1"

[Software\\Leaf] 1700000000
#time=1da1a2b3c4d5e6f

[Software\\Wow6432Node\\Classes] 1700000000
#time=1da1a2b3c4d5e6f
#link
"SymbolicLinkValue"=hex(6):5c,00,52,00,45,00,47,00
)";

inline const QByteArray WineUserReg = R"(WINE REGISTRY Version 2
;; All keys relative to REGISTRY\\User\\S-1-5-21-0-0-0-1000

#arch=win64

[Software\\Classes\\.txt] 1700000001
#time=1da1a2b3c4d5e70
@="usertxt"
)";

// The file cut before each key line ("\n[" starts a block).
inline QStringList blocks(const QByteArray& file) {
    QStringList out;
    qsizetype from = 0;
    for (qsizetype at = file.indexOf("\n["); at >= 0; at = file.indexOf("\n[", at + 1)) {
        out << QString::fromUtf8(file.mid(from, at - from));
        from = at;
    }
    out << QString::fromUtf8(file.mid(from));
    return out;
}

} // namespace orvanex::test
