// Import files that are damaged or hostile: nothing crashes, nothing is read
// past its end, and the counts follow the import's rules.
#include "StoreFixture.h"

#include "contacts/ContactCsvImporter.h"

#include <algorithm>
#include <random>
#include <sstream>

using contacts::ContactCsvImporter;
using contacts::ImportOptions;
using contacts::ImportResult;

namespace {

class BadImport : public StoreFixture {
protected:
  ImportResult Import(const std::string &bytes, char separator = ',') {
    std::istringstream in(bytes);
    ImportOptions options;
    options.separator = separator;
    options.groupIds = {friends_};
    options.autoCreateGroups = true;
    ContactCsvImporter importer(*store_);
    return importer.Import(in, options);
  }
};

} // namespace

TEST_F(BadImport, ZeroBytesCutTheirLine) {
  const std::string bytes("fname,mobile\nA\0nn,0821\nBob,08\0"
                          "22\n",
                          33);
  const ImportResult r = Import(bytes);
  // "A" has no mobile field: a short line ends the import.
  EXPECT_EQ(r.inserted, 0);
  EXPECT_EQ(r.discarded, 0);

  const std::string second("mobile,fname\n0821,A\0nn\n\0\n0823,Cy\n", 33);
  const ImportResult r2 = Import(second);
  EXPECT_EQ(r2.inserted, 2);
  EXPECT_EQ(r2.discarded, 1); // the line cut to nothing has an empty mobile
  EXPECT_EQ(store_->Contacts()[0].Name, "A");
}

TEST_F(BadImport, LinesFarBeyondTheBufferAreReadAsSeveralLines) {
  // Header, then one line of 100,000 bytes: pieces of 8191 bytes, each piece
  // a line of its own. Each piece has one field only, and "mobile" is the
  // second header field, so the first piece ends the import.
  std::string bytes = "fname,mobile\n" + std::string(100000, 'x') + "\nAnn,0821\n";
  ImportResult r = Import(bytes);
  EXPECT_EQ(r.inserted, 0);
  EXPECT_EQ(r.discarded, 0);

  // With "mobile" first every piece is a contact whose mobile is cut to 16.
  bytes = "mobile\n" + std::string(8191 * 3, '7') + "\n";
  r = Import(bytes);
  EXPECT_EQ(r.inserted, 3);
  EXPECT_EQ(store_->Contacts()[0].Mobile, std::string(16, '7'));

  // A long header: only its first piece is the header.
  bytes = std::string(9000, 'h') + ",mobile\n0821\n";
  r = Import(bytes);
  EXPECT_EQ(r.inserted, 0);
}

TEST_F(BadImport, HeaderWithoutMobileOrWithMoreThanSixFields) {
  EXPECT_EQ(Import("fname,sname\nAnn,Lee\n").inserted, 0);
  const ImportResult r = Import("a,b,c,d,e,f,mobile\n1,2,3,4,5,6,0821\n");
  EXPECT_EQ(r.inserted, 0);
  EXPECT_EQ(r.discarded, 0);
  EXPECT_EQ(store_->ContactCount(), 0);
}

TEST_F(BadImport, QuotesAndSeparatorsInsideQuotesHaveNoMeaning) {
  const ImportResult r = Import("fname,mobile,sname\n\"Lee, Ann\",0821,x\n\"Bob\",\"0822\"\n");
  EXPECT_EQ(r.inserted, 2);
  // The first line's mobile field is " Ann\"", the second's "\"0822\"".
  const std::vector<store::ContactRow> c = store_->Contacts();
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[0].Name, "\"Lee");
  EXPECT_EQ(c[0].Mobile, " Ann\"");
  EXPECT_EQ(c[0].Surname, "0821");
  EXPECT_EQ(c[1].Name, "\"Bob\"");
  EXPECT_EQ(c[1].Mobile, "\"0822\"");
}

TEST_F(BadImport, RandomBinaryFilesNeverCrash) {
  std::mt19937 random(12345);
  int inserted = 0;
  for (int round = 0; round < 40; ++round) {
    std::string bytes = round % 2 ? "mobile,group,fname\n" : "Mobile;Group\n";
    const std::size_t n = 1 + random() % 30000;
    for (std::size_t i = 0; i < n; ++i) {
      bytes.push_back(static_cast<char>(random() & 0xFF));
    }
    const int before = store_->ContactCount();
    const ImportResult r = Import(bytes, round % 2 ? ',' : ';');
    // Every contact counted was stored, and no line gave more than one.
    EXPECT_EQ(store_->ContactCount(), before + r.inserted);
    EXPECT_EQ(r.failed, 0);
    const auto lines = std::count(bytes.begin(), bytes.end(), '\n') + bytes.size() / 8191 + 1;
    EXPECT_LE(r.inserted + r.discarded, static_cast<long>(lines));
    inserted += r.inserted;
  }
  EXPECT_GT(inserted, 0);
  for (const store::ContactRow &c : store_->Contacts()) {
    EXPECT_LE(c.Name.size(), 32u);
    EXPECT_LE(c.Mobile.size(), 16u);
    EXPECT_FALSE(c.Mobile.empty());
  }
  for (const store::GroupRow &g : store_->Groups()) {
    EXPECT_LE(g.Name.size(), 21u);
  }
}
