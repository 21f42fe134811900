// Conversions between the program's 8-bit texts and Qt's strings. Texts written in the source
// are UTF-8; texts read from devices and files are single bytes, taken as Latin-1.
#pragma once

#include <QString>

#include <string>

inline QString ToQString(const std::string& text) {
    const QString utf8 = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return utf8.contains(QChar::ReplacementCharacter)
               ? QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))
               : utf8;
}

inline std::string FromQString(const QString& text) { return text.toStdString(); }
