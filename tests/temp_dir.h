// A fresh, empty folder for a test's files, removed with everything in it when
// the test ends; and the bytes a text-mode file holds for LF-separated text.
#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

struct TempDir {
  std::filesystem::path path;

  TempDir() {
    std::random_device random;
    std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
      auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
      std::filesystem::path candidate =
          base / ("quillmar-test-" + std::to_string(stamp) + "-" + std::to_string(random()));
      std::error_code ec;
      if (std::filesystem::create_directory(candidate, ec)) {
        path = candidate;
        return;
      }
    }
  }
  ~TempDir() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string file(const char* name) const { return (path / name).string(); }
};

// The whole file as bytes, or "" with `exists` false when it cannot be opened.
inline std::string readFileBytes(const std::string& path, bool* exists = nullptr) {
  std::string s;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (exists) *exists = f != nullptr;
  if (!f) return s;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  std::fclose(f);
  return s;
}

// What a file written in text mode holds for `text`: each '\n' as this C
// library writes a line end in text mode (CR LF on Windows, LF elsewhere).
inline std::string textModeBytes(const std::string& text) {
  static const std::string lineEnd = [] {
    TempDir dir;
    std::FILE* f = std::fopen(dir.file("line-end").c_str(), "w");
    if (f != nullptr) {
      std::fputc('\n', f);
      std::fclose(f);
    }
    return readFileBytes(dir.file("line-end"));
  }();
  std::string out;
  for (char c : text) out += c == '\n' ? lineEnd : std::string(1, c);
  return out;
}
