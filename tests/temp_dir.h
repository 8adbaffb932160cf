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

// What a file written in text mode holds for `text`: CR LF line ends on
// Windows, the text unchanged elsewhere.
inline std::string textModeBytes(const std::string& text) {
#ifdef _WIN32
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
#else
  return text;
#endif
}

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
