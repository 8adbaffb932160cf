#include "core/hit_sequence.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "core/rng.h"
#include "core/thread_start.h"
#include "quillmar/texts.h"
#include "text/cp932.h"

namespace {

constexpr uint32_t kTwistMagic = 0x9908B0DFu;
constexpr uint32_t kUpperBit = 0x80000000u;
constexpr int32_t kTwistShift = 397;
// Outputs 0..226 of a freshly seeded twister read only seeded words: output i
// needs words i, i + 1 and i + 397, so they need none of the twist's new words.
constexpr int32_t kShortOutputs = kMtWordCount - kTwistShift;

// Seeds stepped together: their multiplications are independent and overlap.
constexpr int32_t kLanes = 8;

uint32_t temper(uint32_t y) {
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  return y ^ (y >> 18);
}

// Bit j of bits[l] is the low bit of output skip + j of seeds[l], j < count,
// skip + count <= kShortOutputs: the seeding runs to word skip + count + 396
// and keeps words skip..skip + count only.
void coinBitsShort(const uint32_t (&seeds)[kLanes], int32_t skip, int32_t count, uint64_t (&bits)[kLanes]) {
  uint32_t word[kLanes];
  uint32_t kept[kMaxHitLetters + 1][kLanes];
  for (int32_t l = 0; l < kLanes; ++l) word[l] = seeds[l], bits[l] = 0;
  uint32_t at = 0;  // word[] holds word `at` of every lane
  auto advanceTo = [&](uint32_t index) {
    while (at < index) {
      ++at;
      for (int32_t l = 0; l < kLanes; ++l) word[l] = kMtInitMul * (word[l] ^ (word[l] >> 30)) + at;
    }
  };
  const uint32_t first = static_cast<uint32_t>(skip);
  for (int32_t j = 0; j <= count; ++j) {
    advanceTo(first + static_cast<uint32_t>(j));
    for (int32_t l = 0; l < kLanes; ++l) kept[j][l] = word[l];
  }
  for (int32_t j = 0; j < count; ++j) {
    advanceTo(first + static_cast<uint32_t>(j + kTwistShift));
    for (int32_t l = 0; l < kLanes; ++l) {
      const uint32_t next = kept[j + 1][l];
      const uint32_t y = (kept[j][l] & kUpperBit) | (next & ~kUpperBit);
      const uint32_t output = word[l] ^ (y >> 1) ^ ((next & 1u) != 0 ? kTwistMagic : 0u);
      bits[l] |= static_cast<uint64_t>(temper(output) & 1u) << j;
    }
  }
}

// Any skip: the whole twister of every lane, twisted as often as the last
// output needs (the arithmetic of Seed, Twist and Temper, core/rng.cpp).
void coinBitsLong(const uint32_t (&seeds)[kLanes], int32_t skip, int32_t count, uint64_t (&bits)[kLanes]) {
  uint32_t words[kMtWordCount][kLanes];
  for (int32_t l = 0; l < kLanes; ++l) words[0][l] = seeds[l], bits[l] = 0;
  for (uint32_t i = 1; i < kMtWordCount; ++i) {
    for (int32_t l = 0; l < kLanes; ++l) words[i][l] = kMtInitMul * (words[i - 1][l] ^ (words[i - 1][l] >> 30)) + i;
  }
  int32_t twists = 0;
  for (int32_t j = 0; j < count; ++j) {
    const int32_t output = skip + j;
    for (; twists <= output / kMtWordCount; ++twists) {
      for (int32_t i = 0; i < kMtWordCount; ++i) {
        const uint32_t* next = words[(i + 1) % kMtWordCount];
        const uint32_t* far = words[(i + kTwistShift) % kMtWordCount];
        for (int32_t l = 0; l < kLanes; ++l) {
          const uint32_t y = (words[i][l] & kUpperBit) | (next[l] & ~kUpperBit);
          words[i][l] = far[l] ^ (y >> 1) ^ ((next[l] & 1u) != 0 ? kTwistMagic : 0u);
        }
      }
    }
    for (int32_t l = 0; l < kLanes; ++l) {
      bits[l] |= static_cast<uint64_t>(temper(words[output % kMtWordCount][l]) & 1u) << j;
    }
  }
}

void coinBitsLanes(const uint32_t (&seeds)[kLanes], int32_t skip, int32_t count, uint64_t (&bits)[kLanes]) {
  if (skip + count <= kShortOutputs) {
    coinBitsShort(seeds, skip, count, bits);
  } else {
    coinBitsLong(seeds, skip, count, bits);
  }
}

uint64_t coinBits(uint32_t seed, int32_t skip, int32_t count) {
  const uint32_t seeds[kLanes] = {seed};
  uint64_t bits[kLanes];
  coinBitsLanes(seeds, skip, count, bits);
  return bits[0];
}

uint8_t elmLetter(uint32_t state, bool beforePokerus) {
  const uint32_t draw = state >> 16;
  return static_cast<uint8_t>(beforePokerus ? draw % 2u : draw % 3u);
}

// The state after `skip` draws.
uint32_t lcgAfter(uint32_t seed, int32_t skip) {
  for (int32_t k = 0; k < skip; ++k) seed = Lcg32::Next(seed);
  return seed;
}

void elmLetters(uint32_t seed, int32_t skip, int32_t count, bool beforePokerus, uint8_t* letters) {
  uint32_t state = lcgAfter(seed, skip);
  for (int32_t j = 0; j < count; ++j) {
    state = Lcg32::Next(state);
    letters[j] = elmLetter(state, beforePokerus);
  }
}

uint64_t lowBits(int32_t count) { return count >= 64 ? ~uint64_t{0} : (uint64_t{1} << count) - 1u; }

uint64_t coinQuery(const HitSearch& search) {
  uint64_t bits = 0;
  for (int32_t j = 0; j < search.length; ++j) bits |= static_cast<uint64_t>(search.letters[j]) << j;
  return bits;
}

// found[i] = the skip at which seeds[i] gives the sequence (0 for the coin,
// whose skip is the search's), or -1.
void scanCoin(const HitSearch& search, const uint32_t* seeds, int32_t count, int8_t* found) {
  const uint64_t query = coinQuery(search);
  for (int32_t i = 0; i < count; i += kLanes) {
    const int32_t lanes = std::min(kLanes, count - i);
    uint32_t group[kLanes] = {};
    std::copy(seeds + i, seeds + i + lanes, group);
    uint64_t bits[kLanes];
    coinBitsLanes(group, search.skip, search.length, bits);
    for (int32_t l = 0; l < lanes; ++l) found[i + l] = bits[l] == query ? 0 : -1;
  }
}

void scanElm(const HitSearch& search, const uint32_t* seeds, int32_t count, int8_t* found) {
  for (int32_t i = 0; i < count; ++i) {
    found[i] = -1;
    uint32_t start = seeds[i];
    for (int32_t skip = 0; skip <= search.skip; ++skip, start = Lcg32::Next(start)) {
      uint32_t state = start;
      int32_t j = 0;
      for (; j < search.length; ++j) {
        state = Lcg32::Next(state);
        if (elmLetter(state, search.beforePokerus) != search.letters[j]) break;
      }
      if (j == search.length) {
        found[i] = static_cast<int8_t>(skip);
        break;
      }
    }
  }
}

void scanCells(const HitSearch& search, const uint32_t* seeds, int32_t count, int8_t* found) {
  if (search.source == HitSource::kCoin) {
    scanCoin(search, seeds, count, found);
  } else {
    scanElm(search, seeds, count, found);
  }
}

// The table is matched a round of cells at a time: the threads list and scan
// its blocks, each taking the next block left, and mark the cells that match;
// then the matches are written in table order. A call's first round is one
// page and each next one twice as long, up to kRoundCells: a call that fills
// a small page early scans little past it, and a long call starts threads
// for a few dozen rounds only.
constexpr int32_t kRoundCells = 1 << 16;
constexpr int32_t kBlockCells = 512;
constexpr int32_t kPageCells = 64;  // one word of the round's marks

struct Round {
  const CalibrationTable* table;
  const HitSearch* search;
  CalibrationCursor start;
  int32_t count;
  uint64_t* marks;  // bit i % 64 of word i / 64: cell i of the round matches
  std::atomic<int32_t> nextBlock;
};

// Cells [first, first + count) of the round, count <= kBlockCells, a page at
// a time: each page writes one word of marks of its own.
void scanBlock(Round& round, int32_t first, int32_t count) {
  CalibrationCursor at = round.start;
  advanceCalibrationCursor(*round.table, at, first);
  CalibrationCell page[kPageCells];
  uint32_t seeds[kPageCells];
  int8_t found[kPageCells];
  for (int32_t done = 0; done < count; done += kPageCells) {
    const int32_t n = listCalibrationCells(*round.table, at, page, std::min(kPageCells, count - done));
    for (int32_t i = 0; i < n; ++i) seeds[i] = page[i].seed;
    scanCells(*round.search, seeds, n, found);
    uint64_t word = 0;
    for (int32_t i = 0; i < n; ++i) word |= static_cast<uint64_t>(found[i] >= 0) << i;
    round.marks[(first + done) / kPageCells] = word;
  }
}

void scanRound(Round& round, int32_t threads) {
  const int32_t blocks = (round.count + kBlockCells - 1) / kBlockCells;
  auto scanBlocks = [&round, blocks] {
    for (int32_t b = round.nextBlock.fetch_add(1); b < blocks; b = round.nextBlock.fetch_add(1)) {
      scanBlock(round, b * kBlockCells, std::min(kBlockCells, round.count - b * kBlockCells));
    }
  };
  // A helper the system refuses leaves its blocks to the others.
  std::thread helpers[kMaxHitMatchThreads];
  int32_t started = 1;
  while (started < std::min(threads, blocks) && startThread(helpers[started], scanBlocks)) ++started;
  scanBlocks();
  for (int32_t t = 1; t < started; ++t) helpers[t].join();
}

CalibrationCursor cursorAt(const CalibrationCell& cell) {
  return CalibrationCursor{cell.secondOffset, cell.delayOffset};
}

// A match's further letters, letter j in bit j of `low` and of `high` (the
// high bit is set by Elm's P only).
struct PackedLetters {
  uint64_t low;
  uint64_t high;
};

PackedLetters furtherLetters(const HitSearch& search, const HitMatch& match, int32_t count) {
  const int32_t skip = match.skip + search.length;
  if (search.source == HitSource::kCoin) return PackedLetters{coinBits(match.cell.seed, skip, count), 0};
  uint8_t letters[kMaxHitLetters];
  elmLetters(match.cell.seed, skip, count, search.beforePokerus, letters);
  PackedLetters packed{0, 0};
  for (int32_t j = 0; j < count; ++j) {
    packed.low |= static_cast<uint64_t>(letters[j] & 1u) << j;
    packed.high |= static_cast<uint64_t>(letters[j] >> 1) << j;
  }
  return packed;
}

// The letters needed to tell two matches apart, or -1 when `count` do not.
int32_t lettersToDiffer(const PackedLetters& a, const PackedLetters& b, int32_t count) {
  const uint64_t differ = ((a.low ^ b.low) | (a.high ^ b.high)) & lowBits(count);
  return differ == 0 ? -1 : __builtin_ctzll(differ) + 1;
}

int letterValue(HitSource source, bool beforePokerus, char c) {
  switch (c) {
    case 'H': case 'h': return source == HitSource::kCoin ? kHeads : source == HitSource::kChatot ? 2 : -1;
    case 'L': case 'l': return source == HitSource::kChatot ? 0 : -1;
    case 'M': case 'm': return source == HitSource::kChatot ? 1 : -1;
    case 'T': case 't': return source == HitSource::kCoin ? kTails : -1;
    case 'E': case 'e': return source == HitSource::kElm ? 0 : -1;
    case 'K': case 'k': return source == HitSource::kElm ? 1 : -1;
    case 'P': case 'p': return source == HitSource::kElm && !beforePokerus ? 2 : -1;
    default: return -1;
  }
}

bool isAsciiSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// Whether the double-byte character `wide` (two CP932 bytes) starts text + at.
bool startsWith(const char* text, int32_t at, const char* wide) {
  return text[at] == wide[0] && text[at] != '\0' && text[at + 1] == wide[1];
}

}  // namespace

