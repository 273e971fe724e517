#include "ScriptStep.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

} // namespace

const char *ScriptStep::OpName() const {
  switch (op) {
  case Op::Set:
    return "set";
  case Op::Get:
    return "get";
  case Op::Call:
    return "call";
  }
  return "";
}

bool ScriptReader::ParseLine(std::string_view line, ScriptStep &step, std::string &error) {
  std::vector<ScriptWord> words;
  if (!ScriptLexer::Split(line, words, error)) return false;
  if (words.empty()) {
    error = "empty step";
    return false;
  }
  const std::string op = words[0].quoted ? std::string() : Lower(words[0].text);
  if (op == "set") {
    step.op = ScriptStep::Op::Set;
  } else if (op == "get") {
    step.op = ScriptStep::Op::Get;
  } else if (op == "call") {
    step.op = ScriptStep::Op::Call;
  } else {
    error = "unknown operation \"" + words[0].text + "\" (expected set, get or call)";
    return false;
  }
  if (words.size() < 2 || words[1].quoted || words[1].text.empty()) {
    error = std::string(step.OpName()) + " needs a member name";
    return false;
  }
  step.name = words[1].text;
  step.args.assign(words.begin() + 2, words.end());
  if (step.op == ScriptStep::Op::Set && step.args.size() != 1) {
    error = "set needs exactly one value: set NAME VALUE";
    return false;
  }
  if (step.op == ScriptStep::Op::Get && !step.args.empty()) {
    error = "get takes no value: get NAME";
    return false;
  }
  return true;
}

bool ScriptReader::Read(std::istream &in, std::vector<ScriptStep> &steps, int &badLine,
                        std::string &error) {
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (ScriptLexer::IsBlankOrComment(line)) continue;
    ScriptStep step;
    step.line = number;
    if (!ParseLine(line, step, error)) {
      badLine = number;
      return false;
    }
    steps.push_back(std::move(step));
  }
  return true;
}
