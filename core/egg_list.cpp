#include "core/egg_list.h"

#include <cstring>

#include "core/everstone.h"
#include "core/rng.h"
#include "data/tables.h"
#include "quillmar/texts.h"

namespace {

// Steps 1 and 2 of every run, done before the file is opened: the request's
// values are kept in the step 4 record and the generator is reseeded, so nothing of an
// earlier run carries over.
void storeRequestAndSeed(EggListState& eggList, const EggListRequest& request) {
  eggList.eggInitialSeed = request.initialSeed;
  eggList.eggFrameCount = request.frameCount;
  eggList.settings.tid = request.tid;
  eggList.settings.sid = request.sid;
  eggList.settings.internationalMarriage = request.internationalMarriage ? 1 : 0;
  eggList.settings.shinyOnly = request.shinyOnly ? 1 : 0;
  eggList.settings.natureChoice = request.natureChoice;
  eggList.settings.genderChoice = request.genderChoice;
  eggList.settings.abilityChoice = request.abilityChoice;
  eggList.settings.everstoneChoice = request.everstoneNature + 1;
  Seed(eggList.mt, request.initialSeed);
}

// The frame line's literal pieces, found at compile time in the one format
// text kTextResultFrame: piece k is the text before conversion k and piece 7
// the text after the last one. The fast writer puts between these pieces the
// bytes that printf would produce for the conversions.
constexpr int kFrameFields = 7;
struct TextPiece {
  std::size_t offset;
  std::size_t length;
};
struct FramePieces {
  TextPiece pieces[kFrameFields + 1];
  bool matches;  // the conversions are exactly %d %d %d %08X %s %d %d, in this order
};

consteval FramePieces splitFrameFormat() {
  const char* const conversions[kFrameFields] = {"%d", "%d", "%d", "%08X", "%s", "%d", "%d"};
  const char* format = texts::kTextResultFrame;
  FramePieces result{};
  result.matches = true;
  std::size_t at = 0;
  for (int field = 0; field <= kFrameFields && result.matches; ++field) {
    const std::size_t start = at;
    while (format[at] != '\0' && format[at] != '%') ++at;
    result.pieces[field] = TextPiece{start, at - start};
    if (field == kFrameFields) {
      result.matches = format[at] == '\0';
    } else {
      std::size_t k = 0;
      while (conversions[field][k] != '\0' && format[at + k] == conversions[field][k]) ++k;
      result.matches = conversions[field][k] == '\0';
      at += k;
    }
  }
  return result;
}

constexpr FramePieces kFramePieces = splitFrameFormat();
static_assert(kFramePieces.matches, "the fast writer formats %d,%d,%d,%08X,%s,%d,%d in this order");

constexpr std::size_t kShinyMarkBytes = sizeof texts::kTextShinyMark - 1;
constexpr std::size_t kHeaderBytes = sizeof texts::kTextResultHeader - 1;

// Longest possible line: the frame number and its quotient by 12 (at most 10
// digits each), the remainder, 8 hex digits, a nature name, ability, gender
// value, the literal pieces, the shiny mark and the newline.
constexpr std::size_t literalBytes() {
  std::size_t n = 0;
  for (const TextPiece& piece : kFramePieces.pieces) n += piece.length;
  return n;
}
constexpr std::size_t kMaxLineBytes = 10 + 10 + 2 + 8 + kNameFieldBytes + 1 + 3 + literalBytes() + kShinyMarkBytes + 1;
// Fields are copied in fixed-size blocks (the compiler turns those into a few
// moves instead of library calls); a block may run this far past its field,
// and the next field overwrites what it left.
constexpr std::size_t kBlockBytes = 16;

// Lines are gathered here and written with one fwrite per filling. Big enough
// that the writes are few, small enough for the stack of any thread.
constexpr std::size_t kOutputBufferBytes = 128 * 1024;
static_assert(kOutputBufferBytes > kHeaderBytes + 1 + kMaxLineBytes + kBlockBytes);
static_assert(kMaxLineBytes <= static_cast<std::size_t>(kEggFrameLineCapacity));

// A non-negative decimal number kept as text and counted up digit by digit, so
// that the frame number and the frame number divided by 12 need no division.
struct DecimalCounter {
  static constexpr int kDigits = 10;  // enough for 2^31 - 1
  char text[kDigits + kBlockBytes];   // the digits are text[first .. kDigits)
  int first;

