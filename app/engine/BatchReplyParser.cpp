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

// Reads the entries in reply order and hands each one that names a chunk
// record to `visit` (record index, accepted?, the entry's value text).
void ReadEntries(std::string_view reply, const DestinationRecord *chunk, std::size_t chunkSize,
                 std::vector<bool> &answered,
                 const std::function<void(std::size_t, bool, const std::string &)> &visit) {
  answered.assign(chunkSize, false);

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
        visit(i, pendingId && !pendingError, value);
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
      // "ERR:301," written without the blank keeps its code in the token.
      if (token.size() > 4) value.append(token.substr(4));
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
}

// The leading decimal number of an error entry's text ("301, No credit").
int ErrorCodeOf(std::string_view text) {
  std::size_t i = 0;
  int code = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9' && code < 100000)
    code = code * 10 + (text[i++] - '0');
  return code;
}

} // namespace

BatchReplyResult BatchReplyParser::Parse(std::string_view reply, const DestinationRecord *chunk,
                                         std::size_t chunkSize, std::vector<bool> &answered,
                                         DestinationList &accepted, DestinationList &failed) {
  BatchReplyResult result;
  ReadEntries(reply, chunk, chunkSize, answered,
              [&](std::size_t i, bool isAccepted, const std::string &value) {
                DestinationRecord record;
                record.contactId = 0;
                record.SetNumber(chunk[i].Number());
                record.SetToToken(chunk[i].ToToken());
                if (isAccepted) {
                  record.errorCode = 0;
                  record.SetApiMsgId(",ID: " + value);
                  accepted.push_back(record);
                  ++result.accepted;
                } else {
                  record.errorCode = kBatchRejection;
                  failed.push_back(record);
                  ++result.rejected;
                }
              });
  return result;
}

BatchReplyResult BatchReplyParser::ParseAnswers(std::string_view reply,
                                                const DestinationRecord *chunk,
                                                std::size_t chunkSize,
                                                std::vector<BatchAnswer> &answers) {
  BatchReplyResult result;
  answers.assign(chunkSize, BatchAnswer{});
  std::vector<bool> answered;
  ReadEntries(reply, chunk, chunkSize, answered,
              [&](std::size_t i, bool isAccepted, const std::string &value) {
                BatchAnswer &answer = answers[i];
                if (isAccepted) {
                  answer.kind = BatchAnswer::Kind::Accepted;
                  answer.apiMsgId =
                      (",ID: " + value).substr(0, DestinationRecord::kMaxApiMsgIdChars);
                  answer.error = 0;
                  ++result.accepted;
                } else {
                  answer.kind = BatchAnswer::Kind::Rejected;
                  answer.apiMsgId.clear();
                  answer.error = ErrorCodeOf(value);
                  ++result.rejected;
                }
              });
  return result;
}

} // namespace engine
