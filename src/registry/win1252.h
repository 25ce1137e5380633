#pragma once
// Windows-1252, the code page of REGEDIT4 files, with the rule this project's .reg files use to
// keep text that the code page cannot hold: such a line is written in UTF-8 instead.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace orvanex::reg {

// Every byte decodes; the five bytes the code page leaves undefined map to U+0081 and friends,
// as Windows does, so decoding and encoding are exact inverses.
QString decode1252(QByteArrayView bytes);
// False when a character has no byte in the code page.
bool encode1252(QStringView text, QByteArray* out);

bool isValidUtf8(QByteArrayView bytes);

// A line of a REGEDIT4 file: Windows-1252 when it can hold the line and the result cannot be
// mistaken for UTF-8; otherwise UTF-8.
QByteArray encodeReg4Line(QStringView line);
// The inverse: UTF-8 when the bytes are valid UTF-8 with at least one non-ASCII byte.
QString decodeReg4Line(QByteArrayView bytes);

} // namespace orvanex::reg