bool isValidHitSearch(const HitSearch& search) {
  const bool coin = search.source == HitSource::kCoin;
  if (!coin && search.source != HitSource::kElm) return false;
  if (search.skip < 0 || search.skip > (coin ? kMaxHitSkip : kMaxElmSkips)) return false;
  if (search.length < 1 || search.length > kMaxHitLetters) return false;
  const uint8_t letterCount = coin || search.beforePokerus ? 2 : 3;
  for (int32_t j = 0; j < search.length; ++j) {
    if (search.letters[j] >= letterCount) return false;
  }
  return true;
}

bool coinFlips(uint32_t seed, int32_t skip, int32_t count, uint8_t* letters) {
  if (skip < 0 || skip > kMaxHitSkip || count < 0 || count > kMaxHitLetters) return false;
  const uint64_t bits = coinBits(seed, skip, count);
  for (int32_t j = 0; j < count; ++j) letters[j] = static_cast<uint8_t>(bits >> j & 1u);
  return true;
}

bool elmAnswers(uint32_t seed, int32_t skip, int32_t count, bool beforePokerus, uint8_t* letters) {
  if (skip < 0 || skip > kMaxHitSkip || count < 0 || count > kMaxHitLetters) return false;
  elmLetters(seed, skip, count, beforePokerus, letters);
  return true;
}

