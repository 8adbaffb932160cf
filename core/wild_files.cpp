#include "core/wild_files.h"

#include <cstdio>

#include "core/hit_file.h"
#include "data/tables.h"
#include "quillmar/texts.h"

namespace {

bool isRodKind(WildKind kind) {
  return kind == WildKind::kOldRod || kind == WildKind::kGoodRod || kind == WildKind::kSuperRod;
}

}  // namespace

bool wildListRequestValid(const WildListRequest& request) {
  return wildEncounterValid(request.encounter) && wildFilterValid(request.filter) && request.advanceCount >= 1 &&
         request.advanceCount <= kLargestWildAdvanceCount;
}

int32_t formatWildLine(char (&out)[kWildLineCapacity], const WildEncounter& e, const WildCreature& c,
                       bool beforePokerus) {
  char slot[16];
  if (c.feebas) {
    std::snprintf(slot, sizeof slot, "%s", texts::kTextFeebas);
  } else if (c.slot >= 0) {
    std::snprintf(slot, sizeof slot, "%d", c.slot);
  } else {
    std::snprintf(slot, sizeof slot, "-");
  }
  char level[16];
  if (c.level >= 0) {
    std::snprintf(level, sizeof level, "%d", c.level);
  } else {
    std::snprintf(level, sizeof level, "-");
  }
  const WildCue cue = wildCueOf(e.game, c.cueDraw, beforePokerus);
  char cueText[16];
  if (cue.chatotStep >= 0) {
    std::snprintf(cueText, sizeof cueText, "%d %c", cue.chatotStep, cue.letter);
  } else {
    std::snprintf(cueText, sizeof cueText, "%c", cue.letter);
  }
  int n = std::snprintf(out, sizeof out, "%d\t%08X\t%s\t%d\t%d\t%d %d %d %d %d %d\t%s %d\t%s\t%s\t%s\t%s", c.advance, c.pid,
                        kNatureNames[c.nature], c.ability, c.genderValue, c.ivs[0], c.ivs[1], c.ivs[2], c.ivs[3],
                        c.ivs[4], c.ivs[5], kHiddenPowerTypeNames[c.hiddenPowerType], c.hiddenPowerPower,
                        c.shiny ? texts::kTextShinyMark : "", slot, level, cueText);
  if (isRodKind(e.kind) && n > 0 && n < kWildLineCapacity)
    n += std::snprintf(out + n, sizeof out - static_cast<size_t>(n), "\t%d", c.bite);
  return n < 0 ? 0 : n < kWildLineCapacity ? n : kWildLineCapacity - 1;
}

const char* wildFileHeader(const WildEncounter& e) {
  return isRodKind(e.kind) ? texts::kTextWildFileRodHeader : texts::kTextWildFileHeader;
}

bool writeWildLines(std::FILE* out, const WildListRequest& request, WildFileLines* lines) {
  if (lines != nullptr) lines->firstCount = lines->total = 0;
  WildListCursor cursor = wildListStart(request.seed, 0, request.advanceCount);
  WildCreature creature;
  char line[kWildLineCapacity];
  while (wildListNext(request.encounter, request.filter, cursor, creature)) {
    formatWildLine(line, request.encounter, creature, request.beforePokerus);
    if (std::fprintf(out, "%s\n", line) < 0) return false;
    if (lines != nullptr) {
      if (lines->firstCount < lines->capacity) lines->first[lines->firstCount++] = creature;
      ++lines->total;
    }
  }
  return true;
}

OutputResult writeWildFile(const char* path, const WildListRequest& request, WildFileLines& lines) {
  lines.firstCount = 0;
  lines.total = 0;
  OutputFile file;
  OutputResult opened = openOutputFile(file, path);
  if (opened.outcome != OutputOutcome::kWritten) return opened;
  bool ok = std::fprintf(file.stream, "%s\n", wildFileHeader(request.encounter)) > 0;
  ok = ok && writeWildLines(file.stream, request, &lines);
  return closeOutputFile(file, outputWrites(ok));
}

OutputResult writeWildHitFile(const char* path, const WildSearchRequest& request, const WildHit* hits, int32_t count,
                              bool beforePokerus) {
  char header[kWildLineCapacity + 32];
  std::snprintf(header, sizeof header, "%s%s", wildFileHeader(request.encounter), texts::kTextWildHitFileTail);
  char line[kWildLineCapacity];
  return writeHitFile(path, '\t', header, request.window.year, hits, count, [&](std::FILE* out, const WildHit& hit) {
    WildCreature creature;
    wildHitCreature(request, hit, creature);
    formatWildLine(line, request.encounter, creature, beforePokerus);
    return std::fprintf(out, "0x%08X\t%s", hit.seed, line) > 0;
  });
}
