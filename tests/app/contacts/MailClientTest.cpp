// The mail clients: discovery from desktop entries and mimeapps.list in fake
// XDG folders, their registration in the registry and the start-up check,
// and the rules of the read (route, force, failure messages).
#include "TreeText.h"

#include "contacts/AddressBookReader.h"
#include "contacts/MailClientDiscovery.h"
#include "contacts/MailClientRegistry.h"
#include "contacts/MailRouting.h"

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace contacts;
namespace fs = std::filesystem;

namespace {

void WriteEntry(const fs::path &folder, const std::string &id, const std::string &body) {
  fs::create_directories(folder);
  testsupport::WriteFile(folder / id, "[Desktop Action x]\nName=Wrong\n[Desktop Entry]\n" + body);
}

const char *const kMailto = "MimeType=text/html;x-scheme-handler/mailto;\nType=Application\n";

struct FakeDesktop {
  fs::path home, dataHome, dataDir, configHome, configDir, flatpak;
  DesktopFolders folders;

  FakeDesktop() {
    fs::path base = testsupport::MakeTempDir("desktop");
    home = base / "home";
    dataHome = base / "data-home";
    dataDir = base / "usr-share";
    configHome = base / "config-home";
    configDir = base / "etc-xdg";
    flatpak = base / "flatpak-exports";
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    setenv("XDG_DATA_DIRS", dataDir.c_str(), 1);
    setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    setenv("XDG_CONFIG_DIRS", configDir.c_str(), 1);
    setenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME", 1);
    folders = DesktopFolders::FromEnvironment({flatpak});
  }
  void Profiles(const fs::path &root) {
    fs::create_directories(root);
    testsupport::WriteFile(root / "profiles.ini", "[Profile0]\nName=x\nPath=x\n");
  }
};

std::vector<std::string> Names(const std::vector<MailClient> &clients) {
  std::vector<std::string> names;
  for (const auto &c : clients)
    names.push_back(c.name);
  return names;
}

class ScriptedChooser : public MailClientChooser {
public:
  std::optional<std::string> answer;
  std::vector<std::string> offered;
  int preselected = -1;
  int asked = 0;
  std::optional<std::string> Choose(const std::vector<std::string> &clients, int pre) override {
    ++asked;
    offered = clients;
    preselected = pre;
    return answer;
  }
};

} // namespace

TEST(MailClients, FoundFromDesktopEntriesAndTheDefaultHandlerFromMimeapps) {
  FakeDesktop d;
  WriteEntry(d.dataDir / "applications", "org.gnome.Evolution.desktop",
             std::string("Name=Evolution\nExec=evolution %U\n") + kMailto);
  WriteEntry(d.dataDir / "applications", "org.gnome.Geary.desktop",
             std::string("Name=Geary\nExec=geary %U\n") + kMailto);
  WriteEntry(d.dataDir / "applications", "thunderbird.desktop", "Name=Old\nExec=thunderbird\n");
  // The user's entry wins over the system's with the same ID.
  WriteEntry(d.dataHome / "applications", "thunderbird.desktop",
             std::string("Name=Thunderbird Mail\nExec=thunderbird %u\n") + kMailto);
  WriteEntry(d.flatpak, "org.mozilla.Thunderbird.desktop",
             std::string("Name=Thunderbird Mail\nExec=/usr/bin/flatpak run org.mozilla.Thunderbird\n") +
                 kMailto);
  WriteEntry(d.dataHome / "applications", "hidden-evolution.desktop",
             std::string("Name=Hidden\nExec=evolution\nHidden=true\n") + kMailto);
  d.Profiles(d.home / ".thunderbird");
  d.Profiles(d.home / ".var/app/org.mozilla.Thunderbird/.thunderbird");

  MailClientDiscovery discovery(d.folders, d.home, true);
  auto clients = discovery.ReadableClients();
  EXPECT_EQ(Names(clients), (std::vector<std::string>{"Evolution", "Thunderbird Mail",
                                                      "Thunderbird Mail (thunderbird.desktop)"}));
  EXPECT_EQ(clients[1].profileRoot, d.home / ".var/app/org.mozilla.Thunderbird/.thunderbird");
  EXPECT_EQ(clients[2].profileRoot, d.home / ".thunderbird");

  // Without the data server Evolution cannot be read.
  EXPECT_EQ(Names(MailClientDiscovery(d.folders, d.home, false).ReadableClients()),
            (std::vector<std::string>{"Thunderbird Mail", "Thunderbird Mail (thunderbird.desktop)"}));

  // mimeapps.list in the XDG order: the desktop's own list in the config
  // home first; a handler that is not installed is passed over.
  testsupport::WriteFile(d.dataDir / "applications" / "mimeapps.list",
                         "[Default Applications]\nx-scheme-handler/mailto=org.gnome.Geary.desktop\n");
  EXPECT_EQ(discovery.DefaultMailtoHandler(), "org.gnome.Geary.desktop");
  fs::create_directories(d.configHome);
  testsupport::WriteFile(d.configHome / "mimeapps.list",
                         "[Added Associations]\nx-scheme-handler/mailto=thunderbird.desktop\n"
                         "[Default Applications]\nx-scheme-handler/mailto=thunderbird.desktop\n");
  EXPECT_EQ(discovery.DefaultMailtoHandler(), "thunderbird.desktop");
  testsupport::WriteFile(d.configHome / "gnome-mimeapps.list",
                         "[Default Applications]\nx-scheme-handler/mailto=gone.desktop;"
                         "org.mozilla.Thunderbird.desktop;\n");
  EXPECT_EQ(discovery.DefaultMailtoHandler(), "org.mozilla.Thunderbird.desktop");
}

