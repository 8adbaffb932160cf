// Arbitrary bytes written as "default.txt" and "pokemon.dat" in a temporary
// folder (each may also be missing or be a folder; both are files that cannot
// be opened), read by the two loaders in start-up order, then a typed name
// looked up. The results are checked against
// a model written from the files' definitions: text-mode lines (CR LF is one
// line end) read 255 bytes at most, exactly 493 reads with the last line
// repeated, six numbers by sscanf's "%d,%d,%d,%d,%d,%d", the name after the
// sixth comma, and the lookup of the typed name cut to 10 bytes. Every name
// must stay inside its 16-byte field.
#include <fuzzer/FuzzedDataProvider.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "data/data_files.h"

namespace {

AppState gApp;
std::string gFolder;

[[noreturn]] void fail(const char* what, int row) {
  std::fprintf(stderr, "fuzz_species_file: %s (row %d)\n", what, row);
  std::abort();
}

const std::string& folder() {
  if (gFolder.empty()) {
    char shm[] = "/dev/shm/quillmar-fuzz-species-XXXXXX";
    char tmp[] = "/tmp/quillmar-fuzz-species-XXXXXX";
    const char* made = mkdtemp(shm);
    if (made == nullptr) made = mkdtemp(tmp);
    if (made == nullptr) std::abort();
    gFolder = made;
  }
  return gFolder;
}

// How one data file is presented: missing, a folder, or a file with the bytes.
enum class Shape : int32_t { kMissing, kFolder, kFile };

void place(const char* name, Shape shape, const std::string& bytes) {
  const std::string path = folder() + "/" + name;
  std::remove(path.c_str());  // a file, or an empty folder
  if (shape == Shape::kFolder) {
    if (mkdir(path.c_str(), 0700) != 0) std::abort();
  } else if (shape == Shape::kFile) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
  }
}

// The reads a text-mode fgets into a 256-byte buffer makes: CR LF becomes LF,
// each read ends after a LF or after 255 bytes.
std::vector<std::string> reads(Shape shape, const std::string& bytes) {
  std::vector<std::string> out;
  if (shape != Shape::kFile) return out;
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += bytes[i];
  }
  std::string line;
  for (char c : text) {
    line += c;
    if (c == '\n' || line.size() == 255) {
      out.push_back(line);
      line.clear();
    }
  }
  if (!line.empty()) out.push_back(line);
  return out;
}

