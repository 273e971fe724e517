#include "BatchReplyParser.h"

#include <string>

namespace engine {

namespace {

bool IsSeparator(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

class Tokenizer {
public:
  explicit Tokenizer(std::string_view text) : text_(text) {}
  bool Next(std::string_view &token) {
    while (pos_ < text_.size() && IsSeparator(text_[pos_]))
      ++pos_;
    if (pos_ >= text_.size()) return false;
    std::size_t start = pos_;
    while (pos_ < text_.size() && !IsSeparator(text_[pos_]))
      ++pos_;
    token = text_.substr(start, pos_ - start);
    return true;
  }

private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

constexpr int kBatchRejection = 99;

} // namespace

BatchReplyResult BatchReplyParser::Parse(std::string_view reply, const DestinationRecord *chunk,
                                         std::size_t chunkSize, std::vector<bool> &answered,
                                         DestinationList &accepted, DestinationList &failed) {
  BatchReplyResult result;
  answered.resize(chunkSize, false);

  // The chunk record for a number: the first one not answered yet, else the
  // first one at all; chunkSize when the chunk has none.
  auto find = [&](std::string_view number) {
    std::size_t firstMatch = chunkSize;
    for (std::size_t i = 0; i < chunkSize; ++i) {
      if (chunk[i].Number() != number) continue;
      if (!answered[i]) return i;
      if (firstMatch == chunkSize) firstMatch = i;
    }
    return firstMatch;
  };

  std::string to;
  std::string value;
  bool pendingId = false;
  bool pendingError = false;

  auto finish = [&]() {
    if ((pendingError || pendingId) && !to.empty()) {
      std::size_t i = find(to);
      if (i < chunkSize) {
        DestinationRecord record;
        record.contactId = 0;
        record.SetNumber(to);
        record.SetToToken(chunk[i].ToToken());
        if (pendingError) {
          record.errorCode = kBatchRejection;
          failed.push_back(record);
          ++result.rejected;
        } else {
          record.errorCode = 0;
          record.SetApiMsgId(",ID: " + value);
          accepted.push_back(record);
          ++result.accepted;
        }
        answered[i] = true;
      }
    }
    pendingId = false;
    pendingError = false;
  };

  Tokenizer tokens(reply);
  std::string_view token;
  while (tokens.Next(token)) {
    if (token.substr(0, 3) == "To:") {
      std::string_view number;
      if (!tokens.Next(number)) {
        // A "To:" without a number names nobody.
        to.clear();
        break;
      }
      to = std::string(number);
    } else if (token.substr(0, 4) == "ERR:") {
      finish();
      pendingError = true;
      value.clear();
      to.clear();
    } else if (token.substr(0, 3) == "ID:") {
      finish();
      pendingId = true;
      value.clear();
      to.clear();
    } else {
      if (!value.empty()) value += ' ';
      value.append(token);
    }
  }
  finish();
  return result;
}

} // namespace engine
