#include "shell/WinFormat.h"

#include <cstring>

namespace shell {

std::int64_t FormatArg::AsSigned() const {
  switch (kind_) {
  case Kind::Signed:
    return wide_ ? s_ : static_cast<std::int32_t>(s_);
  case Kind::Unsigned:
    return wide_ ? static_cast<std::int64_t>(u_) : static_cast<std::int32_t>(u_);
  case Kind::Text:
    break;
  }
  return 0;
}

std::uint64_t FormatArg::AsUnsigned() const {
  switch (kind_) {
  case Kind::Signed:
    return wide_ ? static_cast<std::uint64_t>(s_) : static_cast<std::uint32_t>(s_);
  case Kind::Unsigned:
    return wide_ ? u_ : static_cast<std::uint32_t>(u_);
  case Kind::Text:
    break;
  }
  return 0;
}

namespace {

// Bounded output: keeps room for the terminating zero and drops the rest.
class Sink {
public:
  Sink(char *out, std::size_t size) : out_(out), size_(size) {}
  void Put(char c) {
    if (len_ + 1 < size_) out_[len_++] = c;
  }
  void Put(const char *s, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
      Put(s[i]);
  }
  void Repeat(char c, std::size_t n) {
    for (std::size_t i = 0; i < n && len_ + 1 < size_; ++i)
      Put(c);
  }
  bool Full() const { return len_ + 1 >= size_; }
  std::size_t Finish() {
    if (size_ > 0) out_[len_] = '\0';
    return len_;
  }

private:
  char *out_;
  std::size_t size_;
  std::size_t len_ = 0;
};

struct Spec {
  bool left = false;
  bool zero = false;
  bool alternate = false;
  std::size_t width = 0;
  bool hasPrecision = false;
  std::size_t precision = 0;
};

constexpr std::size_t kMaxField = 4096; // width and precision are bounded

void Padded(Sink &sink, const Spec &spec, const char *body, std::size_t length) {
  std::size_t pad = spec.width > length ? spec.width - length : 0;
  if (!spec.left) sink.Repeat(' ', pad);
  sink.Put(body, length);
  if (spec.left) sink.Repeat(' ', pad);
}

void Number(Sink &sink, const Spec &spec, std::uint64_t magnitude, bool negative, int base,
            bool upper) {
  char digits[32];
  std::size_t n = 0;
  const char *set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  do {
    digits[n++] = set[magnitude % static_cast<unsigned>(base)];
    magnitude /= static_cast<unsigned>(base);
  } while (magnitude != 0 && n < sizeof digits);

  const char *prefix = "";
  if (negative) {
    prefix = "-";
  } else if (spec.alternate && base == 16) {
    prefix = upper ? "0X" : "0x";
  }
  const std::size_t prefixLength = std::strlen(prefix);
  std::size_t zeros = spec.hasPrecision && spec.precision > n ? spec.precision - n : 0;
  std::size_t total = prefixLength + zeros + n;
  std::size_t pad = spec.width > total ? spec.width - total : 0;
  if (spec.zero && !spec.left && !spec.hasPrecision) {
    zeros += pad;
    pad = 0;
  }
  if (!spec.left) sink.Repeat(' ', pad);
  sink.Put(prefix, prefixLength);
  sink.Repeat('0', zeros);
  while (n > 0)
    sink.Put(digits[--n]);
  if (spec.left) sink.Repeat(' ', pad);
}

} // namespace

std::size_t WinFormatTo(char *out, std::size_t size, std::string_view format, const FormatArg *args,
                        std::size_t count) {
  Sink sink(out, size);
  std::size_t next = 0;
  auto take = [&]() -> const FormatArg * { return next < count ? &args[next++] : nullptr; };

  std::size_t i = 0;
  while (i < format.size() && !sink.Full()) {
    char c = format[i++];
    if (c != '%') {
      sink.Put(c);
      continue;
    }
    if (i >= format.size()) break;
    if (format[i] == '%') {
      sink.Put('%');
      ++i;
      continue;
    }
    Spec spec;
    for (; i < format.size(); ++i) {
      if (format[i] == '-') {
        spec.left = true;
      } else if (format[i] == '0') {
        spec.zero = true;
      } else if (format[i] == '#') {
        spec.alternate = true;
      } else {
        break;
      }
    }
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
      spec.width = spec.width * 10 + static_cast<std::size_t>(format[i] - '0');
      if (spec.width > kMaxField) spec.width = kMaxField;
      ++i;
    }
    if (i < format.size() && format[i] == '.') {
      spec.hasPrecision = true;
      ++i;
      while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        spec.precision = spec.precision * 10 + static_cast<std::size_t>(format[i] - '0');
        if (spec.precision > kMaxField) spec.precision = kMaxField;
        ++i;
      }
    }
    // Size prefixes: every argument already carries its own width.
    while (i < format.size() && (format[i] == 'l' || format[i] == 'h' || format[i] == 'w'))
      ++i;
    if (i >= format.size()) break;
    const char type = format[i++];
    switch (type) {
    case 's':
    case 'S': {
      const FormatArg *arg = take();
      std::string_view text;
      char digits[32];
      if (arg && arg->kind() == FormatArg::Kind::Text) {
        text = arg->Text();
      } else if (arg) {
        // A number where text was expected: its decimal form.
        std::size_t n = arg->kind() == FormatArg::Kind::Signed
                            ? WinFormatTo(digits, sizeof digits, "%d", arg, 1)
                            : WinFormatTo(digits, sizeof digits, "%u", arg, 1);
        text = std::string_view(digits, n);
      }
      if (spec.hasPrecision && text.size() > spec.precision) text = text.substr(0, spec.precision);
      Padded(sink, spec, text.data(), text.size());
      break;
    }
    case 'c':
    case 'C': {
      const FormatArg *arg = take();
      char ch = '\0';
      if (arg && arg->kind() == FormatArg::Kind::Text) {
        ch = arg->Text().empty() ? '\0' : arg->Text()[0];
      } else if (arg) {
        ch = static_cast<char>(arg->AsUnsigned() & 0xFF);
      }
      // A zero character would end the text: only its padding is written.
      Padded(sink, spec, &ch, ch == '\0' ? 0 : 1);
      break;
    }
    case 'd':
    case 'i': {
      const FormatArg *arg = take();
      std::int64_t value = arg ? arg->AsSigned() : 0;
      std::uint64_t magnitude =
          value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
      Number(sink, spec, magnitude, value < 0, 10, false);
      break;
    }
    case 'u': {
      const FormatArg *arg = take();
      Number(sink, spec, arg ? arg->AsUnsigned() : 0, false, 10, false);
      break;
    }
    case 'x':
    case 'X': {
      const FormatArg *arg = take();
      Number(sink, spec, arg ? arg->AsUnsigned() : 0, false, 16, type == 'X');
      break;
    }
    default:
      sink.Put(type);
      break;
    }
  }
  return sink.Finish();
}

std::string WinFormatArgs(std::string_view format, const FormatArg *args, std::size_t count) {
  char buffer[kWinFormatMax + 1];
  std::size_t n = WinFormatTo(buffer, sizeof buffer, format, args, count);
  return std::string(buffer, n);
}

} // namespace shell