// sscanf with "%d,%d,%d,%d,%d,%d" on the read as a C string. Only lines whose
// digit runs fit in 9 digits are compared: beyond that sscanf's result is not
// defined by the C library.
bool modelNumbers(const std::string& read, StatBlock& stats) {
  const std::string c = read.substr(0, std::strlen(read.c_str()));
  int run = 0;
  for (char ch : c) {
    run = (ch >= '0' && ch <= '9') ? run + 1 : 0;
    if (run > 9) return false;
  }
  int v[kStatCount] = {};
  std::sscanf(c.c_str(), "%d,%d,%d,%d,%d,%d", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
  for (int i = 0; i < kStatCount; ++i) stats[i] = v[i];
  return true;
}

// The bytes after the sixth comma up to a LF (dropped), a NUL or a comma (kept),
// cut to the 15 bytes the field holds.
std::string modelName(const std::string& read) {
  const std::string c = read.substr(0, std::strlen(read.c_str()));
  std::size_t pos = 0;
  for (int commas = 0; commas < 6; ++commas) {
    pos = c.find(',', pos);
    if (pos == std::string::npos) return "";
    ++pos;
  }
  std::string name;
  for (; pos < c.size() && c[pos] != '\n'; ++pos) {
    name += c[pos];
    if (c[pos] == ',') break;
  }
  return name.substr(0, 15);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const uint8_t shapes = in.ConsumeIntegral<uint8_t>();
  // Mostly files; one in eight missing, one in eight a folder.
  auto shapeOf = [](int bits) { return bits == 0 ? Shape::kMissing : bits == 1 ? Shape::kFolder : Shape::kFile; };
  const Shape defaultsShape = shapeOf(shapes & 7);
  const Shape speciesShape = shapeOf(shapes >> 3 & 7);
  const std::string typed = in.ConsumeRandomLengthString(24);
  const std::string defaults = in.ConsumeRandomLengthString(400);
  const std::string species = in.ConsumeRemainingBytesAsString();
  place("default.txt", defaultsShape, defaults);
  place("pokemon.dat", speciesShape, species);

  std::memset(&gApp, 0, sizeof gApp);
  if (loadDefaults(gApp, folder().c_str()) != (defaultsShape == Shape::kFile)) fail("default.txt opened", -1);
  if (loadSpeciesTable(gApp, folder().c_str()) != (speciesShape == Shape::kFile)) fail("pokemon.dat opened", -1);

  // default.txt: its first read, or nothing.
  const std::vector<std::string> defaultReads = reads(defaultsShape, defaults);
  StatBlock want{};
  if (!defaultReads.empty() && modelNumbers(defaultReads[0], want)) {
    for (int i = 0; i < kStatCount; ++i)
      if (gApp.measure.baseStats[i] != want[i]) fail("default.txt base stat", i);
  }

  // pokemon.dat: 493 reads; at its end the buffer keeps the last line read,
  // which is default.txt's when pokemon.dat gave none.
  const std::vector<std::string> speciesReads = reads(speciesShape, species);
  const bool opened = speciesShape == Shape::kFile;
  std::string last = defaultReads.empty() ? std::string() : defaultReads[0];
  std::string wantName;
  StatBlock wantStats{};
  bool numbersKnown = true;
  for (int k = 0; k < kSpeciesCount; ++k) {
    const SpeciesRecord& row = gApp.speciesTable.rows[k];
    if (strnlen(row.name, kNameFieldBytes) >= static_cast<std::size_t>(kNameFieldBytes)) fail("name overflows", k);
    // The model changes only while there are reads; later rows repeat it.
    if (opened && (k == 0 || static_cast<std::size_t>(k) < speciesReads.size())) {
      if (static_cast<std::size_t>(k) < speciesReads.size()) last = speciesReads[k];
      wantName = modelName(last);
      wantStats = StatBlock{};
      numbersKnown = modelNumbers(last, wantStats);
    }
    if (wantName != row.name) fail("species name", k);
    if (numbersKnown) {
      for (int i = 0; i < kStatCount; ++i)
        if (row.baseStats[i] != wantStats[i]) fail("species base stat", k);
    }
  }

  // The lookup: the first row whose name is the typed text cut to 10 bytes.
  const std::string cut = typed.substr(0, std::strlen(typed.c_str())).substr(0, 10);
  const SpeciesRecord* found = findSpecies(gApp, typed.c_str());
  const SpeciesRecord* wantFound = nullptr;
  for (const SpeciesRecord& row : gApp.speciesTable.rows) {
    if (std::strlen(row.name) == cut.size() && std::memcmp(row.name, cut.data(), cut.size()) == 0) {
      wantFound = &row;
      break;
    }
  }
  if (found != wantFound) fail("lookup", found ? static_cast<int>(found - gApp.speciesTable.rows) : -1);
  // Every name of 10 bytes or less is found, at its first row.
  for (int k = 0; k < kSpeciesCount; ++k) {
    const SpeciesRecord& row = gApp.speciesTable.rows[k];
    if (std::strlen(row.name) > 10) continue;
    const SpeciesRecord* hit = findSpecies(gApp, row.name);
    if (hit == nullptr || hit > &row || std::strcmp(hit->name, row.name) != 0) fail("a row's own name", k);
    if (k > 8) break;  // the first rows are enough to cover every path
  }
  return 0;
}