TEST(MailClients, ReadableBooksWithoutADesktopEntryAreOfferedToo) {
  FakeDesktop d;
  d.Profiles(d.home / ".thunderbird");
  auto clients = MailClientDiscovery(d.folders, d.home, true).ReadableClients();
  EXPECT_EQ(Names(clients), (std::vector<std::string>{"Evolution Data Server", "Thunderbird"}));
  EXPECT_TRUE(MailClientDiscovery(d.folders, d.home / "nobody", false).ReadableClients().empty());
}

TEST(MailClients, RegistrationAndTheStartUpCheck) {
  MailClientRegistry reg(registry::Registry(testsupport::MakeTempDir("reg")));
  std::vector<MailClient> clients{{"Evolution", "org.gnome.Evolution.desktop",
                                   MailClientKind::Evolution, {}},
                                  {"Thunderbird", "thunderbird.desktop",
                                   MailClientKind::Thunderbird, "/h/.thunderbird"}};
  reg.Publish(clients);
  EXPECT_EQ(reg.ClientNames(), (std::vector<std::string>{"Evolution", "Thunderbird"}));
  EXPECT_EQ(reg.Client("thunderbird")->profileRoot, "/h/.thunderbird");

  // Not registered: the user is asked, the default handler preselected.
  ScriptedChooser chooser;
  chooser.answer = "Thunderbird";
  EXPECT_EQ(MailRouting::Check(reg, false, "thunderbird.desktop", chooser),
            MailRouting::Outcome::Registered);
  EXPECT_EQ(chooser.offered, reg.ClientNames());
  EXPECT_EQ(chooser.preselected, 1);
  EXPECT_EQ(reg.RegisteredClient(), "Thunderbird");
  EXPECT_EQ(MailRouting::Check(reg, false, "", chooser), MailRouting::Outcome::AlreadyRegistered);
  EXPECT_EQ(chooser.asked, 1);
  chooser.answer.reset();
  EXPECT_EQ(MailRouting::Check(reg, true, "", chooser), MailRouting::Outcome::Kept);
  EXPECT_EQ(chooser.preselected, 0);

  // A client that is gone leaves the program unregistered; cancelling then
  // fails.
  reg.Publish({clients[0]});
  EXPECT_EQ(reg.ClientNames(), (std::vector<std::string>{"Evolution"}));
  EXPECT_FALSE(reg.RegisteredClient().has_value());
  EXPECT_EQ(MailRouting::Check(reg, false, "", chooser), MailRouting::Outcome::Failed);
}

