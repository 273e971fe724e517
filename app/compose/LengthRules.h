#pragma once
// The length figures of a message: what one message holds, what each part of
// a long (concatenated) message holds, and the longest text the page allows
// with and without `SpanSMS`. Unicode messages (type 2) have their own row.

namespace compose {

struct LengthRules {
  int single = 160;        // one message holds
  int perPart = 153;       // each part of a long message holds
  int longestSingle = 160; // longest text, SpanSMS off
  int longestSpan = 459;   // longest text, SpanSMS on

  static LengthRules ForType(int type);
  static LengthRules Unicode() { return {70, 63, 70, 189}; }
  static LengthRules Plain() { return {160, 153, 160, 459}; }

  int Longest(bool spanSms) const { return spanSms ? longestSpan : longestSingle; }
  // Number of messages a text of the counted length needs (1 for an empty
  // text).
  int Parts(int length) const;
};

inline constexpr int kTypeUnicode = 2;

} // namespace compose
