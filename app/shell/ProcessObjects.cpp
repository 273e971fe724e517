#include "shell/ProcessObjects.h"

namespace shell {

Settings *gSettings = nullptr;
SettingsFile *gSettingsFile = nullptr;
Logger *gLogger = nullptr;
StringTable *gStrings = nullptr;
NameTables *gNames = nullptr;

} // namespace shell
