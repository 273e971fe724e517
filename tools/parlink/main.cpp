// parlink: the command-line automation client. It creates one object by
// programmatic identifier and runs a script from standard input on it, one
// step per line (see --help).

#include "DispatchClient.h"
#include "MemberCatalog.h"
#include "ResultPrinter.h"
#include "ScriptStep.h"

#include <automation/automation.h>
#include <codepage/Codepage.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitNoObject = 1;
constexpr int kExitScript = 2;

void PrintHelp(FILE *out) {
  std::fputs("Usage: parlink [--progid ID] [--json] < SCRIPT\n"
             "\n"
             "Creates one automation object by its programmatic identifier (default\n"
             "\"Parlink.SMS\") and runs the script read from standard input on it, one step per\n"
             "line, so that a session opened by one step serves the next.\n"
             "\n"
             "Steps:\n"
             "  set NAME VALUE       property put; VALUE is converted to the property's type\n"
             "  get NAME             property get\n"
             "  call NAME [ARG ...]  method call; arguments are converted to the parameter\n"
             "                       types; trailing optional arguments may be left out and\n"
             "                       take their defaults\n"
             "Words are separated by blanks. A word in double quotes may hold blanks and the\n"
             "escapes \\\" \\\\ \\n \\r \\t. Text is UTF-8. Integers are decimal (32-bit);\n"
             "booleans are true, false, -1, 0 or 1. The unquoted word null passes a null\n"
             "string; a quoted \"null\" is the four-letter text. Empty lines and lines whose\n"
             "first non-blank character is # are ignored. Names ignore letter case.\n"
             "\n"
             "Output, one line per step:\n"
             "  set:   hr=0xXXXXXXXX\n"
             "  get:   NAME=VALUE\n"
             "  call:  hr=0xXXXXXXXX result=TEXT\n"
             "VALUE and TEXT have \\, newline and carriage return written as \\\\, \\n and \\r;\n"
             "booleans read true or false. hr is the member's own status code (for a failure\n"
             "raised as an exception, the exception's code).\n"
             "With --json each line is a JSON object with \"op\", \"name\", \"hr\" (unsigned\n"
             "32-bit number) and \"value\" (set, get) or \"result\" (call), a string or null\n"
             "when there is none; a call adds \"smsERROR\" and \"smsERROR_DESC\" read right\n"
             "after it and \"errorinfo\", the description of the error object when the call\n"
             "failed with E_FAIL (0x80004005), else null.\n"
             "\n"
             "The whole script is checked before its first step runs: nothing is sent when\n"
             "a line is wrong.\n"
             "\n"
             "Options:\n"
             "  --progid ID  the class to create (default Parlink.SMS)\n"
             "  --json       JSON output\n"
             "  -h, --help   this text\n"
             "  --version    the version\n"
             "\n"
             "Exit status: 0 when every step ran (whatever the gateway answered); 1 when\n"
             "the object cannot be created; 2 for a usage error, a line that cannot be\n"
             "parsed, an unknown member name, a member used the wrong way or a value that\n"
             "does not fit (the line number is named on standard error).\n",
             out);
}

std::string HrText(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
  return text;
}

struct Options {
  std::string progId = "Parlink.SMS";
  bool json = false;
};

// 0 to go on, else the exit status.
int ParseOptions(int argc, char **argv, Options &options, bool &done) {
  done = false;
  for (int i = 1; i < argc; ++i) {
    const char *arg = argv[i];
    if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
      PrintHelp(stdout);
      done = true;
      return kExitOk;
    }
    if (std::strcmp(arg, "--version") == 0) {
      std::printf("parlink %s\n", DV_VERSION);
      done = true;
      return kExitOk;
    }
    if (std::strcmp(arg, "--json") == 0) {
      options.json = true;
    } else if (std::strcmp(arg, "--progid") == 0 && i + 1 < argc) {
      options.progId = argv[++i];
    } else if (std::strncmp(arg, "--progid=", 9) == 0) {
      options.progId = arg + 9;
    } else {
      std::fprintf(stderr, "parlink: unexpected argument %s (see --help)\n", arg);
      done = true;
      return kExitScript;
    }
  }
  return kExitOk;
}

class Apartment {
public:
  Apartment() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~Apartment() {
    if (ok_) CoUninitialize();
  }
  bool Ok() const { return ok_; }

private:
  bool ok_;
};

} // namespace

int main(int argc, char **argv) {
  Options options;
  bool done = false;
  int status = ParseOptions(argc, argv, options, done);
  if (done) return status;

  std::vector<ScriptStep> steps;
  int badLine = 0;
  std::string error;
  if (!ScriptReader::Read(std::cin, steps, badLine, error)) {
    std::fprintf(stderr, "parlink: line %d: %s\n", badLine, error.c_str());
    return kExitScript;
  }

  Apartment apartment;
  if (!apartment.Ok()) {
    std::fprintf(stderr, "parlink: cannot initialise automation\n");
    return kExitNoObject;
  }
  CLSID clsid{};
  const std::u16string progId = codepage::Utf8ToUtf16(options.progId);
  HRESULT hr = CLSIDFromProgID(progId.c_str(), &clsid);
  IDispatch *object = nullptr;
  if (SUCCEEDED(hr)) {
    hr = CoCreateInstance(&clsid, nullptr, CLSCTX_INPROC_SERVER, &IID_IDispatch,
                          reinterpret_cast<void **>(&object));
  }
  if (FAILED(hr) || object == nullptr) {
    std::fprintf(stderr, "parlink: cannot create %s: %s\n", options.progId.c_str(),
                 HrText(FAILED(hr) ? hr : E_POINTER).c_str());
    return kExitNoObject;
  }

  MemberCatalog catalog;
  catalog.Load(object);
  DispatchClient client(object, catalog);

  std::vector<PreparedStep> prepared;
  prepared.reserve(steps.size());
  for (const ScriptStep &step : steps) {
    PreparedStep p;
    if (!client.Prepare(step, p, error)) {
      std::fprintf(stderr, "parlink: line %d: %s\n", step.line, error.c_str());
      prepared.clear();
      object->Release();
      return kExitScript;
    }
    prepared.push_back(std::move(p));
  }

  ResultPrinter printer(stdout, options.json);
  for (PreparedStep &p : prepared) {
    StepOutcome outcome = client.Run(p, options.json);
    printer.Print(*p.step, outcome);
    // A plain get line has no room for the status: a failed read is told here.
    if (!options.json && p.step->op == ScriptStep::Op::Get && FAILED(outcome.hr)) {
      std::fprintf(stderr, "parlink: line %d: get %s failed: %s\n", p.step->line,
                   p.step->name.c_str(), HrText(outcome.hr).c_str());
    }
  }
  prepared.clear();
  object->Release();
  return kExitOk;
}
