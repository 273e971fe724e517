// Splits one script line into words: blanks separate words; a word in
// double quotes may hold blanks and the escapes \" \\ \n \r \t.
#ifndef DV_TOOLS_PARLINK_SCRIPTLEXER_H
#define DV_TOOLS_PARLINK_SCRIPTLEXER_H

#include <string>
#include <string_view>
#include <vector>

struct ScriptWord {
  std::string text; // UTF-8, escapes resolved
  bool quoted = false;
};

class ScriptLexer {
public:
  // False with a reason in `error` for an unterminated quote, an unknown
  // escape or a quote inside an unquoted word.
  static bool Split(std::string_view line, std::vector<ScriptWord> &words, std::string &error);
  // True for an empty line (only blanks) or a comment ("#" first).
  static bool IsBlankOrComment(std::string_view line);
};

#endif // DV_TOOLS_PARLINK_SCRIPTLEXER_H
