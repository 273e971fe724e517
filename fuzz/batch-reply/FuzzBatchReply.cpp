// The reply to one QuickBatchSend chunk. The input is the chunk's numbers
// (comma-separated), a zero byte, and the gateway's reply. Both readings of
// the reply must agree and stay inside the chunk.
#include "engine/BatchReplyParser.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char *>(data), size);
  const std::size_t zero = input.find('\0');
  if (zero == std::string_view::npos) return 0;
  std::string_view numbers = input.substr(0, zero);
  std::string_view reply = input.substr(zero + 1);

  engine::DestinationList chunk;
  while (!numbers.empty() && chunk.size() < 200) {
    const std::size_t comma = numbers.find(',');
    engine::DestinationRecord record;
    record.SetNumber(numbers.substr(0, comma));
    record.SetToToken(numbers.substr(0, comma));
    chunk.push_back(record);
    numbers = comma == std::string_view::npos ? std::string_view() : numbers.substr(comma + 1);
  }

  std::vector<bool> answered;
  engine::DestinationList accepted, failed;
  const engine::BatchReplyResult listed = engine::BatchReplyParser::Parse(
      reply, chunk.data(), chunk.size(), answered, accepted, failed);
  std::vector<engine::BatchAnswer> answers;
  const engine::BatchReplyResult perRecord =
      engine::BatchReplyParser::ParseAnswers(reply, chunk.data(), chunk.size(), answers);

  if (answered.size() != chunk.size() || answers.size() != chunk.size()) std::abort();
  if (listed.accepted != perRecord.accepted || listed.rejected != perRecord.rejected) std::abort();
  if (accepted.size() != static_cast<std::size_t>(listed.accepted) ||
      failed.size() != static_cast<std::size_t>(listed.rejected))
    std::abort();
  std::size_t named = 0;
  for (std::size_t i = 0; i < chunk.size(); ++i) {
    const bool any = answers[i].kind != engine::BatchAnswer::Kind::None;
    if (any != answered[i]) std::abort();
    named += any;
    if (answers[i].apiMsgId.size() > engine::DestinationRecord::kMaxApiMsgIdChars) std::abort();
  }
  if (named > chunk.size()) std::abort();
  for (const engine::DestinationRecord &record : accepted) {
    bool inChunk = false;
    for (const engine::DestinationRecord &c : chunk)
      inChunk = inChunk || c.Number() == record.Number();
    if (!inChunk || record.ApiMsgId().substr(0, 5) != ",ID: ") std::abort();
  }
  return 0;
}
