// Writes one line per executed step: plain text or one JSON object.
#ifndef DV_TOOLS_PARLINK_RESULTPRINTER_H
#define DV_TOOLS_PARLINK_RESULTPRINTER_H

#include "DispatchClient.h"

#include <cstdio>
#include <string>

class ResultPrinter {
public:
  ResultPrinter(FILE *out, bool json) : out_(out), json_(json) {}

  void Print(const ScriptStep &step, const StepOutcome &outcome) const;

  // The plain form of a step's output line (without the line end).
  static std::string PlainLine(const ScriptStep &step, const StepOutcome &outcome);
  static std::string JsonLine(const ScriptStep &step, const StepOutcome &outcome);
  // "\" "\n" "\r" written as "\\" "\n" "\r".
  static std::string Escape(const std::string &text);

private:
  FILE *out_;
  bool json_;
};

#endif // DV_TOOLS_PARLINK_RESULTPRINTER_H
