#pragma once
// The notes the engine keeps with a message whose sending did not end in a
// plain outcome (see store::SendRecord); the details text shows them, so
// the user knows whether sending the message again is safe.

#include <cstddef>

namespace engine {

struct SendNotes {
  // A single send in flight when the program ended; asked about later.
  static constexpr const char *kInFlight =
      "outcome unknown after interruption: it is checked with the gateway";
  // A single send whose answer never came; asked about later.
  static constexpr const char *kNoAnswer =
      "outcome unknown: the gateway's answer did not arrive; it is checked with the gateway";
  // The gateway does not know the client message id.
  static constexpr const char *kNeverReached =
      "never reached the gateway: sending it again is safe";
  // A number of a batch request in flight when the program ended.
  static constexpr const char *kBatchInterrupted =
      "outcome unknown after interruption: the gateway may have accepted it, check with the "
      "recipient before sending it again";
  // A number of a batch request that the gateway's answer did not mention.
  static constexpr const char *kBatchNoAnswer =
      "outcome unknown: the gateway did not answer for this number, check with the recipient "
      "before sending it again";
  // The batch could not be opened: no number was sent.
  static constexpr const char *kBatchNotStarted =
      "the batch could not be started: nothing was sent";
  static constexpr const char *kNotEncoded = "the text could not be encoded: nothing was sent";
  // Followed by the gateway's answer.
  static constexpr const char *kRefused = "refused by the gateway: ";
  static constexpr std::size_t kMaxNoteChars = 200;
};

} // namespace engine
