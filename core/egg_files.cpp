#include "core/egg_files.h"

#include <cerrno>
#include <cstdio>

#include "core/egg_list.h"
#include "core/rng.h"
#include "core/year_search.h"
#include "quillmar/texts.h"

namespace {

// Why the writes failed, or written: the result the file is closed with.
OutputResult writesOutcome(bool ok) {
  return ok ? OutputResult{OutputOutcome::kWritten, 0} : OutputResult{OutputOutcome::kNotWritten, errno};
}

// ",YYYY/MM/DD HH:MM:SS,D" and the line end: a hit's first moment of `year`
// and the delay that reaches its seed.
bool writeMoment(std::FILE* out, uint32_t seed, int32_t year) {
  ConsoleMoment m{};
  yearHitMoment(seed, year, m);
  return std::fprintf(out, ",%04d/%02d/%02d %02d:%02d:%02d,%d\n", m.year, m.month, m.day, m.hour, m.minute, m.second,
                      m.delay) > 0;
}

}  // namespace

void formatEggIvColumns(char (&out)[kEggIvsTextCapacity], const EggIvs& ivs) {
  formatEggIvs(out, ivs);
  for (char* c = out; *c != '\0'; ++c)
    if (*c == ' ') *c = ',';
}

OutputResult writeEggHitFile(const char* path, const EggSearchRequest& request, const EggHit* hits, int32_t count) {
  OutputFile file;
  OutputResult opened = openOutputFile(file, path);
  if (opened.outcome != OutputOutcome::kWritten) return opened;
  bool ok = std::fprintf(file.stream, "SEED,%s%s\n", texts::kTextResultHeader, texts::kTextHitFileTail) > 0;
  char line[kEggFrameLineCapacity];
  for (int32_t i = 0; i < count && ok; ++i) {
    const EggHit& hit = hits[i];
    formatEggFrameLine(line, hit.frame, hit.pid, ShinyTest(hit.pid, request.egg.tid, request.egg.sid));
    ok = std::fprintf(file.stream, "0x%08X,%s", hit.seed, line) > 0 &&
         writeMoment(file.stream, hit.seed, request.window.year);
  }
  return closeOutputFile(file, writesOutcome(ok));
}

OutputResult writeEggIvHitFile(const char* path, const EggIvSearchRequest& request, const EggIvHit* hits,
                               int32_t count) {
  OutputFile file;
  OutputResult opened = openOutputFile(file, path);
  if (opened.outcome != OutputOutcome::kWritten) return opened;
  bool ok = std::fprintf(file.stream, "SEED,%s%s\n", texts::kTextIvFileHeader, texts::kTextHitFileTail) > 0;
  char ivs[kEggIvsTextCapacity];
  for (int32_t i = 0; i < count && ok; ++i) {
    const EggIvHit& hit = hits[i];
    formatEggIvColumns(ivs, eggIvHitIvs(hit, request.parents));
    ok = std::fprintf(file.stream, "0x%08X,%d,%s", hit.seed, hit.frame, ivs) > 0 &&
         writeMoment(file.stream, hit.seed, request.window.year);
  }
  return closeOutputFile(file, writesOutcome(ok));
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
  return closeOutputFile(file, writesOutcome(ok));
}
