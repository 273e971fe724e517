#include "ResultPrinter.h"

#include "ValueConverter.h"

#include <nlohmann/json.hpp>

#include <cinttypes>

namespace {

std::string HrText(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08" PRIX32, static_cast<uint32_t>(hr));
  return text;
}

nlohmann::json OptionalText(const std::optional<std::string> &text) {
  return text ? nlohmann::json(*text) : nlohmann::json(nullptr);
}

} // namespace

std::string ResultPrinter::Escape(const std::string &text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    default:
      out.push_back(c);
    }
  }
  return out;
}

std::string ResultPrinter::PlainLine(const ScriptStep &step, const StepOutcome &outcome) {
  switch (step.op) {
  case ScriptStep::Op::Set:
    return "hr=" + HrText(outcome.hr);
  case ScriptStep::Op::Get:
    return step.name + "=" + Escape(outcome.value.value_or(std::string()));
  case ScriptStep::Op::Call:
    return "hr=" + HrText(outcome.hr) + " result=" + Escape(outcome.value.value_or(std::string()));
  }
  return {};
}

std::string ResultPrinter::JsonLine(const ScriptStep &step, const StepOutcome &outcome) {
  nlohmann::ordered_json line;
  line["op"] = step.OpName();
  line["name"] = step.name;
  line["hr"] = static_cast<uint32_t>(outcome.hr);
  switch (step.op) {
  case ScriptStep::Op::Set: {
    const ScriptWord &word = step.args.at(0);
    line["value"] =
        ValueConverter::IsNullWord(word) ? nlohmann::json(nullptr) : nlohmann::json(word.text);
    break;
  }
  case ScriptStep::Op::Get:
    line["value"] = OptionalText(outcome.value);
    break;
  case ScriptStep::Op::Call:
    line["result"] = OptionalText(outcome.value);
    line["smsERROR"] =
        outcome.smsError ? nlohmann::json(*outcome.smsError) : nlohmann::json(nullptr);
    line["smsERROR_DESC"] = OptionalText(outcome.smsErrorDesc);
    line["errorinfo"] =
        outcome.hr == E_FAIL ? OptionalText(outcome.errorInfo) : nlohmann::json(nullptr);
    break;
  }
  return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void ResultPrinter::Print(const ScriptStep &step, const StepOutcome &outcome) const {
  const std::string line = json_ ? JsonLine(step, outcome) : PlainLine(step, outcome);
  std::fputs(line.c_str(), out_);
  std::fputc('\n', out_);
  std::fflush(out_);
}
