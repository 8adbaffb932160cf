#include "data/data_files.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "data/named_file.h"

namespace {

constexpr int kMaxTypedNameBytes = 10;  // the species field is read with 11 bytes
constexpr int kStoredNameBytes = kNameFieldBytes - 1;
constexpr int kNameComma = 6;  // the name starts after the sixth comma

// Opens directory/fileName for reading (an empty or null directory is the
// working directory); nullptr when it cannot be opened or refuses the first
// read. A folder opens on Linux but fails its first read, so it counts as a
// file that cannot be opened, as on Windows; an empty file is readable.
std::FILE* openDataFile(const char* directory, const char* fileName) {
  char path[4096];
  int n = std::snprintf(path, sizeof path, "%s/%s", (directory && *directory) ? directory : ".", fileName);
  if (n < 0 || n >= static_cast<int>(sizeof path)) return nullptr;
  std::FILE* file = openNamedFile(path, "rb");
  if (file == nullptr) return nullptr;
  const int first = std::getc(file);
  if (first == EOF && std::ferror(file)) {
    std::fclose(file);
    return nullptr;
  }
  if (first != EOF) std::ungetc(first, file);
  return file;
}

// One text-mode line read into the 256-byte buffer, as fgets does: the bytes up
// to and including the newline, at most 255 of them, then a NUL. CR LF counts
// as one newline (stored as LF) on every platform, so CR LF files give the same
// lines as LF files. At the end of the file nothing is stored and the buffer
// keeps its previous line; returns false then.
bool readLine(std::FILE* file, char (&buffer)[kLineBufferBytes]) {
  int n = 0;
  while (n < kLineBufferBytes - 1) {
    int c = std::getc(file);
    if (c == EOF) break;
    if (c == '\r') {
      int next = std::getc(file);
      if (next == '\n') {
        c = '\n';
      } else if (next != EOF) {
        std::ungetc(next, file);
      }
    }
    buffer[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  if (n == 0) return false;
  buffer[n] = '\0';
  return true;
}

bool isScanBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// sscanf(text, "%d,%d,%d,%d,%d,%d", ...): each number may follow blanks and a
// sign, each comma must follow its number directly, and the first misfit ends
// the parse; fields after it keep their value. Digits accumulate modulo 2^32,
// so an over-long number wraps instead of being undefined.
void scanSixNumbers(const char* text, StatBlock& out) {
  const char* p = text;
  for (int field = 0; field < kStatCount; ++field) {
    if (field > 0) {
      if (*p != ',') return;
      ++p;
    }
    while (isScanBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
      negative = *p == '-';
      ++p;
    }
    if (*p < '0' || *p > '9') return;
    uint32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) value = value * 10u + static_cast<uint32_t>(*p - '0');
    if (negative) value = 0u - value;
    out[field] = static_cast<int32_t>(value);
  }
}

// The name: the bytes after the sixth comma of the line, up to a newline
// (stored as NUL), a NUL, or a further comma (kept as the name's last byte).
// Names are cut at 15 bytes so that they never leave their 16-byte field; a
// name over 10 bytes can never be looked up anyway.
void takeName(const char* line, char (&name)[kNameFieldBytes]) {
  const char* p = line;
  int commas = 0;
  while (commas < kNameComma) {
    if (*p == '\0') return;
    if (*p == ',') ++commas;
    ++p;
  }
  for (int i = 0; i < kStoredNameBytes; ++i) {
    char c = p[i];
    if (c == '\n' || c == '\0') {
      name[i] = '\0';
      return;
    }
    name[i] = c;
    if (c == ',') return;
  }
  name[kStoredNameBytes] = '\0';
}

}  // namespace

bool loadDefaults(AppState& app, const char* directory) {
  app.measure.baseStats = StatBlock{};
  std::FILE* file = openDataFile(directory, "default.txt");
  if (!file) return false;
  // An empty file reads nothing: the buffer then holds whatever it held (at
  // start, nothing), and the parse uses that.
  readLine(file, app.scratch.lineBuffer);
  app.scratch.lineBuffer[kLineBufferBytes - 1] = '\0';
  scanSixNumbers(app.scratch.lineBuffer, app.measure.baseStats);
  std::fclose(file);
  return true;
}

bool loadSpeciesTable(AppState& app, const char* directory) {
  app.speciesTable = SpeciesTable{};
  std::FILE* file = openDataFile(directory, "pokemon.dat");
  if (!file) return false;
  // Exactly 493 reads: once the file is exhausted the buffer keeps its last
  // line, so every remaining row repeats it.
  for (SpeciesRecord& row : app.speciesTable.rows) {
    readLine(file, app.scratch.lineBuffer);
    app.scratch.lineBuffer[kLineBufferBytes - 1] = '\0';  // a read stores at most 255 bytes
    scanSixNumbers(app.scratch.lineBuffer, row.baseStats);
    takeName(app.scratch.lineBuffer, row.name);
  }
  std::fclose(file);
  return true;
}

const SpeciesRecord* findSpecies(const AppState& app, const char* typedName) {
  char typed[kMaxTypedNameBytes + 1] = {};
  if (typedName) std::strncpy(typed, typedName, kMaxTypedNameBytes);
  for (const SpeciesRecord& row : app.speciesTable.rows) {
    if (std::strncmp(row.name, typed, kNameFieldBytes) == 0) return &row;
  }
  return nullptr;
}
