#pragma once
// A printf-style formatter with the rules of the Windows wvsprintf the log
// writers were written for: conversions %s %c %d %i %u %x %X with the `l` and
// `h` size prefixes, the flags "-", "0" and "#", a width and a precision, and
// "%%". The output is built in a fixed 1025-byte buffer and holds at most 1024
// bytes; nothing is ever written past the buffer. Arguments travel
// type-safely: integers of any width and strings (std::string, string_view,
// const char *; a null pointer prints "(null)").
//
// Mismatches never read anything that was not passed: a missing argument
// formats as 0 or "", a string given to a number conversion as 0, a number
// given to %s as its decimal text. An unknown conversion character is copied.

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace shell {

inline constexpr std::size_t kWinFormatMax = 1024;

class FormatArg {
public:
  enum class Kind { Signed, Unsigned, Text };

  template <std::signed_integral T>
  requires(!std::same_as<T, char>) FormatArg(T v)
      : kind_(Kind::Signed), s_(v), wide_(sizeof(T) > 4) {}
  template <std::unsigned_integral T>
  requires(!std::same_as<T, bool>) FormatArg(T v)
      : kind_(Kind::Unsigned), u_(v), wide_(sizeof(T) > 4) {}
  template <class T>
  requires std::is_enum_v<T> FormatArg(T v)
      : FormatArg(static_cast<std::underlying_type_t<T>>(v)) {}
  FormatArg(bool v) : kind_(Kind::Signed), s_(v ? 1 : 0) {}
  FormatArg(char v) : kind_(Kind::Signed), s_(static_cast<unsigned char>(v)) {}
  FormatArg(const char *v) : kind_(Kind::Text), text_(v ? v : "(null)") {}
  FormatArg(const std::string &v) : kind_(Kind::Text), text_(v) {}
  FormatArg(std::string_view v) : kind_(Kind::Text), text_(v) {}

  Kind kind() const { return kind_; }
  std::int64_t AsSigned() const;
  std::uint64_t AsUnsigned() const;
  std::string_view Text() const { return text_; }
  // True when the value came from a type wider than 32 bits.
  bool Wide() const { return wide_; }

private:
  Kind kind_;
  std::int64_t s_ = 0;
  std::uint64_t u_ = 0;
  std::string_view text_;
  bool wide_ = false;
};

// Formats into a caller's buffer of `size` bytes (zero-terminated, at most
// size - 1 bytes of output). Returns the number of bytes written.
std::size_t WinFormatTo(char *out, std::size_t size, std::string_view format, const FormatArg *args,
                        std::size_t count);

// Formats with at most 1024 bytes of output.
std::string WinFormatArgs(std::string_view format, const FormatArg *args, std::size_t count);

template <class... Args> std::string WinFormat(std::string_view format, const Args &...args) {
  if constexpr (sizeof...(Args) == 0) {
    return WinFormatArgs(format, nullptr, 0);
  } else {
    const FormatArg list[] = {FormatArg(args)...};
    return WinFormatArgs(format, list, sizeof...(Args));
  }
}

} // namespace shell
