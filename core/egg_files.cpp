#include "core/egg_files.h"

#include <cstdio>

#include "core/egg_list.h"
#include "core/hit_file.h"
#include "core/rng.h"
#include "quillmar/texts.h"

void formatEggIvColumns(char (&out)[kEggIvsTextCapacity], const EggIvs& ivs) {
  formatEggIvs(out, ivs);
  for (char* c = out; *c != '\0'; ++c)
    if (*c == ' ') *c = ',';
}

OutputResult writeEggHitFile(const char* path, const EggSearchRequest& request, const EggHit* hits, int32_t count) {
  char line[kEggFrameLineCapacity];
  char header[160];
  std::snprintf(header, sizeof header, "%s%s", texts::kTextResultHeader, texts::kTextHitFileTail);
  return writeHitFile(path, ',', header, request.window.year, hits, count,
                      [&](std::FILE* out, const EggHit& hit) {
                        const bool shiny = ShinyTest(hit.pid, request.egg.tid, request.egg.sid);
                        formatEggFrameLine(line, hit.frame, hit.pid, shiny);
                        return std::fprintf(out, "0x%08X,%s", hit.seed, line) > 0;
                      });
}

OutputResult writeEggIvHitFile(const char* path, const EggIvSearchRequest& request, const EggIvHit* hits,
                               int32_t count) {
  char ivs[kEggIvsTextCapacity];
  char header[64];
  std::snprintf(header, sizeof header, "%s%s", texts::kTextIvFileHeader, texts::kTextHitFileTail);
  return writeHitFile(path, ',', header, request.window.year, hits, count,
                      [&](std::FILE* out, const EggIvHit& hit) {
                        formatEggIvColumns(ivs, eggIvHitIvs(hit, request.parents));
                        return std::fprintf(out, "0x%08X,%d,%s", hit.seed, hit.frame, ivs) > 0;
                      });
}

OutputResult writeIdHitFile(const char* path, const IdSearchRequest& request, const IdHit* hits, int32_t count) {
  char header[64];
  std::snprintf(header, sizeof header, "%s%s", texts::kTextIdFileHeader, texts::kTextHitFileTail);
  return writeHitFile(path, ',', header, request.window.year, hits, count,
                      [](std::FILE* out, const IdHit& hit) {
                        const TrainerIds ids = trainerIdsOf(hit.seed);
                        return std::fprintf(out, "0x%08X,%d,%d", hit.seed, ids.tid, ids.sid) > 0;
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
