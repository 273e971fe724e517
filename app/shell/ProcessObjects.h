#pragma once
// The program's process-wide objects of the shell. Start-up creates them in
// a fixed order and sets these pointers; shut-down deletes them in reverse
// order. Other code only reads through them and never deletes them; code
// that can take its collaborators as arguments should do so instead.

namespace shell {

class Logger;
class NameTables;
class SettingsFile;
class StringTable;
struct Settings;

extern Settings *gSettings;
extern SettingsFile *gSettingsFile;
extern Logger *gLogger;
extern StringTable *gStrings;
extern NameTables *gNames;

} // namespace shell
