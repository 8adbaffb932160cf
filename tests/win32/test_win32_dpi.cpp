// The Win32 window at 96, 120, 144 and 192 dpi. Under Wine a process takes its
// DPI from HKCU\Control Panel\Desktop\LogPixels when it starts, so the test
// records the window at 96 dpi, then runs itself again at each DPI with
// LogPixels set (and set back to 96 afterwards). Each run walks the same
// states (every screen of the menu, screen 1 with candidates, screen 2 with
// seeds, screen 3 with hits and moments, screen 4 with a target, screen 6
// with a Super Rod's listing, the IV dialog) and compares them
// with the 96-dpi record: every control at its 96-dpi rectangle times
// dpi / 96 (x, y, width and height each rounded), every button's, check box's
// and label's text fitting inside it in its own font, the window
// 800 x 600 x dpi / 96 outside. At 144 and 192 dpi each state is saved as
// screenshots/win32-dpi<DPI>-<state>.png for a person to look at.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "tests/win32/screenshot.h"
#include "text/cp932.h"
#include "ui/platform.h"
#include "ui/win32/win32_window.h"

namespace {

struct Placed {
  int id;
  std::wstring className;
  RECT rect;       // in its parent's client area; a drop-down list's closed box
  int dropHeight;  // a drop-down list's height with its list dropped, else 0
  bool fits;       // its text fits inside it in its font
  std::wstring text;  // not recorded
};
using Record = std::map<std::string, std::vector<Placed>>;  // state -> controls in Z order

std::wstring classOf(HWND w) {
  wchar_t name[64] = {};
  GetClassNameW(w, name, 64);
  return name;
}

std::wstring textOf(HWND w) {
  std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  s.resize(static_cast<std::size_t>(GetWindowTextW(w, s.data(), static_cast<int>(s.size()))));
  return s;
}

int scaled(int v, int dpi) { return MulDiv(v, dpi, 96); }

// Runs messages until `done` or 60 s, which fails the test.
void pump(const std::function<bool()>& done, int atLeastMs = 0) {
  const DWORD start = GetTickCount();
  for (;;) {
    const int elapsed = static_cast<int>(GetTickCount() - start);
    if (elapsed >= atLeastMs && done()) return;
    ASSERT_LT(elapsed, 60000) << "gave up waiting";
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}
void settle() { pump([] { return true; }, 300); }

// Whether a control's text fits inside it in the control's own font: a
// label's or button's across and down, beside a check box's box; an edit's
// and a drop-down list's line down.
bool textFits(HWND c, const std::wstring& className) {
  const std::wstring text = className == L"ComboBox" ? L"\x6307" : textOf(c);
  if (text.empty()) return true;
  HDC dc = GetDC(c);
  auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(c, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(c, dc);
  RECT client;
  GetClientRect(c, &client);
  int room = client.right;
  if (className == L"Button" && (GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
    room -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
  }
  const bool across = className == L"Edit" || className == L"ComboBox" || extent.cx <= room;
  return across && extent.cy <= client.bottom;
}

// Each child of `parent` with its place, in Z order.
std::vector<Placed> placesOf(HWND parent) {
  std::vector<Placed> out;
  for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    Placed p{GetDlgCtrlID(c), classOf(c), {}, 0, true, L""};
    GetWindowRect(c, &p.rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&p.rect), 2);
    if (p.className == L"ComboBox") {
      RECT dropped;
      SendMessageW(c, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
      p.dropHeight = dropped.bottom - dropped.top;
    }
    p.fits = textFits(c, p.className);
    p.text = textOf(c);
    out.push_back(p);
  }
  return out;
}

// The controls of a state; for the dialog also its client area (id -2).
std::vector<Placed> stateOf(const char* state, HWND w) {
  std::vector<Placed> places = placesOf(w);
  if (std::string(state) == "dialog") {
    Placed client{-2, L"client", {}, 0, true, L""};
    GetClientRect(w, &client.rect);
    places.push_back(client);
  }
  return places;
}

void expectScaled(const std::vector<Placed>& at96, const std::vector<Placed>& now, int dpi, const char* state) {
  SCOPED_TRACE(testing::Message() << state << " at " << dpi << " dpi");
  ASSERT_EQ(now.size(), at96.size());
  for (std::size_t i = 0; i < now.size(); ++i) {
    const Placed& a = at96[i];
    const Placed& b = now[i];
    SCOPED_TRACE(testing::Message() << "control " << a.id);
    ASSERT_EQ(b.id, a.id);
    ASSERT_EQ(b.className, a.className);
    EXPECT_EQ(b.rect.left, scaled(a.rect.left, dpi));
    EXPECT_EQ(b.rect.top, scaled(a.rect.top, dpi));
    EXPECT_EQ(b.rect.right - b.rect.left, scaled(a.rect.right - a.rect.left, dpi));
    // A drop-down list's closed box is as high as its font needs; the
    // height it was given is that of the list dropped, and Windows fits the
    // list to whole rows.
    if (a.dropHeight == 0) {
      EXPECT_EQ(b.rect.bottom - b.rect.top, scaled(a.rect.bottom - a.rect.top, dpi));
    } else {
      EXPECT_NEAR(b.dropHeight, scaled(a.dropHeight, dpi), b.rect.bottom - b.rect.top);
    }
    if (a.fits) {
      EXPECT_TRUE(b.fits) << "its text no longer fits";
    }
  }
}

std::wstring buildFolder() {
  wchar_t full[MAX_PATH];
  GetFullPathNameW(L"..", MAX_PATH, full, nullptr);  // the tests run in <build>/win32-test-data
  return full;
}

void screenshot(HWND w, int dpi, const char* state) {
  if (dpi != 144 && dpi != 192) return;
  RECT r;
  GetWindowRect(w, &r);
  char name[96];
  std::snprintf(name, sizeof name, "\\screenshots\\win32-dpi%d-%s.png", dpi, state);
  EXPECT_TRUE(savePng(captureScreen(r), utf16ToCp932(buildFolder()) + name)) << name;
}

// The IV dialog is shown modally: it is looked at from a timer its loop runs.
std::function<void(HWND)> gDialogVisit;
void CALLBACK onDialogTimer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = FindWindowW(L"#32770", nullptr);
  if (dialog == nullptr || !IsWindowVisible(dialog)) return;
  KillTimer(nullptr, id);
  gDialogVisit(dialog);
  if (IsWindow(dialog)) SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

// Walks the states, handing each to `visit` with the window (or dialog) it is in.
void walk(const std::function<void(const char*, HWND)>& visit) {
  AppState& app = win32App();
  app = AppState{};
  DeleteFileW(L"timer.txt");  // each window starts as on a first run, with nothing kept
  win32SetDocumentOpener([](const wchar_t*) {});
  HINSTANCE instance = GetModuleHandleW(nullptr);
  ASSERT_TRUE(win32RegisterMainWindowClass(instance));
  HWND main = win32CreateMainWindow(SW_SHOWNORMAL);
  ASSERT_NE(main, nullptr);
  auto at = [&](const char* state) {
    settle();
    visit(state, main);
  };
  auto click = [](ControlHandle button) { SendMessageW(reinterpret_cast<HWND>(button), BM_CLICK, 0, 0); };

  HMENU steps = GetSubMenu(GetMenu(main), 0);
  for (int i = 0; i < GetMenuItemCount(steps); ++i) {
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(GetMenuItemID(steps, i), 0), 0);
    const std::string state = "menu" + std::to_string(i + 1);
    at(state.c_str());
  }

  SendMessageW(main, WM_COMMAND, MAKEWPARAM(kCmdScreenOne, 0), 0);
  SendMessageW(reinterpret_cast<HWND>(app.screen1.natureCombo), CB_SETCURSEL, 15, 0);
  gDialogVisit = [&](HWND dialog) {
    const wchar_t* ivs[] = {L"10", L"12", L"22", L"0", L"7", L"29"};
    for (int i = 0; i < 6; ++i) SetWindowTextW(GetDlgItem(dialog, kIvDialogFirstEdit + i), ivs[i]);
    settle();
    visit("dialog", dialog);
  };
  SetTimer(nullptr, 0, 20, onDialogTimer);
  click(app.screen1.ivEntryButton);
  click(app.screen1.searchButton);
  at("screen1-candidates");
  SendMessageW(GetDlgItem(main, kCmdFirstCandidate), BM_CLICK, 0, 0);
  SetWindowTextW(reinterpret_cast<HWND>(app.screen2.hourEdit), L"5");
  click(app.screen2.seedSearchButton);
  at("screen2-seeds");

  SendMessageW(main, WM_COMMAND, MAKEWPARAM(kCmdScreenThree, 0), 0);
  SetWindowTextW(reinterpret_cast<HWND>(app.screen3.maxFrameEdit), L"8");
  SetWindowTextW(reinterpret_cast<HWND>(app.screen3.delayMinEdit), L"3909");
  SetWindowTextW(reinterpret_cast<HWND>(app.screen3.delayMaxEdit), L"3910");
  click(app.screen3.eggSearchButton);
  pump([&] { return app.eggSearch.status != SearchStatus::kRunning; });
  at("screen3-hits");
  click(app.screen3.hitButtons[5]);
  at("screen3-moments");
  click(app.screen3.aimButtons[0]);
  at("screen4-target");

  SendMessageW(main, WM_COMMAND, MAKEWPARAM(kCmdScreenFive, 0), 0);
  for (ControlHandle edit : app.screen5.ivParentAEdits) SetWindowTextW(reinterpret_cast<HWND>(edit), L"31");
  SetWindowTextW(reinterpret_cast<HWND>(app.screen5.ivMinEdits[0]), L"31");
  SetWindowTextW(reinterpret_cast<HWND>(app.screen5.ivMinEdits[1]), L"31");
  SetWindowTextW(reinterpret_cast<HWND>(app.screen5.ivDelayMinEdit), L"3909");
  SetWindowTextW(reinterpret_cast<HWND>(app.screen5.ivDelayMaxEdit), L"3910");
  click(app.screen5.ivSearchButton);
  pump([&] { return app.ivSearch.status != SearchStatus::kRunning; });
  SetWindowTextW(reinterpret_cast<HWND>(app.screen5.ivSeedEdit), L"0x00000F5F");
  click(app.screen5.ivListButton);
  at("screen5-hits");

  SendMessageW(main, WM_COMMAND, MAKEWPARAM(kCmdScreenSix, 0), 0);
  SendMessageW(reinterpret_cast<HWND>(app.screen6.kindCombo), CB_SETCURSEL, 6, 0);
  SetWindowTextW(reinterpret_cast<HWND>(app.screen6.seedEdit), L"0x00000F5F");
  SetWindowTextW(reinterpret_cast<HWND>(app.screen6.cueEdit), L"LMHHL");
  click(app.screen6.outputButton);
  at("screen6-list");
  SetWindowTextW(reinterpret_cast<HWND>(app.screen6.searchAdvanceEdit), L"5");
  SetWindowTextW(reinterpret_cast<HWND>(app.screen6.searchDelayMinEdit), L"300");
  SetWindowTextW(reinterpret_cast<HWND>(app.screen6.searchDelayMaxEdit), L"300");
  click(app.screen6.searchButton);
  pump([&] { return app.wildSearch.status != SearchStatus::kRunning; });
  at("screen6-search");

  SendMessageW(main, WM_COMMAND, MAKEWPARAM(kCmdScreenSeven, 0), 0);
  SetWindowTextW(reinterpret_cast<HWND>(app.screen7.momentEdit), L"2026-03-01 12:00:00");
  click(app.screen7.listButton);
  click(app.screen7.lineUseButtons[0]);
  SetWindowTextW(reinterpret_cast<HWND>(app.screen7.searchDelayMinEdit), L"600");
  SetWindowTextW(reinterpret_cast<HWND>(app.screen7.searchDelayMaxEdit), L"600");
  click(app.screen7.searchButton);
  pump([&] { return app.idSearch.status != SearchStatus::kRunning; });
  at("screen7-ids");

  SendMessageW(main, WM_CLOSE, 0, 0);
  settle();
  UnregisterClassW(L"quillmar", instance);
  win32SetDocumentOpener(nullptr);
}

void checkWindowSize(HWND w, int dpi) {
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, scaled(800, dpi));
  EXPECT_EQ(r.bottom - r.top, scaled(600, dpi));
}

const wchar_t kRecordEnv[] = L"QUILLMAR_DPI_RECORD";

void writeRecord(const Record& record, const std::wstring& path) {
  std::FILE* f = _wfopen(path.c_str(), L"w");
  ASSERT_NE(f, nullptr);
  for (const auto& [state, places] : record) {
    for (const Placed& p : places) {
      std::fprintf(f, "%s %d %ls %ld %ld %ld %ld %d %d\n", state.c_str(), p.id, p.className.c_str(), p.rect.left,
                   p.rect.top, p.rect.right, p.rect.bottom, p.dropHeight, p.fits ? 1 : 0);
    }
  }
  std::fclose(f);
}

Record readRecord(const std::wstring& path) {
  Record record;
  std::FILE* f = _wfopen(path.c_str(), L"r");
  if (f == nullptr) return record;
  char state[64];
  wchar_t className[64];
  Placed p{};
  int fits = 0;
  while (std::fscanf(f, "%63s %d %63ls %ld %ld %ld %ld %d %d", state, &p.id, className, &p.rect.left, &p.rect.top,
                     &p.rect.right, &p.rect.bottom, &p.dropHeight, &fits) == 9) {
    p.className = className;
    p.fits = fits != 0;
    record[state].push_back(p);
  }
  std::fclose(f);
  return record;
}

int screenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

void setLogPixels(DWORD dpi) {
  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
  RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  RegCloseKey(key);
}

// This exe again, with `dpi` in LogPixels, running the test below.
DWORD runAt(DWORD dpi, const std::wstring& record) {
  setLogPixels(dpi);
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(exe) + L"\" --gtest_filter=Win32Dpi.MatchesTheRecordAtThisDpi";
  SetEnvironmentVariableW(kRecordEnv, record.c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  DWORD code = 9999;
  const std::wstring folder = buildFolder();
  if (CreateProcessW(exe, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup, &process)) {
    if (WaitForSingleObject(process.hProcess, 200000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 9998);
    WaitForSingleObject(process.hProcess, 5000);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  SetEnvironmentVariableW(kRecordEnv, nullptr);
  setLogPixels(96);
  return code;
}

bool isChild() { return GetEnvironmentVariableW(kRecordEnv, nullptr, 0) != 0; }

TEST(Win32Dpi, EveryStateScalesFrom96To120_144And192Dpi) {
  if (isChild()) GTEST_SKIP();
  ASSERT_EQ(screenDpi(), 96) << "the Wine prefix must be at 96 dpi (LogPixels)";
  // The manifest of quillmar.exe, linked into this test too, makes the
  // process per-monitor DPI aware: Windows leaves the scaling to the window.
  EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()), DPI_AWARENESS_PER_MONITOR_AWARE);
  Record record;
  walk([&](const char* state, HWND w) {
    record[state] = stateOf(state, w);
    if (std::string(state) == "menu1") checkWindowSize(w, 96);
    // At 96 dpi every text fits but one: under Wine the dialog's font (its
    // stand-in for MS UI Gothic) is wider than the dialog units were laid out
    // for, and "素早さ" loses its last character, as it did before scaling.
    for (const Placed& p : record[state]) {
      if (std::string(state) == "dialog" && p.text == L"素早さ") continue;
      EXPECT_TRUE(p.fits) << state << ": the text of control " << p.id << " does not fit";
    }
  });
  ASSERT_GE(record.size(), 8u);
  const std::wstring path = buildFolder() + L"\\win32-dpi-record.txt";
  writeRecord(record, path);
  for (DWORD dpi : {120u, 144u, 192u}) {
    EXPECT_EQ(runAt(dpi, path), 0u) << "the run at " << dpi << " dpi failed (its output is above)";
  }
  EXPECT_EQ(screenDpi(), 96);
}

TEST(Win32Dpi, MatchesTheRecordAtThisDpi) {
  if (!isChild()) GTEST_SKIP();
  wchar_t path[MAX_PATH];
  GetEnvironmentVariableW(kRecordEnv, path, MAX_PATH);
  const Record record = readRecord(path);
  const int dpi = screenDpi();
  std::printf("[ dpi %d ]\n", dpi);
  ASSERT_NE(dpi, 96);
  int states = 0;
  walk([&](const char* state, HWND w) {
    ++states;
    ASSERT_EQ(record.count(state), 1u) << state;
    expectScaled(record.at(state), stateOf(state, w), dpi, state);
    if (std::string(state) != "dialog") checkWindowSize(w, dpi);
    screenshot(w, dpi, state);
  });
  EXPECT_EQ(states, static_cast<int>(record.size()));
}

// Moving to a monitor of another scale: the window takes the suggested
// rectangle, its controls their places at the new DPI, and back.
TEST(Win32Dpi, DpiChangedPlacesEverythingAgainInTheSuggestedRectangle) {
  if (isChild()) GTEST_SKIP();
  walk([](const char* state, HWND main) {
    if (std::string(state) != "menu1") return;
    const std::vector<Placed> at96 = placesOf(main);
    RECT big{40, 30, 40 + 1200, 30 + 900};
    SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&big));
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    checkWindowSize(main, 144);
    expectScaled(at96, placesOf(main), 144, "after WM_DPICHANGED to 144");
    RECT back{40, 30, 40 + 800, 30 + 600};
    SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&back));
    expectScaled(at96, placesOf(main), 96, "back at 96");
  });
}

}  // namespace
