#include "ScriptLexer.h"

namespace {
bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
} // namespace

bool ScriptLexer::IsBlankOrComment(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && IsBlank(line[i]))
    ++i;
  return i == line.size() || line[i] == '#';
}

bool ScriptLexer::Split(std::string_view line, std::vector<ScriptWord> &words, std::string &error) {
  words.clear();
  size_t i = 0;
  while (true) {
    while (i < line.size() && IsBlank(line[i]))
      ++i;
    if (i >= line.size()) return true;
    ScriptWord word;
    if (line[i] == '"') {
      word.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c != '\\') {
          word.text.push_back(c);
          continue;
        }
        if (i >= line.size()) break;
        char e = line[i++];
        switch (e) {
        case '"':
          word.text.push_back('"');
          break;
        case '\\':
          word.text.push_back('\\');
          break;
        case 'n':
          word.text.push_back('\n');
          break;
        case 'r':
          word.text.push_back('\r');
          break;
        case 't':
          word.text.push_back('\t');
          break;
        default:
          error = std::string("unknown escape \\") + e + " in a quoted word";
          return false;
        }
      }
      if (!closed) {
        error = "unterminated quoted word";
        return false;
      }
      if (i < line.size() && !IsBlank(line[i])) {
        error = "a quoted word must be followed by a blank";
        return false;
      }
    } else {
      while (i < line.size() && !IsBlank(line[i])) {
        if (line[i] == '"') {
          error = "a quote inside an unquoted word";
          return false;
        }
        word.text.push_back(line[i++]);
      }
    }
    words.push_back(std::move(word));
  }
}
