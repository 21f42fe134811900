// CImageWriter writes a data image: every byte as two hexadecimal characters at a character
// position it keeps. Writes that would fall outside the image are dropped.
#pragma once

#include <span>
#include <string>

class CImageWriter {
public:
    explicit CImageWriter(std::span<char> image, int position = 0) : image_(image), position_(position) {}

    int Position() const { return position_; }
    void Seek(int position) { position_ = position; }

    // The low 8 bits of value; advances by two characters.
    void WriteByte(int value);
    // The low 16 bits of value, high byte first.
    void WriteWord(int value);
    // A name character given by its 1-based code, sent as its position in the table.
    void WriteNameChar(int code);
    // `length` name characters of text; characters outside the table go as blanks.
    void WriteName(const std::string& text, int length);
    // Writes `value` bytes until the position is a multiple of `chars` characters.
    void FillTo(int chars, int value);

private:
    void Put(char c);

    std::span<char> image_;
    int position_;
};
