#include "contacts/CsvFileWriter.h"

namespace contacts {

CsvFileWriter::~CsvFileWriter() {
  if (file_ != nullptr) {
    std::fclose(file_);
  }
}

bool CsvFileWriter::Open(const std::string &path) {
  if (file_ != nullptr) {
    Close();
  }
  failed_ = false;
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ != nullptr) {
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
  }
  return file_ != nullptr;
}

bool CsvFileWriter::Write(std::string_view bytes) {
  if (file_ == nullptr || failed_) {
    return false;
  }
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    failed_ = true;
  }
  return !failed_;
}

bool CsvFileWriter::Close() {
  if (file_ == nullptr) {
    return false;
  }
  bool ok = !failed_;
  if (std::fflush(file_) != 0 || std::ferror(file_) != 0) {
    ok = false;
  }
  if (std::fclose(file_) != 0) {
    ok = false;
  }
  file_ = nullptr;
  return ok;
}

} // namespace contacts
