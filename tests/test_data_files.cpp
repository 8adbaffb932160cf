#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "data/data_files.h"
#include "text/cp932.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own under the system's temporary directory, removed at the end.
class TempDir {
 public:
  TempDir() {
    std::random_device random;
    std::error_code ec;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      fs::path candidate = fs::temp_directory_path(ec) / ("quillmar-data-" + std::to_string(random()));
      if (fs::create_directory(candidate, ec)) path_ = candidate.string();
    }
    if (path_.empty()) ADD_FAILURE() << "cannot create a temporary folder";
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const char* dir() const { return path_.c_str(); }
  void write(const char* name, const std::string& bytes) const {
    std::ofstream out(fs::path(path_) / name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

 private:
  std::string path_;
};

std::unique_ptr<AppState> newApp() { return std::make_unique<AppState>(); }

std::string sjis(const char* utf8) { return utf8ToCp932(utf8); }

void expectStats(const StatBlock& s, int h, int a, int b, int sp, int c, int d) {
  EXPECT_EQ(s[0], h);
  EXPECT_EQ(s[1], a);
  EXPECT_EQ(s[2], b);
  EXPECT_EQ(s[3], sp);
  EXPECT_EQ(s[4], c);
  EXPECT_EQ(s[5], d);
}

TEST(LoadDefaults, FirstLineInStatOrder) {
  TempDir t;
  ASSERT_NE(*t.dir(), '\0');
  t.write("default.txt", "1,2,3,4,5,6\r\n7,7,7,7,7,7\r\n");
  auto app = newApp();
  loadDefaults(*app, t.dir());
  // H first, Speed fourth, D last.
  expectStats(app->measure.baseStats, 1, 2, 3, 4, 5, 6);
}

TEST(LoadDefaults, ScanfRules) {
  TempDir t;
  auto app = newApp();
  t.write("default.txt", " 45, -49,+49,\t45,65,65 trailing words\n");
  loadDefaults(*app, t.dir());
  expectStats(app->measure.baseStats, 45, -49, 49, 45, 65, 65);

  // A blank between a number and its comma ends the parse after that number.
  t.write("default.txt", "10,20 ,30,40,50,60\n");
  loadDefaults(*app, t.dir());
  expectStats(app->measure.baseStats, 10, 20, 0, 0, 0, 0);

  // A sign without digits is a misfit too.
  t.write("default.txt", "10,-,30,40,50,60\n");
  loadDefaults(*app, t.dir());
  expectStats(app->measure.baseStats, 10, 0, 0, 0, 0, 0);
}

TEST(LoadDefaults, MissingFileLeavesZeros) {
  TempDir t;
  auto app = newApp();
  loadDefaults(*app, t.dir());
  expectStats(app->measure.baseStats, 0, 0, 0, 0, 0, 0);
}

// One species line, LF-terminated.
std::string line(const std::string& stats, const std::string& name) { return stats + "," + name + "\n"; }

// "N<k>", the name of the k-th line in the generated files.
std::string numbered(int k) {
  char text[16];
  std::snprintf(text, sizeof text, "N%d", k);
  return text;
}

TEST(LoadSpeciesTable, ShortFileRepeatsItsLastLine) {
  TempDir t;
  std::string file;
  for (int k = 1; k <= 400; ++k) {
    file += std::to_string(k) + ",2,3,4,5,6,N" + std::to_string(k) + "\n";
  }
  t.write("pokemon.dat", file);
  auto app = newApp();
  loadSpeciesTable(*app, t.dir());
  expectStats(app->speciesTable.rows[0].baseStats, 1, 2, 3, 4, 5, 6);
  EXPECT_STREQ(app->speciesTable.rows[0].name, "N1");
  EXPECT_STREQ(app->speciesTable.rows[399].name, "N400");
  for (int k = 400; k < kSpeciesCount; ++k) {
    EXPECT_STREQ(app->speciesTable.rows[k].name, "N400") << k;
    EXPECT_EQ(app->speciesTable.rows[k].baseStats[0], 400) << k;
  }
  // Every name in the file is found at its own (first) row.
  for (int k : {1, 2, 200, 399, 400}) {
    const SpeciesRecord* found = findSpecies(*app, numbered(k).c_str());
    ASSERT_NE(found, nullptr) << k;
    EXPECT_EQ(found - app->speciesTable.rows, k - 1);
  }
  EXPECT_EQ(findSpecies(*app, "N401"), nullptr);
}

TEST(LoadSpeciesTable, LongerFileStopsAt493) {
  TempDir t;
  std::string file;
  for (int k = 1; k <= 500; ++k) file += line("1,1,1,1,1,1", numbered(k));
  t.write("pokemon.dat", file);
  auto app = newApp();
  loadSpeciesTable(*app, t.dir());
  EXPECT_STREQ(app->speciesTable.rows[kSpeciesCount - 1].name, "N493");
  EXPECT_EQ(findSpecies(*app, "N494"), nullptr);
}

TEST(LoadSpeciesTable, BlanksAroundNumbersAndCommasInNames) {
  TempDir t;
  t.write("pokemon.dat", line("1, 2,3,4,5,6", "Blank") +       // blank after a comma: fine
                             line("1,2 ,3,4,5,6", "Stop") +       // blank before a comma: parse stops
                             line("1,2,3,4,5,6", "Trail,") +      // trailing comma kept in the name
                             line("1,2,3,4,5,6", "Two,Three") +   // a further comma ends the name
                             line("1,2,3,4,5", "Few") +           // five commas: no name
                             std::string("9,9,9,9,9,9,Nul\0Rest\n", 21));
  auto app = newApp();
  loadSpeciesTable(*app, t.dir());
  const SpeciesRecord* rows = app->speciesTable.rows;
  expectStats(rows[0].baseStats, 1, 2, 3, 4, 5, 6);
  EXPECT_STREQ(rows[0].name, "Blank");
  expectStats(rows[1].baseStats, 1, 2, 0, 0, 0, 0);
  EXPECT_STREQ(rows[1].name, "Stop");
  EXPECT_STREQ(rows[2].name, "Trail,");
  EXPECT_STREQ(rows[3].name, "Two,");
  expectStats(rows[4].baseStats, 1, 2, 3, 4, 5, 0);
  EXPECT_STREQ(rows[4].name, "");
  EXPECT_STREQ(rows[5].name, "Nul");

  EXPECT_EQ(findSpecies(*app, "Trail"), nullptr);
  EXPECT_EQ(findSpecies(*app, "Trail,"), &rows[2]);
  EXPECT_EQ(findSpecies(*app, "Stop"), &rows[1]);
}

TEST(LoadSpeciesTable, LongLineIsReadInTwoAndLongNamesStayInTheirField) {
  TempDir t;
  // 12 + 243 = 255 bytes end the first read; the rest of the physical line is
  // the next row.
  std::string first = "1,1,1,1,1,1," + std::string(243, 'y') + "2,2,2,2,2,2,ZZ\n";
  ASSERT_EQ(first.size(), 270u);
  std::string pad(300 - 12 - 1, 'p');
  std::string longName = "ABCDEFGHIJKLMNOPQRST";  // 20 bytes
  t.write("pokemon.dat", first + line("3,3,3,3,3,3", longName) + line("4,4,4,4,4,4", "Next") +
                             "5,5,5,5,5,5," + pad + "\n" + line("6,6,6,6,6,6", "After"));
  auto app = newApp();
  loadSpeciesTable(*app, t.dir());
  const SpeciesRecord* rows = app->speciesTable.rows;
  EXPECT_EQ(std::string(rows[0].name), std::string(15, 'y'));
  expectStats(rows[0].baseStats, 1, 1, 1, 1, 1, 1);
  EXPECT_STREQ(rows[1].name, "ZZ");
  expectStats(rows[1].baseStats, 2, 2, 2, 2, 2, 2);
  EXPECT_STREQ(rows[2].name, "ABCDEFGHIJKLMNO");
  expectStats(rows[2].baseStats, 3, 3, 3, 3, 3, 3);
  EXPECT_STREQ(rows[3].name, "Next");
  // A 300-byte line: 255 bytes, then the remaining 45 with the newline.
  expectStats(rows[4].baseStats, 5, 5, 5, 5, 5, 5);
  expectStats(rows[5].baseStats, 0, 0, 0, 0, 0, 0);
  EXPECT_STREQ(rows[5].name, "");
  EXPECT_STREQ(rows[6].name, "After");
  // A name over 10 bytes cannot be found, whatever is typed.
  EXPECT_EQ(findSpecies(*app, longName.c_str()), nullptr);
  EXPECT_EQ(findSpecies(*app, "ABCDEFGHIJ"), nullptr);
}

TEST(LoadSpeciesTable, CrLfAndLfGiveTheSameRows) {
  TempDir lf;
  TempDir crlf;
  lf.write("pokemon.dat", "35,55,30,90,50,40," + sjis("ピカチュウ") + "\n1,2,3,4,5,6,Last");
  crlf.write("pokemon.dat", "35,55,30,90,50,40," + sjis("ピカチュウ") + "\r\n1,2,3,4,5,6,Last");
  auto a = newApp();
  auto b = newApp();
  loadSpeciesTable(*a, lf.dir());
  loadSpeciesTable(*b, crlf.dir());
  for (int k = 0; k < kSpeciesCount; ++k) {
    ASSERT_STREQ(a->speciesTable.rows[k].name, b->speciesTable.rows[k].name) << k;
    for (int i = 0; i < kStatCount; ++i) ASSERT_EQ(a->speciesTable.rows[k].baseStats[i], b->speciesTable.rows[k].baseStats[i]);
  }
  EXPECT_EQ(std::string(a->speciesTable.rows[0].name), sjis("ピカチュウ"));
  // The last line has no newline: its name ends at the NUL of the read, and it
  // fills every remaining row.
  EXPECT_STREQ(a->speciesTable.rows[kSpeciesCount - 1].name, "Last");
  // A lone CR is no line end; it stays in the name.
  crlf.write("pokemon.dat", "1,2,3,4,5,6,A\rB\r\n");
  loadSpeciesTable(*b, crlf.dir());
  EXPECT_STREQ(b->speciesTable.rows[0].name, "A\rB");
}

TEST(LoadSpeciesTable, MissingFileLeavesEveryRowEmpty) {
  TempDir t;
  auto app = newApp();
  loadSpeciesTable(*app, t.dir());
  for (const SpeciesRecord& row : app->speciesTable.rows) {
    EXPECT_STREQ(row.name, "");
    expectStats(row.baseStats, 0, 0, 0, 0, 0, 0);
  }
  // An empty typed name then matches row 0.
  EXPECT_EQ(findSpecies(*app, ""), &app->speciesTable.rows[0]);
  EXPECT_EQ(findSpecies(*app, "X"), nullptr);
}

TEST(LoadSpeciesTable, TheTwoLoadersShareOneLineBuffer) {
  TempDir t;
  t.write("default.txt", "45,49,49,45,65,65\r\n");
  t.write("pokemon.dat", "");
  auto app = newApp();
  loadDefaults(*app, t.dir());
  loadSpeciesTable(*app, t.dir());
  // The empty species file reads nothing: every row parses the defaults line,
  // which has too few commas for a name.
  for (const SpeciesRecord& row : app->speciesTable.rows) {
    expectStats(row.baseStats, 45, 49, 49, 45, 65, 65);
    EXPECT_STREQ(row.name, "");
  }
  // With nothing ever read, both stay zero.
  TempDir empty;
  empty.write("default.txt", "");
  empty.write("pokemon.dat", "");
  auto fresh = newApp();
  loadDefaults(*fresh, empty.dir());
  loadSpeciesTable(*fresh, empty.dir());
  expectStats(fresh->measure.baseStats, 0, 0, 0, 0, 0, 0);
  expectStats(fresh->speciesTable.rows[492].baseStats, 0, 0, 0, 0, 0, 0);
}

TEST(FindSpecies, TenByteCutExactBytesFirstRowWins) {
  TempDir t;
  t.write("pokemon.dat", line("35,55,30,90,50,40", sjis("ピカチュウ")) +
                             line("1,1,1,1,1,1", sjis("ポリゴンＺ")) +
                             line("2,2,2,2,2,2", sjis("ピカチュウ")) +
                             line("3,3,3,3,3,3", "Abc"));
  auto app = newApp();
  loadSpeciesTable(*app, t.dir());
  const SpeciesRecord* rows = app->speciesTable.rows;
  EXPECT_EQ(findSpecies(*app, sjis("ピカチュウ").c_str()), &rows[0]);
  // Typed text beyond 10 bytes is cut before the comparison.
  EXPECT_EQ(findSpecies(*app, sjis("ピカチュウＸ").c_str()), &rows[0]);
  EXPECT_EQ(findSpecies(*app, (sjis("ピカチュウ") + "x").c_str()), &rows[0]);
  // Width, case and blanks count.
  EXPECT_EQ(findSpecies(*app, sjis("ポリゴンＺ").c_str()), &rows[1]);
  EXPECT_EQ(findSpecies(*app, sjis("ポリゴンZ").c_str()), nullptr);
  EXPECT_EQ(findSpecies(*app, "abc"), nullptr);
  EXPECT_EQ(findSpecies(*app, "Abc "), nullptr);
  EXPECT_EQ(findSpecies(*app, "Ab"), nullptr);
  EXPECT_EQ(findSpecies(*app, "Abc"), &rows[3]);
}

// The shipped data, as the program reads it from assets/.
TEST(ShippedData, SpeciesFileHolds493Gen4Species) {
  const std::string assets = std::string(QUILLMAR_SOURCE_DIR) + "/assets";
  std::ifstream raw(assets + "/pokemon.dat", std::ios::binary);
  ASSERT_TRUE(raw.good());
  std::string bytes((std::istreambuf_iterator<char>(raw)), std::istreambuf_iterator<char>());
  int lines = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\n') continue;
    ++lines;
    EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "line " << lines << " does not end in CR LF";
  }
  EXPECT_EQ(lines, kSpeciesCount);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.back(), '\n');

