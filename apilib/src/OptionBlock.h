// The message options appended to send, batch and over-the-air bodies.
#ifndef PARLINK_SRC_OPTIONBLOCK_H
#define PARLINK_SRC_OPTIONBLOCK_H

#include <automation/automation.h>

#include <string>

namespace parlink {

struct SmsState;

struct OptionBlockLines {
  bool withTo = true;         // the batch start leaves "to" out
  bool forceTextType = false; // send "SMS_TEXT" whatever smsMSG_TYPE says
};

// The word sent as msg_type for a message type value.
const char *MessageTypeWord(LONG msgType);

void AppendOptionBlock(std::string &body, SmsState &state, OptionBlockLines lines = {});

} // namespace parlink

#endif
