#include "DvregCommand.h"

namespace dvreg {

namespace {

// "" and "@" name the key's default value.
std::string ValueName(const std::string &arg) {
  return arg == "@" ? std::string() : arg;
}

std::string ShownName(const std::string &name) {
  return name.empty() ? "@" : name;
}

} // namespace

void DvregCommand::PrintHelp(std::ostream &out) {
  out << "Usage: dvreg [--root DIR] COMMAND ...\n"
         "\n"
         "Edits the registry of Dovetext and Parlink.\n"
         "\n"
         "Commands:\n"
         "  set KEY NAME VALUE   set a value (the key is created when missing)\n"
         "  get KEY NAME         print a value\n"
         "  list KEY             print the subkeys (ending in \\), then the values\n"
         "  delete KEY [NAME]    delete a value, or the key with all its subkeys\n"
         "\n"
         "KEY is written like HKLM\\SOFTWARE\\Quorvane\\Dvtx3 (hives HKLM, HKCR, HKCU or\n"
         "HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT, HKEY_CURRENT_USER). NAME \"\" or @ is\n"
         "the key's default value. Names are case-insensitive.\n"
         "\n"
         "The registry is the folder given by --root, else $DOVETEXT_REGISTRY, else\n"
         "$XDG_CONFIG_HOME/dovetext/registry (~/.config/dovetext/registry).\n"
         "\n"
         "Options:\n"
         "  --root DIR   the registry folder\n"
         "  -h, --help   show this text\n"
         "  --version    show the version\n"
         "\n"
         "Exit status: 0 done, 1 key or value not found, 2 bad usage, 3 write failed.\n";
}

int DvregCommand::Usage(const std::string &message) {
  err_ << "dvreg: " << message << "\nTry 'dvreg --help'.\n";
  return kUsage;
}

bool DvregCommand::ParseKey(const std::string &text, registry::Hive &hive, std::string &key) {
  if (registry::ParseKeyPath(text, hive, key)) return true;
  Usage("not a key (it must start with HKLM, HKCR or HKCU): " + text);
  return false;
}

int DvregCommand::Run(const std::vector<std::string> &argsIn) {
  std::vector<std::string> args = argsIn;
  std::filesystem::path root = registry::DefaultRoot();
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
    PrintHelp(out_);
    return kOk;
  }
  if (!args.empty() && args[0] == "--version") {
    out_ << "dvreg " << DV_VERSION << "\n";
    return kOk;
  }
  if (!args.empty() && args[0] == "--root") {
    if (args.size() < 2 || args[1].empty()) return Usage("--root needs a folder");
    root = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return Usage("no command given");
  registry::Registry reg(root);
  const std::string command = args[0];
  args.erase(args.begin());
  if (command == "set") return Set(reg, args);
  if (command == "get") return Get(reg, args);
  if (command == "list") return List(reg, args);
  if (command == "delete") return Delete(reg, args);
  if (command == "--help" || command == "-h") {
    PrintHelp(out_);
    return kOk;
  }
  return Usage("unknown command: " + command);
}

int DvregCommand::Set(registry::Registry &reg, const std::vector<std::string> &args) {
  if (args.size() != 3) return Usage("set needs KEY NAME VALUE");
  registry::Hive hive;
  std::string key;
  if (!ParseKey(args[0], hive, key)) return kUsage;
  if (!reg.SetValue(hive, key, ValueName(args[1]), args[2])) {
    err_ << "dvreg: cannot write " << ShownName(ValueName(args[1])) << " in " << args[0] << "\n";
    return kWriteFailed;
  }
  return kOk;
}

int DvregCommand::Get(registry::Registry &reg, const std::vector<std::string> &args) {
  if (args.size() != 2) return Usage("get needs KEY NAME");
  registry::Hive hive;
  std::string key;
  if (!ParseKey(args[0], hive, key)) return kUsage;
  std::string name = ValueName(args[1]);
  auto value = reg.GetValue(hive, key, name);
  if (!value) {
    if (!reg.KeyExists(hive, key))
      err_ << "dvreg: key not found: " << args[0] << "\n";
    else
      err_ << "dvreg: value not found: " << ShownName(name) << " in " << args[0] << "\n";
    return kMissing;
  }
  out_ << *value << "\n";
  return kOk;
}

int DvregCommand::List(registry::Registry &reg, const std::vector<std::string> &args) {
  if (args.size() != 1) return Usage("list needs KEY");
  registry::Hive hive;
  std::string key;
  if (!ParseKey(args[0], hive, key)) return kUsage;
  if (!reg.KeyExists(hive, key)) {
    err_ << "dvreg: key not found: " << args[0] << "\n";
    return kMissing;
  }
  for (const std::string &sub : reg.ListSubkeys(hive, key))
    out_ << sub << "\\\n";
  for (const auto &[name, value] : reg.ListValues(hive, key))
    out_ << ShownName(name) << " = " << value << "\n";
  return kOk;
}

int DvregCommand::Delete(registry::Registry &reg, const std::vector<std::string> &args) {
  if (args.empty() || args.size() > 2) return Usage("delete needs KEY [NAME]");
  registry::Hive hive;
  std::string key;
  if (!ParseKey(args[0], hive, key)) return kUsage;
  if (args.size() == 1) {
    if (key.empty()) return Usage("a hive cannot be deleted: " + args[0]);
    if (!reg.DeleteKeyTree(hive, key)) {
      if (reg.KeyExists(hive, key)) {
        err_ << "dvreg: cannot delete " << args[0] << "\n";
        return kWriteFailed;
      }
      err_ << "dvreg: key not found: " << args[0] << "\n";
      return kMissing;
    }
    return kOk;
  }
  std::string name = ValueName(args[1]);
  if (!reg.DeleteValue(hive, key, name)) {
    if (!reg.KeyExists(hive, key)) {
      err_ << "dvreg: key not found: " << args[0] << "\n";
      return kMissing;
    }
    if (!reg.GetValue(hive, key, name)) {
      err_ << "dvreg: value not found: " << ShownName(name) << " in " << args[0] << "\n";
      return kMissing;
    }
    err_ << "dvreg: cannot delete " << ShownName(name) << " in " << args[0] << "\n";
    return kWriteFailed;
  }
  return kOk;
}

} // namespace dvreg
