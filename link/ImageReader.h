// CImageReader reads a data image: hexadecimal text in which every byte takes two characters.
// The reader keeps a character position; whatever the image holds and wherever the position
// points, it never reads outside the image (characters past the end read as 0).
#pragma once

#include <string>
#include <string_view>

class CImageReader {
public:
    explicit CImageReader(std::string_view image, int position = 0) : image_(image), position_(position) {}

    int Position() const { return position_; }
    void Seek(int position) { position_ = position; }

    // A byte 0..255; advances by two characters.
    int ReadByte();
    // A 16-bit value, high byte first.
    int ReadWord();
    // A name character as its 1-based code (1..86; a byte outside the table reads as a blank).
    int ReadNameChar();
    // `length` name characters as text, trailing blanks removed.
    std::string ReadName(int length);

private:
    char CharAt(int position) const;

    std::string_view image_;
    int position_;
};
