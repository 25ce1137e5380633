#pragma once
// Windows-1252: every byte of a shown file is one character of this code page.

#include <QByteArray>
#include <QChar>
#include <QString>

#include <optional>

namespace orvanex::viewer {

// The Unicode character of a byte. The five unassigned bytes map to the C1 control of the same
// value, as the platform's own conversion does.
QChar cp1252ToUnicode(unsigned char b);

// The byte that folds case for a case-insensitive comparison (upper-case letters to lower-case,
// accented letters included).
unsigned char cp1252Fold(unsigned char b);
// The same as a table of 256 bytes, for tight loops.
const unsigned char* cp1252FoldTable();

// Letters, digits and the underscore: the characters a whole word is made of.
bool cp1252IsWordChar(unsigned char b);

// Bytes a text view cannot draw (C0 controls, DEL, C1 controls): shown as a placeholder glyph.
// Tab is drawn as white space and is not one of them.
bool cp1252IsControl(unsigned char b);

// The bytes of a text typed by the user, or nothing when a character has no Windows-1252 byte
// (such a text can never occur in the file).
std::optional<QByteArray> unicodeToCp1252(const QString& text);

// Bytes to Unicode for the clipboard. A NUL becomes U+2400 so that it cannot cut the text short
// in the program that pastes it.
QString cp1252ToClipboardText(const char* data, qsizetype size);

} // namespace orvanex::viewer
