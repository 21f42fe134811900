// printf-style formatting into std::string, for the display formats of the program
// ("%2.2f", "%u (%.1f dB)", "COM %u").
#pragma once

#include <string>

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
