#pragma once
// printf-style formatting into a std::string, for log entries and texts
// whose format is fixed in the program.

#include <string>

namespace engine {

std::string Format(const char *format, ...) __attribute__((format(printf, 1, 2)));

} // namespace engine
