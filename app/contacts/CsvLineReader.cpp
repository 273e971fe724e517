#include "contacts/CsvLineReader.h"

#include <cstring>

namespace contacts {

void StripLineEnd(std::string &line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
    line.pop_back();
  }
}

bool CsvLineReader::Fill() {
  if (eof_) {
    return false;
  }
  in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  const std::streamsize got = in_.gcount();
  pos_ = 0;
  end_ = got > 0 ? static_cast<std::size_t>(got) : 0;
  if (end_ == 0) {
    eof_ = true;
    return false;
  }
  return true;
}

bool CsvLineReader::ReadPiece(std::string &piece, bool &complete) {
  piece.clear();
  complete = false;
  const std::size_t room = kLineBuffer - 1;
  while (piece.size() < room) {
    if (pos_ >= end_ && !Fill()) {
      complete = true; // end of input
      return !piece.empty();
    }
    const std::size_t want = std::min(room - piece.size(), end_ - pos_);
    const char *start = buffer_.data() + pos_;
    const void *nl = std::memchr(start, '\n', want);
    if (nl != nullptr) {
      const std::size_t n = static_cast<const char *>(nl) - start + 1;
      piece.append(start, n);
      pos_ += n;
      complete = true;
      return true;
    }
    piece.append(start, want);
    pos_ += want;
  }
  return true;
}

bool CsvLineReader::Next(std::string &line) {
  for (;;) {
    bool complete = false;
    if (!ReadPiece(line, complete)) {
      return false;
    }
    const bool wasContinuing = continuing_;
    continuing_ = !complete;
    const std::size_t zero = line.find('\0');
    if (zero != std::string::npos) {
      line.resize(zero);
    }
    const bool onlyLineEnd = line.find_first_not_of("\r\n") == std::string::npos && !line.empty();
    StripLineEnd(line);
    if (wasContinuing && onlyLineEnd) {
      continue; // the ending of the piece before
    }
    return true;
  }
}

} // namespace contacts
