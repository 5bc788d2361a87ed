// Shift-JIS (code page 932) bytes, as names and log lines hold them, to UTF-8 for printing.
#pragma once

#include <string>

// The text converted; bytes that are not valid code page 932 become U+FFFD.
std::string shiftJisToUtf8(const std::string& bytes);