  void reset() {
    std::memset(text, '0', sizeof text);
    first = kDigits - 1;
  }
  void increment() {
    int k = kDigits - 1;
    while (k > 0 && text[k] == '9') text[k--] = '0';
    ++text[k];
    if (k < first) first = k;
  }
  char* put(char* out) const {
    std::memcpy(out, text + first, kBlockBytes);
    return out + (kDigits - first);
  }
};
static_assert(DecimalCounter::kDigits <= static_cast<int>(kBlockBytes));

// Decimal text of 0..255 (gender values), at most three digits.
struct SmallDecimal {
  char text[4];
  uint32_t length;
};
constexpr auto kSmallDecimals = [] {
  struct Table {
    SmallDecimal values[256];
  } table{};
  for (int v = 0; v < 256; ++v) {
    SmallDecimal& d = table.values[v];
    if (v >= 100) d.text[d.length++] = static_cast<char>('0' + v / 100);
    if (v >= 10) d.text[d.length++] = static_cast<char>('0' + v / 10 % 10);
    d.text[d.length++] = static_cast<char>('0' + v % 10);
  }
  return table;
}();

// Two upper-case hex digits for every byte value.
constexpr auto kHexPairs = [] {
  struct Table {
    char pairs[256][2];
  } table{};
  const char digits[] = "0123456789ABCDEF";
  for (int v = 0; v < 256; ++v) {
    table.pairs[v][0] = digits[v >> 4];
    table.pairs[v][1] = digits[v & 15];
  }
  return table;
}();

template <int K>
char* putPiece(char* out) {
  constexpr TextPiece piece = kFramePieces.pieces[K];
  std::memcpy(out, texts::kTextResultFrame + piece.offset, piece.length);
  return out + piece.length;
}

char* putHex8(char* out, uint32_t value) {
  std::memcpy(out + 0, kHexPairs.pairs[value >> 24], 2);
  std::memcpy(out + 2, kHexPairs.pairs[(value >> 16) & 0xFFu], 2);
  std::memcpy(out + 4, kHexPairs.pairs[(value >> 8) & 0xFFu], 2);
  std::memcpy(out + 6, kHexPairs.pairs[value & 0xFFu], 2);
  return out + 8;
}

// The 25 nature names, each padded to one block so that it is copied whole.
struct PaddedNames {
  char text[kNatureCount][kBlockBytes];
  std::size_t length[kNatureCount];
};
static_assert(kNameFieldBytes <= static_cast<int>(kBlockBytes));

void padNames(PaddedNames& names) {
  std::memset(names.text, 0, sizeof names.text);
  for (int n = 0; n < kNatureCount; ++n) {
    std::size_t length = 0;
    while (length < kNameFieldBytes - 1 && kNatureNames[n][length] != '\0') ++length;
    std::memcpy(names.text[n], kNatureNames[n], length);
    names.length[n] = length;
  }
}

// One write of everything gathered since the last one; false when the stream
// took less than all of it.
bool flush(std::FILE* out, char* buffer, char*& at) {
  const std::size_t length = static_cast<std::size_t>(at - buffer);
  at = buffer;
  return std::fwrite(buffer, 1, length, out) == length;
}

// The same bytes, formatted by hand into a large buffer that is written once
// per filling: the frame number and its quotient by 12 are counted up as text,
// the PID goes out as eight hex digits, names and small numbers are copied.
// Stops at the first refused write and returns false.
bool writeFrames(EggListState& eggList, const EggListRequest& request, std::FILE* out) {
  char buffer[kOutputBufferBytes];
  char* const limit = buffer + sizeof buffer - kMaxLineBytes - kBlockBytes;
  char* at = buffer;
  std::memcpy(at, texts::kTextResultHeader, kHeaderBytes);
  at += kHeaderBytes;
  *at++ = '\n';

  PaddedNames names;
  padNames(names);
  DecimalCounter frame;
  DecimalCounter quotient;
  frame.reset();
  quotient.reset();
  int remainder = 0;  // frame mod 12
  int position = 0;
  EverstoneFrames everstone(eggList.mt, request.everstoneNature);
  for (int32_t i = 0; i < request.frameCount; ++i) {
    uint32_t pid;
    if (request.everstoneNature >= 0) {
      pid = everstone.pidOf(i);
    } else {
      if (position == 0) Twist(eggList.mt);
      pid = Temper(eggList.mt, position);
    }
    if (request.internationalMarriage) pid = MarriageReroll(pid, request.tid, request.sid);
    const bool shiny = ShinyTest(pid, request.tid, request.sid);
    if (eggFrameKept(request, pid, shiny)) {
      at = putPiece<0>(at);
      at = frame.put(at);
      at = putPiece<1>(at);
      at = quotient.put(at);
      at = putPiece<2>(at);
      const int twoDigits = remainder >= 10;
      at[0] = '1';
      at[twoDigits] = static_cast<char>('0' + remainder - 10 * twoDigits);
      at += 1 + twoDigits;
      at = putPiece<3>(at);
      at = putHex8(at, pid);
      at = putPiece<4>(at);
      const int nature = NatureIndex(pid);
      std::memcpy(at, names.text[nature], kBlockBytes);
      at += names.length[nature];
      at = putPiece<5>(at);
      *at++ = static_cast<char>('0' + AbilitySlot(pid));
      at = putPiece<6>(at);
      const SmallDecimal& gender = kSmallDecimals.values[GenderValue(pid)];
      std::memcpy(at, gender.text, sizeof gender.text);
      at += gender.length;
      at = putPiece<7>(at);
      if (shiny) {
        std::memcpy(at, texts::kTextShinyMark, kShinyMarkBytes);
        at += kShinyMarkBytes;
      }
      *at++ = '\n';
      if (at >= limit && !flush(out, buffer, at)) return false;
    }
    frame.increment();
    if (++remainder == 12) {
      remainder = 0;
      quotient.increment();
    }
    if (++position == kMtWordCount) position = 0;
  }
  return flush(out, buffer, at);
}

}  // namespace