  auto app = newApp();
  loadSpeciesTable(*app, assets.c_str());
  const SpeciesRecord* rows = app->speciesTable.rows;
  struct Spot {
    int number;
    const char* name;
    int h, a, b, s, c, d;
  };
  // Base stats as in the 4th generation (ピカチュウ and バタフリー were raised
  // later) and the base form of species with forms.
  const Spot spots[] = {
      {1, "フシギダネ", 45, 49, 49, 45, 65, 65},    {12, "バタフリー", 60, 45, 50, 70, 80, 80},
      {25, "ピカチュウ", 35, 55, 30, 90, 50, 40},   {29, "ニドラン♀", 55, 47, 52, 41, 40, 40},
      {32, "ニドラン♂", 46, 57, 40, 50, 40, 40},   {386, "デオキシス", 50, 150, 50, 150, 150, 50},
      {413, "ミノマダム", 60, 59, 85, 36, 79, 105}, {474, "ポリゴンＺ", 85, 80, 70, 90, 135, 75},
      {479, "ロトム", 50, 50, 77, 91, 95, 77},      {487, "ギラティナ", 150, 100, 120, 90, 100, 120},
      {492, "シェイミ", 100, 100, 100, 100, 100, 100}, {493, "アルセウス", 120, 120, 120, 120, 120, 120},
  };
  for (const Spot& s : spots) {
    const SpeciesRecord& row = rows[s.number - 1];
    EXPECT_EQ(cp932ToUtf8(row.name), s.name) << s.number;
    expectStats(row.baseStats, s.h, s.a, s.b, s.s, s.c, s.d);
    EXPECT_EQ(findSpecies(*app, sjis(s.name).c_str()), &row) << s.name;
  }
  // Every name is non-empty, at most 10 bytes, and found at its own row.
  for (int k = 0; k < kSpeciesCount; ++k) {
    std::size_t length = std::char_traits<char>::length(rows[k].name);
    EXPECT_GE(length, 2u) << k;
    EXPECT_LE(length, 10u) << k;
    EXPECT_EQ(findSpecies(*app, rows[k].name), &rows[k]) << k;
    for (int i = 0; i < kStatCount; ++i) {
      EXPECT_GE(rows[k].baseStats[i], 1) << k;
      EXPECT_LE(rows[k].baseStats[i], 255) << k;
    }
  }
}

TEST(ShippedData, DefaultsAreTheFirstSpecies) {
  auto app = newApp();
  loadDefaults(*app, (std::string(QUILLMAR_SOURCE_DIR) + "/assets").c_str());
  expectStats(app->measure.baseStats, 45, 49, 49, 45, 65, 65);
}

}  // namespace
