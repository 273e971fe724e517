#pragma once
// What the program knows about the sending of one message beyond its row:
// the client message id the gateway received with it, whether the outcome
// of that send is still unknown (the answer never came: a crash, a fault,
// a lost connection), a note for the user, and the progress through the
// destinations of a message that is being expanded. Kept in the table
// SMS_SEND beside SMS, one row per message ID.

#include <string>

namespace store {

struct SendRecord {
  int ID = 0;
  // The cliMsgId sent with the message (empty when none was sent).
  std::string CliMsgID = {};
  // Sent, or being sent, with no answer recorded: the gateway must be asked
  // (by CliMsgID) before anything else happens to the message.
  bool OutcomeUnknown = false;
  // Shown with the message's details; empty for none.
  std::string Note = {};
  // A message with several destinations while it is being sent: how many
  // destinations (in resolution order) already have their child row, and
  // how many follow them in the request in flight. -1 when no expansion is
  // in progress.
  int ExpandDone = -1;
  int ExpandInFlight = 0;
  // The expansion goes as a gateway batch (1) or one request per
  // destination (0).
  bool ExpandBatch = false;

  bool Expanding() const { return ExpandDone >= 0; }
};

} // namespace store
