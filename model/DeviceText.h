// Texts from files and devices kept to what a device can hold. Everything a file or a device
// gives is untrusted: names must stay in the device character set (a character it cannot
// encode becomes a blank, as on the wire), and the model name and the display lines must stay
// printable, so that no control character or escape sequence reaches a page, a table or a
// saved file. Both also keep the text to its width.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace model {

// The number of bytes of the character that starts at byte `at` of `text`: a whole UTF-8
// sequence, or a single byte where the bytes form none (a byte of another 8-bit encoding).
// Names count characters with it, so that "ä" is one character and not two.
std::size_t CharacterBytes(std::string_view text, std::size_t at);

// The first `width` characters of `text`, each outside the device character set one blank.
std::string KeepToDeviceChars(std::string_view text, int width);
// Why a password being set cannot be stored on a device, as a sentence; empty when it can. The
// device keeps only characters of its set and drops blanks at the end, so a password with
// others would not be the one asked for at the next sync.
std::string PasswordProblem(std::string_view password);

// The first `width` bytes of `text`, each outside printable ASCII a blank.
std::string KeepToPrintable(std::string_view text, int width);

} // namespace model