TEST(AddressBookRead, RouteForceAndFailureRules) {
  fs::path regRoot = testsupport::MakeTempDir("reg");
  registry::Registry raw(regRoot);
  fs::path cards = testsupport::MakeTempDir("cards") / "mine.vcf";
  testsupport::WriteFile(cards, "BEGIN:VCARD\nFN:Al\nTEL;CELL:1\nEND:VCARD\n");
  raw.SetValue(registry::Hive::LocalMachine, MailClientRegistry::kVCardPathKey, "", cards.string());
  AddressBookReader reader{AddressBookAccess(), MailClientRegistry(raw)};
  // A path too long for its buffer is refused, not cut to another path.
  registry::Registry tooLong(testsupport::MakeTempDir("reg"));
  tooLong.SetValue(registry::Hive::LocalMachine, MailClientRegistry::kVCardPathKey, "",
                   "/" + std::string(259, 'x'));
  EXPECT_EQ(MailClientRegistry(tooLong).VCardPath(), "");
  const auto vcards = AddressBookRoute::VCards, mail = AddressBookRoute::MailClient;

  EXPECT_TRUE(reader.NeedsRead(vcards, false));
  ReadPlan plan = reader.Plan(vcards, "");
  EXPECT_EQ(plan.vcardLocations.front(), cards);
  ReadResult result = AddressBookReader::Run(plan, {});
  EXPECT_FALSE(AddressBookReader::FailureMessage(result).has_value());
  reader.Accept(result);
  EXPECT_EQ(TreeText(reader.Tree()->Root()), "root\n  mine\n    Al = 1\n");
  EXPECT_FALSE(reader.NeedsRead(vcards, false));
  EXPECT_TRUE(reader.NeedsRead(vcards, true));
  EXPECT_TRUE(reader.NeedsRead(mail, false));

  // No mail access: the mail-client route reads nothing and says nothing.
  result = AddressBookReader::Run(reader.Plan(mail, ""), {});
  EXPECT_EQ(result.outcome, ReadOutcome::Read);
  EXPECT_EQ(TreeText(result.tree->Root()), "root\n");

  // A cancelled read changes nothing; a failed one empties the tree.
  reader.Accept({vcards, ReadOutcome::Cancelled, nullptr});
  EXPECT_TRUE(reader.Tree()->IsRead());
  ReadResult failed{vcards, ReadOutcome::OpenFailed, nullptr};
  reader.Accept(failed);
  EXPECT_FALSE(reader.Tree()->IsRead());
  EXPECT_TRUE(reader.NeedsRead(vcards, false));
  auto message = AddressBookReader::FailureMessage(failed);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->captionId, 1504);
  EXPECT_EQ(message->textId, 1506);
  EXPECT_EQ(AddressBookReader::FailureMessage({mail, ReadOutcome::OpenFailed, nullptr})->textId,
            1505);
  EXPECT_EQ(AddressBookReader::FailureMessage({mail, ReadOutcome::Failed, nullptr})->textId, 1337);
}

TEST(AddressBookRead, TheMailClientRouteReadsTheRegisteredClient) {
  FakeDesktop d;
  fs::path tb = d.home / ".thunderbird";
  d.Profiles(tb);
  MailClientRegistry reg(registry::Registry(testsupport::MakeTempDir("reg")));
  std::vector<MailClient> clients{{"Evolution", "evo.desktop", MailClientKind::Evolution, {}},
                                  {"Thunderbird", "tb.desktop", MailClientKind::Thunderbird, tb}};
  reg.Publish(clients);
  AddressBookAccess access(clients, "tb.desktop");
  AddressBookReader reader(access, reg);

  // Unregistered: the default handler's client; registered: that one.
  EXPECT_EQ(reader.Plan(AddressBookRoute::MailClient, "").client->name, "Thunderbird");
  ReadPlan plan = reader.Plan(AddressBookRoute::MailClient, "work");
  EXPECT_EQ(plan.profileName, "work");
  EXPECT_EQ(plan.profileRoots, (std::vector<fs::path>{tb}));
  reg.Register("evolution");
  EXPECT_EQ(AddressBookReader(access, reg).Plan(AddressBookRoute::MailClient, "").client->name,
            "Evolution");
}