bool chatotPitches(uint32_t seed, int32_t skip, int32_t count, uint8_t* letters) {
  if (skip < 0 || skip > kMaxHitSkip || count < 0 || count > kMaxHitLetters) return false;
  uint32_t state = lcgAfter(seed, skip);
  for (int32_t j = 0; j < count; ++j) {
    state = Lcg32::Next(state);
    letters[j] = chatotThird(chatotStep(state >> 16));
  }
  return true;
}

int32_t findCueStarts(uint32_t seed, const HitSearch& search, int32_t maxAdvance, int32_t* starts, int32_t capacity) {
  const bool chatot = search.source == HitSource::kChatot;
  if (!chatot && search.source != HitSource::kElm) return 0;
  if (search.length < 1 || search.length > kMaxHitLetters || maxAdvance < 0 || maxAdvance > kMaxHitSkip) return 0;
  const uint8_t letterCount = !chatot && search.beforePokerus ? 2 : 3;
  for (int32_t j = 0; j < search.length; ++j) {
    if (search.letters[j] >= letterCount) return 0;
  }
  // letters[k] is the cue of draw k + 1, kept in a ring of the run's length:
  // the run starting at advance a is draws a + 1..a + length.
  uint8_t ring[kMaxHitLetters];
  uint32_t state = seed;
  auto cue = [&](uint32_t s) {
    const uint32_t draw = s >> 16;
    if (chatot) return chatotThird(chatotStep(draw));
    return static_cast<uint8_t>(search.beforePokerus ? draw % 2u : draw % 3u);
  };
  for (int32_t k = 0; k < search.length; ++k) {
    state = Lcg32::Next(state);
    ring[k] = cue(state);
  }
  int32_t found = 0;
  for (int32_t a = 0;; ++a) {
    int32_t j = 0;
    while (j < search.length && ring[(a + j) % search.length] == search.letters[j]) ++j;
    if (j == search.length) {
      if (found < capacity) starts[found] = a;
      ++found;
    }
    if (a == maxAdvance) break;
    state = Lcg32::Next(state);
    ring[a % search.length] = cue(state);
  }
  return found;
}

