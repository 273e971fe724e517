#pragma once
// A file written byte for byte (binary mode, no conversion), with every write
// checked: Close tells whether everything reached the file.

#include <cstdio>
#include <string>
#include <string_view>

namespace contacts {

class CsvFileWriter {
public:
  CsvFileWriter() = default;
  ~CsvFileWriter();
  CsvFileWriter(const CsvFileWriter &) = delete;
  CsvFileWriter &operator=(const CsvFileWriter &) = delete;

  // Creates or truncates the file. False when it cannot be opened.
  bool Open(const std::string &path);
  bool IsOpen() const { return file_ != nullptr; }
  // Appends the bytes; false (and every later write refused) once a write
  // failed.
  bool Write(std::string_view bytes);
  // Flushes and closes; false when any write, the flush or the close failed.
  bool Close();

private:
  std::FILE *file_ = nullptr;
  bool failed_ = false;
};

} // namespace contacts
