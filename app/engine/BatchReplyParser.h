#pragma once
// Reads the gateway's answer to one QuickBatchSend: one entry per number,
// "ID: <id> To: <number>" for an accepted number and "ERR: <code>, <text>
// To: <number>" for a rejected one, separated by blanks and line ends.

#include "DestinationRecord.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace engine {

struct BatchReplyResult {
  int accepted = 0;
  int rejected = 0;
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
};

} // namespace engine
