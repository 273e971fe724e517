#pragma once
// Reads the gateway's answer to one QuickBatchSend: one entry per number,
// "ID: <id> To: <number>" for an accepted number and "ERR: <code>, <text>
// To: <number>" for a rejected one, separated by blanks and line ends.

#include "DestinationRecord.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

struct BatchReplyResult {
  int accepted = 0;
  int rejected = 0;
};

// What the reply said about one number of the chunk.
struct BatchAnswer {
  enum class Kind { None, Accepted, Rejected };
  Kind kind = Kind::None;
  // Accepted: ",ID: " and the id, at most 38 characters.
  std::string apiMsgId;
  // Rejected: the gateway's error code (the number after "ERR:"), 0 when
  // the entry carries none.
  int error = 0;
};

class BatchReplyParser {
public:
  // Matches the reply's entries against the records of one chunk. An
  // accepted number appends a record (contact id 0, the number, the
  // chunk record's To token, error 0, API message id ",ID: " and the id)
  // to `accepted`; a rejected one appends a record with error 99 to
  // `failed`. `answered[i]` is set for every chunk record an entry named;
  // when a number occurs twice in a chunk, entries go to its records in
  // turn. Entries naming a number outside the chunk are ignored.
  static BatchReplyResult Parse(std::string_view reply, const DestinationRecord *chunk,
                                std::size_t chunkSize, std::vector<bool> &answered,
                                DestinationList &accepted, DestinationList &failed);
  // The same reading, as one answer per chunk record (None for a record no
  // entry named).
  static BatchReplyResult ParseAnswers(std::string_view reply, const DestinationRecord *chunk,
                                       std::size_t chunkSize, std::vector<BatchAnswer> &answers);
};

} // namespace engine
