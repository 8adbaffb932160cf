#include "core/egg_files.h"

#include <cstdio>

#include "core/egg_list.h"
#include "core/rng.h"
#include "core/year_search.h"
#include "quillmar/texts.h"

namespace {

// ",YYYY/MM/DD HH:MM:SS,D" and the line end: a hit's first moment of `year`
// and the delay that reaches its seed.
bool writeMoment(std::FILE* out, uint32_t seed, int32_t year) {
  ConsoleMoment m{};
  yearHitMoment(seed, year, m);
  return std::fprintf(out, ",%04d/%02d/%02d %02d:%02d:%02d,%d\n", m.year, m.month, m.day, m.hour, m.minute, m.second,
                      m.delay) > 0;
}

// A year search's hit file: "SEED," and the kind's header with the moment's
// columns, then per hit its seed and the kind's columns (line(out, hit)), its
// first moment of `year` and the delay that reaches it.
template <typename Hit, typename Line>
OutputResult writeHitFile(const char* path, const char* header, int32_t year, const Hit* hits, int32_t count,
                          Line line) {
  OutputFile file;
  OutputResult opened = openOutputFile(file, path);
  if (opened.outcome != OutputOutcome::kWritten) return opened;
  bool ok = std::fprintf(file.stream, "SEED,%s%s\n", header, texts::kTextHitFileTail) > 0;
  for (int32_t i = 0; i < count && ok; ++i) {
    ok = line(file.stream, hits[i]) && writeMoment(file.stream, hits[i].seed, year);
  }
  return closeOutputFile(file, outputWrites(ok));
}

}  // namespace

void formatEggIvColumns(char (&out)[kEggIvsTextCapacity], const EggIvs& ivs) {
  formatEggIvs(out, ivs);
  for (char* c = out; *c != '\0'; ++c)
    if (*c == ' ') *c = ',';
}

OutputResult writeEggHitFile(const char* path, const EggSearchRequest& request, const EggHit* hits, int32_t count) {
  char line[kEggFrameLineCapacity];
  return writeHitFile(path, texts::kTextResultHeader, request.window.year, hits, count,
                      [&](std::FILE* out, const EggHit& hit) {
                        const bool shiny = ShinyTest(hit.pid, request.egg.tid, request.egg.sid);
                        formatEggFrameLine(line, hit.frame, hit.pid, shiny);
                        return std::fprintf(out, "0x%08X,%s", hit.seed, line) > 0;
                      });
}

OutputResult writeEggIvHitFile(const char* path, const EggIvSearchRequest& request, const EggIvHit* hits,
                               int32_t count) {
  char ivs[kEggIvsTextCapacity];
  return writeHitFile(path, texts::kTextIvFileHeader, request.window.year, hits, count,
                      [&](std::FILE* out, const EggIvHit& hit) {
                        formatEggIvColumns(ivs, eggIvHitIvs(hit, request.parents));
                        return std::fprintf(out, "0x%08X,%d,%s", hit.seed, hit.frame, ivs) > 0;
                      });
}

OutputResult writeEggIvFile(const char* path, const EggIvListRequest& request, EggIvFileLines& lines) {
  lines.firstCount = 0;
  lines.total = 0;
  OutputFile file;
  OutputResult opened = openOutputFile(file, path);
  if (opened.outcome != OutputOutcome::kWritten) return opened;
  bool ok = std::fprintf(file.stream, "%s\n", texts::kTextIvFileHeader) > 0;
  EggIvCursor cursor = eggIvListStart(request);
  constexpr int32_t kBatch = 256;
  EggIvLine batch[kBatch];
  char ivs[kEggIvsTextCapacity];
  while (ok && cursor.frame < request.frameCount) {
    const int32_t n = listEggIvs(request, cursor, batch, kBatch);
    for (int32_t i = 0; i < n && ok; ++i) {
      formatEggIvColumns(ivs, batch[i].ivs);
      ok = std::fprintf(file.stream, "%d,%s\n", batch[i].frame, ivs) > 0;
      if (lines.firstCount < lines.capacity) lines.first[lines.firstCount++] = batch[i];
      ++lines.total;
    }
  }
  return closeOutputFile(file, outputWrites(ok));
}
