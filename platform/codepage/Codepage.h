#pragma once
// Windows-1252, the 8-bit text of both deliverables, to and from UTF-16 and
// UTF-8. Characters the code page lacks become the default character "?".

#include <string>
#include <string_view>

namespace codepage {

inline constexpr char kDefaultChar = '?';

// One byte of Windows-1252 as a UTF-16 code unit (the five undefined bytes
// 0x81, 0x8D, 0x8F, 0x90 and 0x9D map to the C1 controls of the same value).
char16_t ByteToUtf16(unsigned char byte);
// One UTF-16 code unit as Windows-1252; false when the code page lacks it.
bool Utf16ToByte(char16_t unit, unsigned char &byte);

std::u16string ToUtf16(std::string_view ansi);
std::string FromUtf16(std::u16string_view wide);
std::string FromUtf16(const char16_t *wide, size_t length);

// UTF-8 at the edges (terminal, JSON, Qt's UTF-8 helpers). Malformed UTF-8
// sequences become "?" as well.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view wide);

// Lower case of Windows-1252 text: A-Z, the accented capitals 0xC0-0xDE
// (not the multiplication sign 0xD7) and the capitals S, OE and Z with caron
// and Y with diaeresis; every other byte stays as it is.
unsigned char ToLowerByte(unsigned char byte);
std::string ToLower(std::string_view ansi);

} // namespace codepage
