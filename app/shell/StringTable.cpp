#include "shell/StringTable.h"

#include "shell/StringTableData.h"

#include <fstream>
#include <iterator>

namespace shell {

namespace {

std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 >= text.size()) {
      out.push_back(text[i]);
      continue;
    }
    switch (text[i + 1]) {
    case 'n':
      out.push_back('\n');
      break;
    case 'r':
      out.push_back('\r');
      break;
    case 't':
      out.push_back('\t');
      break;
    case '\\':
      out.push_back('\\');
      break;
    default: // not an escape: both characters stay
      out.push_back('\\');
      out.push_back(text[i + 1]);
      break;
    }
    ++i;
  }
  return out;
}

// The id of a translation line, or -1.
int ParseId(std::string_view digits) {
  if (digits.empty() || digits.size() > 5) return -1;
  int id = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    id = id * 10 + (c - '0');
  }
  return id <= 65535 ? id : -1;
}

} // namespace

StringTable::StringTable() {
  for (std::size_t i = 0; i < kBuiltInStringCount; ++i) {
    texts_[kBuiltInStrings[i].id] = kBuiltInStrings[i].text;
  }
}

const StringTable &StringTable::BuiltIn() {
  static const StringTable table;
  return table;
}

const std::string &StringTable::Get(int id) const {
  static const std::string kEmpty;
  auto it = texts_.find(id);
  return it == texts_.end() ? kEmpty : it->second;
}

bool StringTable::Has(int id) const {
  return texts_.count(id) != 0;
}

void StringTable::Set(int id, std::string text) {
  texts_[id] = std::move(text);
}

int StringTable::LoadTranslation(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return -1;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return -1;
  return LoadTranslationText(bytes);
}

int StringTable::LoadTranslationText(std::string_view bytes) {
  int count = 0;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) continue;
    int id = ParseId(line.substr(0, tab));
    if (id < 0) continue;
    texts_[id] = Unescape(line.substr(tab + 1));
    ++count;
  }
  return count;
}

} // namespace shell
