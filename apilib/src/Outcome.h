// What an operation yields: success or failure, and the result text.
#ifndef PARLINK_SRC_OUTCOME_H
#define PARLINK_SRC_OUTCOME_H

#include <string>

namespace parlink {

struct Outcome {
  bool ok = true;
  std::string text; // Windows-1252

  static Outcome Success(std::string text) { return {true, std::move(text)}; }
  static Outcome Failure(std::string text) { return {false, std::move(text)}; }
};

} // namespace parlink

#endif
