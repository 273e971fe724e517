#pragma once
// The program's texts on their way into and out of Qt widgets. Texts inside
// the program are Windows-1252; widgets hold UTF-16. A character the code
// page lacks becomes "?".

#include "shell/InsertFormat.h"

#include <QString>

#include <string>
#include <string_view>

namespace shell {
class NameTables;
class StringTable;
} // namespace shell

namespace ui {

QString FromAnsi(std::string_view ansi);
std::string ToAnsi(const QString &text);

// The process-wide string table when start-up has loaded one, else the
// built-in table.
const shell::StringTable &Strings();
// The process-wide status and type names when start-up has loaded them,
// else the built-in names.
const shell::NameTables &Names();

// The string table's text of an id (Windows-1252).
const std::string &AnsiText(int id);
QString Text(int id);

// A string-table text with numbered inserts ("%1!s!", "%2!d!").
template <class... Args> QString FormatText(int id, const Args &...args) {
  return FromAnsi(shell::InsertFormat(AnsiText(id), args...));
}

} // namespace ui
