// Conversions between the program's 8-bit texts and Qt's strings.
//
// The rule: a std::string holds UTF-8, the system's encoding of file paths (and of the texts
// written in the source); the device character set is ASCII, a part of it. A byte that does
// not belong to a valid UTF-8 sequence (a name written by another system in an 8-bit code
// page, say "\xE9" for e-acute) becomes one stand-in character, U+DC80 .. U+DCFF, and comes
// back as the same byte. So every text read from a device or a file survives any number of
// trips through Qt's strings byte for byte.
#pragma once

#include <QString>

#include <string>

// UTF-8 to a Qt string; bytes outside valid UTF-8 become their stand-in characters.
QString ToQString(const std::string& text);
// A Qt string to UTF-8; stand-in characters become their bytes again.
std::string FromQString(const QString& text);
// For painting only: stand-in characters shown as the 8-bit character of their byte in the
// Latin-1 code page, so an old 8-bit name reads as it was meant.
QString ToDisplayString(const std::string& text);
