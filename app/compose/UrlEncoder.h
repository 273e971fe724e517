#pragma once
// Encoding of a value for the query part of a web address (user name and
// password of the purchase page): a blank becomes "+"; control bytes below
// 33, bytes from 0x80 upward and "&", "=", "%", "+" become "%" and two
// upper-case hexadecimal digits; every other byte is copied.

#include <cstddef>
#include <string>
#include <string_view>

namespace compose {

// The room the encoded text needs, including a terminating zero: 1, plus 1
// for every byte, plus 2 for every byte that becomes "%XX" or "+".
std::size_t UrlEncodedSize(std::string_view text);

std::string UrlEncode(std::string_view text);

// Encodes into a caller's buffer of `size` bytes; never writes past it (the
// output is cut and always zero-terminated when size > 0). Returns the number
// of bytes written before the terminating zero.
std::size_t UrlEncodeTo(std::string_view text, char *out, std::size_t size);

} // namespace compose