bool eggFrameKept(const EggListRequest& request, uint32_t pid, bool shiny) {
  if (request.shinyOnly && !shiny) return false;
  if (request.natureChoice > 0 && request.natureChoice - 1 != NatureIndex(pid)) return false;
  if (request.genderChoice > 0 && !GenderFilter(request.genderChoice - 1, GenderValue(pid))) return false;
  if (request.abilityChoice > 0 && request.abilityChoice != AbilitySlot(pid)) return false;
  return true;
}

int formatEggFrameLine(char (&out)[kEggFrameLineCapacity], int32_t frame, uint32_t pid, bool shiny) {
  int length = std::snprintf(out, sizeof out, texts::kTextResultFrame, frame, frame / 12, frame % 12, pid,
                             kNatureNames[NatureIndex(pid)], AbilitySlot(pid), GenderValue(pid));
  if (shiny) length += std::snprintf(out + length, sizeof out - static_cast<std::size_t>(length), "%s", texts::kTextShinyMark);
  return length;
}

OutputResult writeEggPidListFile(EggListState& eggList, const EggListRequest& request, const char* path) {
  storeRequestAndSeed(eggList, request);
  // Text mode: each '\n' becomes CR LF on Windows, stays LF elsewhere; fwrite
  // converts the buffered lines exactly as the formatted writes would.
  OutputFile file;
  OutputResult opened = openOutputFile(file, path);
  if (opened.outcome != OutputOutcome::kWritten) return opened;
  const OutputResult writes = outputWrites(writeFrames(eggList, request, file.stream));
  return closeOutputFile(file, writes);
}

bool writeEggPidList(EggListState& eggList, const EggListRequest& request, std::FILE* out) {
  storeRequestAndSeed(eggList, request);
  return writeFrames(eggList, request, out);
}
