#include "PageFixture.h"

#include "compose/BinaryContent.h"

#include <unistd.h>

using compose::HexImport;

TEST(HexImport, BytesBecomeTwoUpperCaseDigitsEach) {
  const std::string file = (testsupport::MakeTempDir() / "three.bin").string();
  testsupport::WriteFile(file, std::string("\x00\x7F\xFF", 3));
  const HexImport r = compose::ImportFileAsHex(file);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.hex, "007FFF");
  EXPECT_EQ(compose::ToHex("\x12\xAB"), "12AB");
}

TEST(HexImport, EmptyFileGivesEmptyText) {
  const std::string file = (testsupport::MakeTempDir() / "empty.bin").string();
  testsupport::WriteFile(file, "");
  const HexImport r = compose::ImportFileAsHex(file);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.hex, "");
}

TEST(HexImport, FailureCodes) {
  EXPECT_EQ(compose::ImportFileAsHex("").error, compose::HexNameTooShort);
  const std::filesystem::path dir = testsupport::MakeTempDir();
  EXPECT_EQ(compose::ImportFileAsHex((dir / "gone.mid").string()).error, compose::HexNoLength);
  EXPECT_EQ(compose::ImportFileAsHex(dir.string()).error, compose::HexNoLength);
  EXPECT_FALSE(compose::ImportFileAsHex("").ok);

  const std::string locked = (dir / "locked.mid").string();
  testsupport::WriteFile(locked, "abc");
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  if (geteuid() != 0) { // root opens it anyway
    EXPECT_EQ(compose::ImportFileAsHex(locked).error, compose::HexOpenFailed);
  }
}

TEST(HexImport, ReadsAtMostTheGivenNumberOfBytes) {
  const std::string file = (testsupport::MakeTempDir() / "big.bin").string();
  testsupport::WriteFile(file, std::string(1000, '\x01'));
  const HexImport r = compose::ImportFileAsHex(file, 10);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.hex, "01010101010101010101");
}

TEST(HexImport, ErrorTextsNameTheFileAndTheReason) {
  const shell::StringTable strings;
  EXPECT_EQ(compose::HexImportErrorText(strings, "x.gif", 0),
            "Failed to import and convert the data into hex.\nFilename: x.gif\nError:"
            "The filename is to short.");
  EXPECT_EQ(compose::HexImportErrorText(strings, "x.gif", 2),
            strings.Get(1340).substr(0, 47) + "\nFilename: x.gif\nError:Failed to open the file.");
  EXPECT_NE(compose::HexImportErrorText(strings, "x", 3).find(strings.Get(1344)),
            std::string::npos);
  EXPECT_NE(compose::HexImportErrorText(strings, "x", 7).find("Unknown error!"), std::string::npos);
}

TEST(HexImport, FileKindsPerType) {
  const shell::StringTable strings;
  EXPECT_EQ(strings.Get(compose::FileKindForType(3).extensionId), "*.mid");
  EXPECT_EQ(strings.Get(compose::FileKindForType(4).extensionId), "*.gif");
  EXPECT_EQ(strings.Get(compose::FileKindForType(5).filterId),
            "1-bit GIF Files (*.gif)\n*.gif\nAll Files (*.*)\n*.*\n\n");
  for (int t : {0, 1, 6, 7, 8, 42}) {
    EXPECT_EQ(strings.Get(compose::FileKindForType(t).extensionId), "*.txt") << t;
  }
}

// ---- The page's flows

TEST_F(PageFixture, BrowseImportsTheFileAndShowsThePreviewForPictures) {
  const std::string gif = (dir_ / "logo.gif").string();
  testsupport::WriteFile(gif, "GIF89a");
  page_->ChangeType(4);
  ui_.files.push_back(gif);
  page_->Browse();
  ASSERT_EQ(ui_.Of("open").size(), 1u);
  EXPECT_EQ(ui_.Of("open")[0].choice.defaultExtension, "*.gif");
  EXPECT_EQ(page_->FileName(), gif);
  EXPECT_EQ(page_->EditorText(), "474946383961");
  EXPECT_EQ(page_->CounterLabel(), "12 (1)");
  EXPECT_EQ(ui_.previews, std::vector<std::string>{gif});

  page_->ChangeType(5); // operator logo: no preview
  ui_.files.push_back(gif);
  page_->Browse();
  EXPECT_EQ(ui_.previews.size(), 1u);
}

