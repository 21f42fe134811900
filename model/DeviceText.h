// Texts from files and devices kept to what a device can hold. Everything a file or a device
// gives is untrusted: names must stay in the device character set (a character it cannot
// encode becomes a blank, as on the wire), and the model name and the display lines must stay
// printable, so that no control character or escape sequence reaches a page, a table or a
// saved file. Both also keep the text to its width.
#pragma once

#include <string>
#include <string_view>

namespace model {

// The first `width` characters of `text`, each outside the device character set a blank.
std::string KeepToDeviceChars(std::string_view text, int width);
// The first `width` characters of `text`, each outside printable ASCII a blank.
std::string KeepToPrintable(std::string_view text, int width);

} // namespace model