char hitLetterChar(HitSource source, uint8_t letter) {
  if (source == HitSource::kCoin) return letter == kHeads ? 'H' : letter == kTails ? 'T' : '?';
  if (source == HitSource::kChatot) return letter < 3 ? "LMH"[letter] : '?';
  return letter < 3 ? "EKP"[letter] : '?';
}

HitTextResult parseHitText(const char* text, HitSearch& search) {
  search.length = 0;
  int32_t letters = 0;
  for (int32_t at = 0; text[at] != '\0';) {
    if (isAsciiSpace(text[at])) {
      ++at;
      continue;
    }
    // What a Japanese input method types: the full-width space, and the
    // coin's sides as the game names them, 表 (heads) and 裏 (tails).
    if (startsWith(text, at, texts::kTextFullWidthSpace)) {
      at += 2;
      continue;
    }
    if (search.source == HitSource::kCoin &&
        (startsWith(text, at, texts::kTextCoinHeads) || startsWith(text, at, texts::kTextCoinTails))) {
      if (letters < kMaxHitLetters)
        search.letters[letters] = startsWith(text, at, texts::kTextCoinHeads) ? kHeads : kTails;
      ++letters;
      at += 2;
      continue;
    }
    const int value = letterValue(search.source, search.beforePokerus, text[at]);
    if (value < 0) {
      const int32_t width = isCp932LeadByte(static_cast<unsigned char>(text[at])) && text[at + 1] != '\0' ? 2 : 1;
      return HitTextResult{HitTextStatus::kBadLetter, at, width, letters};
    }
    if (letters < kMaxHitLetters) search.letters[letters] = static_cast<uint8_t>(value);
    ++letters;
    ++at;
  }
  if (letters == 0) return HitTextResult{HitTextStatus::kEmpty, 0, 0, 0};
  if (letters > kMaxHitLetters) return HitTextResult{HitTextStatus::kTooLong, 0, 0, letters};
  search.length = letters;
  return HitTextResult{HitTextStatus::kOk, 0, 0, letters};
}