TEST_F(PageFixture, BrowsedFileThatVanishedShowsTheErrorAndClearsTheName) {
  page_->ChangeType(3);
  page_->SetEditorText("0102", 4);
  const std::string gone = (dir_ / "tune.mid").string();
  ui_.files.push_back(gone);
  page_->Browse();
  ASSERT_EQ(ui_.Of("message").size(), 1u);
  const testing_dialogs::ShownBox box = ui_.Of("message")[0];
  EXPECT_EQ(box.caption, "Import failed");
  EXPECT_EQ(box.icon, contacts::MessageIcon::Error);
  EXPECT_EQ(box.text, "Failed to import and convert the data into hex.\nFilename: " + gone +
                          "\nError:" + strings_.Get(1342));
  EXPECT_EQ(page_->FileName(), "");
  EXPECT_EQ(page_->EditorText(), "0102"); // unchanged
}

TEST_F(PageFixture, BrowseCancelledOrTextTypeImportsNothing) {
  page_->ChangeType(6);
  page_->Browse(); // cancelled
  EXPECT_EQ(page_->FileName(), "");
  page_->ChangeType(0);
  const std::string txt = (dir_ / "a.txt").string();
  testsupport::WriteFile(txt, "zz");
  ui_.files.push_back(txt);
  page_->Browse();
  EXPECT_EQ(page_->FileName(), txt);
  EXPECT_EQ(page_->EditorText(), "");
}

TEST_F(PageFixture, FileNameEnteredImportsWithoutPreview) {
  const std::string gif = (dir_ / "p.gif").string();
  testsupport::WriteFile(gif, std::string("\x00\xFF", 2));
  page_->ChangeType(4);
  page_->FileNameEntered(gif);
  EXPECT_EQ(page_->EditorText(), "00FF");
  EXPECT_TRUE(ui_.previews.empty());

  page_->FileNameEntered((dir_ / "nothing.gif").string());
  EXPECT_EQ(page_->FileName(), "");
  EXPECT_EQ(page_->EditorText(), "00FF");
  EXPECT_EQ(ui_.Of("message").size(), 1u);
}

TEST_F(PageFixture, LongFileContentIsCutByTheCounter) {
  const std::string vcard = (dir_ / "card.vcf").string();
  testsupport::WriteFile(vcard, std::string(300, 'V'));
  page_->ChangeType(6);
  page_->FileNameEntered(vcard);
  EXPECT_EQ(page_->EditorText().size(), 160u);
  EXPECT_EQ(page_->CounterLabel(), "160 (1)");

  settings_.SpanSMS = true;
  page_->FileNameEntered(vcard);
  EXPECT_EQ(page_->EditorText().size(), 458u); // whole bytes only
  EXPECT_EQ(page_->CounterLabel(), "458 (3)");
}

TEST_F(PageFixture, OverlongChosenPathIsRefused) {
  page_->ChangeType(3);
  ui_.files.push_back("/" + std::string(5000, 'p'));
  page_->Browse();
  EXPECT_EQ(page_->FileName(), "");
  EXPECT_EQ(ui_.Of("message").size(), 1u);
}

TEST_F(PageFixture, ResetClearsTheFileName) {
  const std::string gif = (dir_ / "r.gif").string();
  testsupport::WriteFile(gif, "x");
  page_->ChangeType(4);
  page_->FileNameEntered(gif);
  EXPECT_EQ(page_->FileName(), gif);
  page_->Reset();
  EXPECT_EQ(page_->FileName(), "");
  EXPECT_EQ(page_->EditorText(), "");
}
