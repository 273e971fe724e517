// One step of a parlink script: an operation on a member of the object.
#ifndef DV_TOOLS_PARLINK_SCRIPTSTEP_H
#define DV_TOOLS_PARLINK_SCRIPTSTEP_H

#include "ScriptLexer.h"

#include <istream>
#include <string>
#include <vector>

struct ScriptStep {
  enum class Op { Set, Get, Call };
  int line = 0;
  Op op = Op::Get;
  std::string name;
  std::vector<ScriptWord> args;

  const char *OpName() const;
};

// Reads a whole script; false with the line number and reason of the first
// line that is not a step.
class ScriptReader {
public:
  static bool Read(std::istream &in, std::vector<ScriptStep> &steps, int &badLine,
                   std::string &error);
  // One line (already known not to be blank or a comment).
  static bool ParseLine(std::string_view line, ScriptStep &step, std::string &error);
};

#endif // DV_TOOLS_PARLINK_SCRIPTSTEP_H