int32_t findHitMatches(const CalibrationTable& table, const HitSearch& search, CalibrationCursor& cursor,
                       HitMatch* out, int32_t capacity, int32_t threads) {
  if (!isValidCalibrationTable(table) || !isValidHitSearch(search)) {
    cursor = CalibrationCursor{table.seconds + 1, 0};
    return 0;
  }
  if (capacity <= 0) return 0;
  threads = std::clamp(threads, int32_t{1}, kMaxHitMatchThreads);
  uint64_t marks[kRoundCells / kPageCells];
  CalibrationCell page[kPageCells];
  int32_t written = 0;
  for (int32_t roundCells = kPageCells;; roundCells = std::min(2 * roundCells, kRoundCells)) {
    Round round{&table, &search, cursor, 0, marks, {0}};
    round.count = advanceCalibrationCursor(table, cursor, roundCells);
    scanRound(round, threads);
    for (int32_t first = 0; first < round.count; first += kPageCells) {
      const uint64_t word = marks[first / kPageCells];
      if (word == 0) continue;
      CalibrationCursor at = round.start;
      advanceCalibrationCursor(table, at, first);
      const int32_t cells = listCalibrationCells(table, at, page, std::min(kPageCells, round.count - first));
      for (int32_t i = 0; i < cells; ++i) {
        if ((word >> i & 1u) == 0) continue;
        int8_t skip = 0;
        if (search.source == HitSource::kElm) scanElm(search, &page[i].seed, 1, &skip);
        out[written++] = HitMatch{page[i], search.source == HitSource::kCoin ? search.skip : skip};
        if (written == capacity) {
          cursor = i + 1 < cells ? cursorAt(page[i + 1]) : at;
          return written;
        }
      }
    }
    if (round.count < roundCells) return written;
  }
}

int32_t lettersToTellApart(const HitSearch& search, const HitMatch* matches, int32_t count) {
  if (count < 2) return 0;
  const int32_t further = kMaxHitLetters - search.length;
  if (further <= 0) return -1;
  // Every pair, a block of matches against each later block: the letters of
  // a block are computed once per pass, on the stack.
  constexpr int32_t kBlock = 32;
  PackedLetters first[kBlock];
  PackedLetters second[kBlock];
  int32_t most = 0;
  for (int32_t i0 = 0; i0 < count; i0 += kBlock) {
    const int32_t n = std::min(kBlock, count - i0);
    for (int32_t i = 0; i < n; ++i) first[i] = furtherLetters(search, matches[i0 + i], further);
    for (int32_t j0 = i0; j0 < count; j0 += kBlock) {
      const int32_t m = std::min(kBlock, count - j0);
      const PackedLetters* other = first;
      if (j0 != i0) {
        for (int32_t j = 0; j < m; ++j) second[j] = furtherLetters(search, matches[j0 + j], further);
        other = second;
      }
      for (int32_t i = 0; i < n; ++i) {
        for (int32_t j = j0 == i0 ? i + 1 : 0; j < m; ++j) {
          const int32_t needed = lettersToDiffer(first[i], other[j], further);
          if (needed < 0) return -1;
          most = std::max(most, needed);
        }
      }
    }
  }
  return most;
}
