// Screen pixels for the window tests under Wine: a rectangle of the screen as
// 24-bit RGB, saved as PNG (stored, uncompressed deflate: no zlib needed).
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // row-major, top row first, 3 bytes a pixel

  bool dark(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    const uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    return p[0] + p[1] + p[2] < 3 * 128;
  }
  // Anything visibly darker than the white background (grey frames too).
  bool inked(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    const uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    return p[0] + p[1] + p[2] < 3 * 200;
  }
  // The dark/light pattern of a rectangle, one char per pixel, rows joined.
  std::string pattern(int x0, int y0, int w, int h) const {
    std::string s;
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) s += dark(x, y) ? '#' : '.';
    return s;
  }
};

// Copies a screen rectangle (what the X server shows under Wine).
inline Pixels captureScreen(RECT r) {
  Pixels out;
  out.width = r.right - r.left;
  out.height = r.bottom - r.top;
  if (out.width <= 0 || out.height <= 0) return out;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = out.width;
  bi.bmiHeader.biHeight = -out.height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, out.width, out.height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
  const uint8_t* src = static_cast<const uint8_t*>(bits);
  for (std::size_t i = 0, n = static_cast<std::size_t>(out.width) * out.height; i < n; ++i) {
    out.rgb[i * 3 + 0] = src[i * 4 + 2];
    out.rgb[i * 3 + 1] = src[i * 4 + 1];
    out.rgb[i * 3 + 2] = src[i * 4 + 0];
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return out;
}

namespace png_detail {

inline uint32_t crc32(const uint8_t* data, std::size_t n, uint32_t crc = 0) {
  crc = ~crc;
  for (std::size_t i = 0; i < n; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

inline void put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int s = 24; s >= 0; s -= 8) v.push_back(static_cast<uint8_t>(x >> s));
}

inline void chunk(std::vector<uint8_t>& file, const char* type, const std::vector<uint8_t>& data) {
  put32(file, static_cast<uint32_t>(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  file.insert(file.end(), body.begin(), body.end());
  put32(file, crc32(body.data(), body.size()));
}

}  // namespace png_detail

inline bool savePng(const Pixels& p, const std::string& path) {
  using namespace png_detail;
  std::vector<uint8_t> raw;  // filter byte 0, then the row
  for (int y = 0; y < p.height; ++y) {
    raw.push_back(0);
    const uint8_t* row = &p.rgb[static_cast<std::size_t>(y) * p.width * 3];
    raw.insert(raw.end(), row, row + static_cast<std::size_t>(p.width) * 3);
  }
  std::vector<uint8_t> z{0x78, 0x01};
  for (std::size_t at = 0; at < raw.size() || at == 0;) {
    std::size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
    bool last = at + n >= raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<uint8_t>(n));
    z.push_back(static_cast<uint8_t>(n >> 8));
    z.push_back(static_cast<uint8_t>(~n));
    z.push_back(static_cast<uint8_t>(~n >> 8));
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at), raw.begin() + static_cast<std::ptrdiff_t>(at + n));
    at += n;
    if (last) break;
  }
  uint32_t a = 1, b = 0;
  for (uint8_t c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  put32(z, (b << 16) | a);

  std::vector<uint8_t> file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  put32(ihdr, static_cast<uint32_t>(p.width));
  put32(ihdr, static_cast<uint32_t>(p.height));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
  chunk(file, "IHDR", ihdr);
  chunk(file, "IDAT", z);
  chunk(file, "IEND", {});
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  return std::fclose(f) == 0 && ok;
}
