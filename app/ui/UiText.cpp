#include "UiText.h"

#include "shell/NameTables.h"
#include "shell/ProcessObjects.h"
#include "shell/StringTable.h"

#include <codepage/Codepage.h>

namespace ui {

QString FromAnsi(std::string_view ansi) {
  std::u16string wide = codepage::ToUtf16(ansi);
  return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string ToAnsi(const QString &text) {
  return codepage::FromUtf16(reinterpret_cast<const char16_t *>(text.utf16()),
                             static_cast<size_t>(text.size()));
}

const shell::StringTable &Strings() {
  return shell::gStrings ? *shell::gStrings : shell::StringTable::BuiltIn();
}

const shell::NameTables &Names() {
  return shell::gNames ? *shell::gNames : shell::NameTables::Defaults();
}

const std::string &AnsiText(int id) {
  return Strings().Get(id);
}

QString Text(int id) {
  return FromAnsi(AnsiText(id));
}

} // namespace ui
