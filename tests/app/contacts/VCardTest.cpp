// Personal vCards: the phone and mail-client exports in address-books/vcard
// (folding, quoted-printable, character sets, every way of marking a mobile
// number), groups, and the places the cards are looked for.
#include "TreeText.h"

#include "contacts/MobileNumber.h"
#include "contacts/VCardSource.h"

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <cstdlib>

using contacts::AddressBookTree;
using contacts::MobileNumber;
using contacts::ReadOutcome;
using contacts::VCardSource;

namespace fs = std::filesystem;

namespace {

std::string ReadInto(const std::vector<fs::path> &places, ReadOutcome expected = ReadOutcome::Read) {
  AddressBookTree tree;
  VCardSource source(places);
  EXPECT_EQ(source.Read(tree.Root(), {}), expected);
  return TreeText(tree.Root());
}

const char *const kMultiTree = "root\n"
                               "  multi\n"
                               "    Alice Ämmälä with a very long name that is soft broken = "
                               "+358401234567\n"
                               "    Alice Ämmälä with a very long name that is soft broken = "
                               "0401112222\n"
                               "    Jürgen Müller = +4915112345678\n"
                               "    Raw Müller = +49151999\n"
                               "    Bob Smith with a folded name = +15550100\n"
                               "    Bob Smith with a folded name = +15550142\n"
                               "    Ivy Iphone = +447700900001\n"
                               "    Carol Four = +15555550001\n"
                               "    Carol Four = +15555550002\n";

} // namespace

TEST(VCards, CardsOfEveryVersionGiveOneEntryPerMobileNumber) {
  EXPECT_EQ(ReadInto({AddressBookSample("vcard/multi.vcf")}), kMultiTree);
  std::string lf = ReadInto({AddressBookSample("vcard/multi_lf.vcf")});
  EXPECT_EQ(lf.replace(lf.find("multi_lf"), 8, "multi"), kMultiTree);
}

TEST(VCards, PhoneExportWithSoftBreaksAndLowerCaseNames) {
  // Cyrillic has no Windows-1252 letters; "X-Mobil" is no mobile type.
  EXPECT_EQ(ReadInto({AddressBookSample("vcard/android.vcf")}), "root\n"
                                                               "  android\n"
                                                               "    ???? ?????? Long = +79000000000\n"
                                                               "    Lower Case = +1222\n");
}

TEST(VCards, RawBytesWithoutCharsetAreWindows1252) {
  fs::path file = testsupport::MakeTempDir("raw") / "raw.vcf";
  testsupport::WriteFile(file, "BEGIN:VCARD\nVERSION:3.0\nFN:Ren\xE9 \x80uro\nTEL;TYPE=CELL:+33 6 1"
                               "\nEND:VCARD\n");
  EXPECT_EQ(ReadInto({file}), "root\n  raw\n    René €uro = +3361\n");
}

TEST(VCards, QuotedPrintableBytesThatAreNoUtf8AreWindows1252) {
  // Without a CHARSET, and with a UTF-8 character cut off at its end.
  fs::path file = testsupport::MakeTempDir("qp") / "qp.vcf";
  testsupport::WriteFile(file, "BEGIN:VCARD\r\nVERSION:2.1\r\n"
                               "FN;ENCODING=QUOTED-PRINTABLE:Ren=E9 =80uro\r\n"
                               "TEL;CELL:+33 6 1\r\nEND:VCARD\r\n"
                               "BEGIN:VCARD\r\nVERSION:2.1\r\n"
                               "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:J=C3=BCrgen=C3\r\n"
                               "TEL;CELL:+49 151 2\r\nEND:VCARD\r\n");
  EXPECT_EQ(ReadInto({file}), "root\n  qp\n    René €uro = +3361\n"
                              "    JÃ¼rgenÃ = +491512\n");
}

TEST(VCards, NulBytesAreDropped) {
  // A NUL after a quoted-printable "=" once made the card parser read past
  // the end of its text (found by fuzzing; seen under valgrind).
  fs::path file = testsupport::MakeTempDir("nul") / "nul.vcf";
  testsupport::WriteFile(file, std::string("BEGIN:VCARD\r\nVERSION:2.1\r\nFN:A\0nn\r\n"
                                           "TEL;CELL:0821\0 23\r\n"
                                           "N;ENCODING=QUOTED-PRINTABLE:=\0\r\nEND:VCARD\r\n",
                                           97));
  EXPECT_EQ(ReadInto({file}), "root\n  nul\n    Ann = 082123\n");
}

