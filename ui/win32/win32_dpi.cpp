#include "ui/win32/win32_dpi.h"

#include <cstdint>
#include <string>

#include "ui/win32/dialog_units.h"

namespace {

constexpr int kBaseDpi = 96;
// The main window's outer size at 96 dpi.
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
// The metrics of the window's text at 96 dpi: those of the stock System font,
// which every control and painted text used before the window set a font of
// its own and for which the templates were laid out.
constexpr int kFontCellHeight = 18;
constexpr int kFontAverageWidth = 8;

int gDpi = kBaseDpi;
HFONT gFont = nullptr;
HFONT gRetiredFont = nullptr;  // the font of the previous DPI, until the next change
HPEN gPen = nullptr;

// The functions of newer Windows versions, looked up at run time so that the
// exe still starts where they are missing (its imports stay those of Windows 7).
template <typename Function>
Function user32Function(const char* name) {
  FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForSystemFunction = UINT(WINAPI*)();
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

int screenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : kBaseDpi;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

int scaleBy(int pixels, int dpi) { return MulDiv(pixels, dpi, kBaseDpi); }

// The system's message font at `dpi`.
LOGFONTW messageFont(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  static const auto forDpi = user32Function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
  if (!(forDpi != nullptr && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) &&
      !SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    LOGFONTW fallback{};
    fallback.lfCharSet = SHIFTJIS_CHARSET;
    fallback.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    return fallback;
  }
  return metrics.lfMessageFont;
}

// Packs the four 16-bit values of a 96-dpi rectangle into the control's
// GWLP_USERDATA, which the system's control classes leave to the application;
// templates fit 16 bits with room to spare.
LONG_PTR packRect(ControlRect r) {
  auto field = [](int32_t v, int shift) { return static_cast<uint64_t>(static_cast<uint16_t>(v)) << shift; };
  return static_cast<LONG_PTR>(field(r.x, 0) | field(r.y, 16) | field(r.width, 32) | field(r.height, 48));
}
ControlRect unpackRect(LONG_PTR packed) {
  const auto bits = static_cast<uint64_t>(packed);
  auto field = [bits](int shift) { return static_cast<int32_t>(static_cast<int16_t>(bits >> shift & 0xFFFF)); };
  return ControlRect{field(0), field(16), field(32), field(48)};
}

}  // namespace

int win32WindowDpi() { return gDpi; }

int win32Scale(int pixels) { return scaleBy(pixels, gDpi); }

int win32DpiOf(HWND window) {
  static const auto forWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  if (forWindow != nullptr) {
    const UINT dpi = forWindow(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  return screenDpi();
}

int win32SystemDpi() {
  static const auto forSystem = user32Function<GetDpiForSystemFunction>("GetDpiForSystem");
  if (forSystem != nullptr) {
    const UINT dpi = forSystem();
    if (dpi != 0) return static_cast<int>(dpi);
  }
  return screenDpi();
}

void win32SetWindowDpi(int dpi) {
  gDpi = dpi > 0 ? dpi : kBaseDpi;
  LOGFONTW font = messageFont(gDpi);
  font.lfHeight = scaleBy(kFontCellHeight, gDpi);  // positive: the cell height
  font.lfWidth = scaleBy(kFontAverageWidth, gDpi);
  font.lfWeight = FW_NORMAL;
  font.lfItalic = FALSE;
  font.lfUnderline = FALSE;
  font.lfStrikeOut = FALSE;
  // Japanese glyphs whatever the message font's own character set.
  font.lfCharSet = SHIFTJIS_CHARSET;
  if (gRetiredFont != nullptr) DeleteObject(gRetiredFont);
  gRetiredFont = gFont;
  gFont = CreateFontIndirectW(&font);
  if (gPen != nullptr) DeleteObject(gPen);
  gPen = CreatePen(PS_SOLID, gDpi / kBaseDpi > 1 ? gDpi / kBaseDpi : 1, RGB(0, 0, 0));
}

HFONT win32WindowFont() {
  if (gFont == nullptr) win32SetWindowDpi(gDpi);
  return gFont;
}

HPEN win32WindowPen() {
  if (gPen == nullptr) win32SetWindowDpi(gDpi);
  return gPen;
}

void win32KeepTemplateRect(HWND control, ControlRect rect) {
  SetWindowLongPtrW(control, GWLP_USERDATA, packRect(rect));
}

ControlRect win32TemplateRect(HWND control) { return unpackRect(GetWindowLongPtrW(control, GWLP_USERDATA)); }

ControlRect win32ScaledRect(ControlRect r) {
  return ControlRect{win32Scale(r.x), win32Scale(r.y), win32Scale(r.width), win32Scale(r.height)};
}

SIZE win32MainWindowSize() { return SIZE{win32Scale(kWindowWidth), win32Scale(kWindowHeight)}; }

void win32ApplyDpi(HWND window, int dpi, const RECT* suggested) {
  win32SetWindowDpi(dpi);
  const SIZE size = win32MainWindowSize();
  if (suggested != nullptr) {
    SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
  const HFONT font = win32WindowFont();
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const ControlRect r = win32ScaledRect(win32TemplateRect(child));
    SetWindowPos(child, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  InvalidateRect(window, nullptr, TRUE);
}

void win32PlaceDialogItems(HWND dialog, const DialogTemplate& dialogTemplate) {
  if (gDpi == kBaseDpi) return;
  // The base units of the dialog's font at 96 dpi, as the dialog manager
  // takes them: the average width of the 52 Latin letters and the height.
  HDC screen = GetDC(nullptr);
  const std::wstring face(kDialogFontFace, kDialogFontFace + sizeof kDialogFontFace - 1);
  HFONT font = CreateFontW(-MulDiv(kDialogFontPoints, kBaseDpi, 72), 0, 0, 0, kDialogFontWeight, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, FF_DONTCARE, face.c_str());
  HGDIOBJ old = SelectObject(screen, font);
  static const wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE letters{};
  GetTextExtentPoint32W(screen, kLetters, 52, &letters);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  const int baseX = (letters.cx / 26 + 1) / 2;
  const int baseY = metrics.tmHeight;
  auto at96 = [baseX, baseY](int32_t x, int32_t y, int32_t width, int32_t height) {
    return ControlRect{MulDiv(dialogUnitsAcross(x), baseX, 4), MulDiv(dialogUnitsDown(y), baseY, 8),
                       MulDiv(dialogUnitsAcross(width), baseX, 4), MulDiv(dialogUnitsDown(height), baseY, 8)};
  };

  int index = 0;
  for (HWND item = GetWindow(dialog, GW_CHILD); item != nullptr && index < kIvDialogItemCount;
       item = GetWindow(item, GW_HWNDNEXT), ++index) {
    const DialogItemTemplate& t = dialogTemplate.items[index];
    const ControlRect r = win32ScaledRect(at96(t.x, t.y, t.width, t.height));
    SetWindowPos(item, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  const ControlRect client = win32ScaledRect(at96(0, 0, dialogTemplate.width, dialogTemplate.height));
  RECT outer{0, 0, client.width, client.height};
  const DWORD style = static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE));
  static const auto forDpi = user32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  if (forDpi == nullptr || !forDpi(&outer, style, FALSE, exStyle, static_cast<UINT>(gDpi))) {
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  }
  SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}
