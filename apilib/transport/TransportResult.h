// What a transport request gives back: the reply body on success, the
// reason on failure.
#ifndef PARLINK_TRANSPORT_TRANSPORTRESULT_H
#define PARLINK_TRANSPORT_TRANSPORTRESULT_H

#include <string>

namespace parlink {

struct TransportResult {
  bool ok = false;
  std::string text;

  static TransportResult Success(std::string body) { return {true, std::move(body)}; }
  static TransportResult Failure(std::string message) { return {false, std::move(message)}; }
};

// Replies are single lines of text: anything from a NUL byte on is dropped,
// and no more than this many bytes are kept.
inline constexpr size_t kReplyLimit = 16u * 1024u * 1024u;

} // namespace parlink

#endif
