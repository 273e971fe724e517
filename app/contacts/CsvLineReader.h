#pragma once
// Reads the lines of an import file the way the import always has: through a
// buffer of 8192 bytes, so a line of more than 8191 bytes is read as several
// lines. A line ends after "\n"; its text stops at the first zero byte, and
// its trailing CR and LF characters are removed.
//
// A piece that only holds the CR/LF ending of a line that filled the buffer
// is not a line of its own (the ending belongs to the piece before it).

#include <array>
#include <cstddef>
#include <istream>
#include <string>

namespace contacts {

class CsvLineReader {
public:
  static constexpr std::size_t kLineBuffer = 8192;

  explicit CsvLineReader(std::istream &in) : in_(in) {}

  // The next line; false at the end of the input.
  bool Next(std::string &line);

private:
  // Reads up to kLineBuffer - 1 bytes through the next "\n" into piece.
  // Returns false when nothing was left. `complete` tells whether the piece
  // ended with "\n" (or at the end of the input).
  bool ReadPiece(std::string &piece, bool &complete);
  bool Fill();

  std::istream &in_;
  std::array<char, 65536> buffer_{};
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  bool continuing_ = false; // the previous piece filled the buffer
};

// Removes every trailing CR and LF.
void StripLineEnd(std::string &line);

} // namespace contacts