TEST(VCards, GroupsHoldTheirMembersThatHaveMobiles) {
  fs::path book = testsupport::MakeTempDir("vdir");
  testsupport::WriteFile(book / "displayname", "Family\n");
  testsupport::WriteFile(book / "a.vcf", "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:urn:uuid:aa\r\n"
                                         "FN:Ann\r\nTEL;TYPE=cell:+1 111\r\nEND:VCARD\r\n");
  testsupport::WriteFile(book / "b.vcf", "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:bb\r\nFN:Ben\r\n"
                                         "TEL;TYPE=home:+1 222\r\nEND:VCARD\r\n");
  testsupport::WriteFile(book / "c.vcf",
                         "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nFN:Kids\r\n"
                         "MEMBER:urn:uuid:aa\r\nMEMBER:urn:uuid:bb\r\nMEMBER:tel:+1 333\r\n"
                         "MEMBER:mailto:x@example.org\r\nEND:VCARD\r\n"
                         "BEGIN:VCARD\r\nVERSION:3.0\r\nX-ADDRESSBOOKSERVER-KIND:group\r\n"
                         "FN:Apple Group\r\nX-ADDRESSBOOKSERVER-MEMBER:urn:uuid:aa\r\nEND:VCARD\r\n");
  EXPECT_EQ(ReadInto({book}), "root\n"
                              "  Family\n"
                              "    Ann = +1111\n"
                              "    [Kids]\n"
                              "      Ann = +1111\n"
                              "      +1333 = +1333\n"
                              "    [Apple Group]\n"
                              "      Ann = +1111\n");
}

TEST(VCards, NumbersBecomeWhatTheDestinationListCanCarry) {
  EXPECT_EQ(MobileNumber::Dialable("tel:+1-555-555-0003;ext=12"), "+15555550003");
  EXPECT_EQ(MobileNumber::Dialable("+44 (0)7700 900-123"), "+447700900123");
  EXPECT_EQ(MobileNumber::Dialable("0821 555 (12) 3"), "0821555123");
  EXPECT_EQ(MobileNumber::Dialable("082 555 1234 x12"), "0825551234");
  EXPECT_EQ(MobileNumber::Dialable("082,555"), "082");
  // A letter would read as a contact token, an over-long number would be
  // cut to somebody else's.
  EXPECT_EQ(MobileNumber::Dialable("A12"), std::nullopt);
  EXPECT_EQ(MobileNumber::Dialable("+49 151 1234 5678 9012"), std::nullopt);
  EXPECT_EQ(MobileNumber::Dialable("unknown"), std::nullopt);
}

TEST(VCards, LocationsFromTheSettingTheDataFolderAndKhard) {
  fs::path data = testsupport::MakeTempDir("data"), config = testsupport::MakeTempDir("config");
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  setenv("BOOKS", data.c_str(), 1);
  fs::create_directories(config / "khard");
  testsupport::WriteFile(config / "khard" / "khard.conf",
                         "[addressbooks]\n[[work]]\npath = ${BOOKS}/work/\n"
                         "[[home]]\npath = \"$BOOKS/contacts\"\n[general]\n[[x]]\npath = /nowhere\n");

  EXPECT_EQ(VCardSource::Locations(""),
            (std::vector<fs::path>{data / "contacts", data / "work/"}));
  EXPECT_EQ(VCardSource::Locations("/tmp/cards.vcf"),
            (std::vector<fs::path>{"/tmp/cards.vcf", data / "work/", data / "contacts"}));

  // A folder of collections: one container per collection; no place at all
  // fails.
  fs::create_directories(data / "contacts" / "personal");
  testsupport::WriteFile(data / "contacts" / "personal" / "1.vcf",
                         "BEGIN:VCARD\nVERSION:3.0\nFN:Pat\nTEL;TYPE=CELL:1\nEND:VCARD\n");
  fs::create_directories(data / "contacts" / "empty");
  EXPECT_EQ(ReadInto(VCardSource::Locations("")), "root\n  personal\n    Pat = 1\n");
  EXPECT_EQ(ReadInto({data / "none"}, ReadOutcome::OpenFailed), "root\n");
}
