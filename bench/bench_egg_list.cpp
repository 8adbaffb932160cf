// The 999,999-frame egg list (the most the frame field allows, no filter)
// written to a temporary file, against the one-printf-per-line writer and
// against the floor: the same bytes written with a single buffered write.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "core/egg_list.h"
#include "tests/reference/reference_scans.h"

namespace {

constexpr int32_t kFrames = 999999;

EggListRequest everyFrame() {
  EggListRequest r{};
  r.initialSeed = 0;
  r.frameCount = kFrames;
  return r;
}

std::string tempPath() {
  return (std::filesystem::temp_directory_path() / "quillmar-bench-result.txt").string();
}

// The list's bytes as the reference writer produces them, read back.
const std::string& listBytes() {
  static const std::string bytes = [] {
    auto app = std::make_unique<AppState>();
    std::string path = tempPath();
    std::FILE* f = std::fopen(path.c_str(), "w");
    writeEggPidListStraightforward(app->eggList, everyFrame(), f);
    std::fclose(f);
    std::string s;
    f = std::fopen(path.c_str(), "rb");
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) s.append(buffer, n);
    std::fclose(f);
    std::filesystem::remove(path);
    return s;
  }();
  return bytes;
}

void finish(benchmark::State& state, const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
  state.counters["MB"] = static_cast<double>(size) / 1e6;
  state.counters["size_ok"] = size == listBytes().size();  // 1: as many bytes as the reference
  std::filesystem::remove(path, ec);
}

void BM_EggList999999(benchmark::State& state) {
  auto app = std::make_unique<AppState>();
  const std::string path = tempPath();
  for (auto _ : state) {
    writeEggPidListFile(app->eggList, everyFrame(), path.c_str());
  }
  finish(state, path);
}
BENCHMARK(BM_EggList999999)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EggList999999_Straightforward(benchmark::State& state) {
  auto app = std::make_unique<AppState>();
  const std::string path = tempPath();
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    writeEggPidListStraightforward(app->eggList, everyFrame(), f);
    std::fclose(f);
  }
  finish(state, path);
}
BENCHMARK(BM_EggList999999_Straightforward)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EggList999999_Floor(benchmark::State& state) {
  const std::string& bytes = listBytes();
  const std::string path = tempPath();
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  finish(state, path);
}
BENCHMARK(BM_EggList999999_Floor)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
