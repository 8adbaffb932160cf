// Writes the Windows resource script of the menu bar (resource 101) and the IV
// entry dialog (resource 102) from the one definition of both in
// ui/resources/templates.h, whose texts come from ui/resources/texts.txt. The
// template says what each item is; this is where it becomes Win32 classes,
// style bits and dialog units. Built and run on the build machine during the
// Windows cross build.
//
// The script is UTF-8 with `#pragma code_page(65001)`: the resource compiler
// then stores the texts as UTF-16. A CP932 script would break on every text
// whose last trail byte is 0x5C (a backslash to the compiler), e.g. "表", "ソ".
//
// Usage: gen_rc OUT.rc
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "text/cp932.h"
#include "ui/resources/templates.h"

namespace {

// A CP932 text as a quoted UTF-8 resource string ('"' doubled).
std::string quoted(const char* cp932) {
  std::string utf8 = cp932ToUtf8(cp932);
  std::string out = "\"";
  for (char c : utf8) {
    out += c;
    if (c == '"') out += '"';
  }
  out += '"';
  return out;
}

// Dialog units: a quarter of the dialog font's average character width across,
// an eighth of its line height down. The template's pixels are those of its
// layout font, so each converts back to the unit it was laid out from.
int unitsAcross(int32_t pixels) { return static_cast<int>(std::lround(pixels * 4 / kDialogLayoutCharWidth)); }
int unitsDown(int32_t pixels) { return static_cast<int>(std::lround(pixels * 8.0 / kDialogLayoutLineHeight)); }

struct ItemResource {
  int id;  // IDOK, IDCANCEL, IDC_STATIC; 0: the template's own id
  const char* className;
  const char* style;
};

ItemResource resourceOf(DialogItemKind kind) {
  switch (kind) {
    case DialogItemKind::kOkButton:
      return {1, "Button", "WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON"};
    case DialogItemKind::kCancelButton:
      return {2, "Button", "WS_CHILD | WS_VISIBLE | WS_TABSTOP"};
    case DialogItemKind::kLabel:
      return {-1, "Static", "WS_CHILD | WS_VISIBLE | WS_GROUP"};
    case DialogItemKind::kEdit:
      return {0, "Edit", "WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP"};
  }
  return {-1, "Static", "WS_CHILD | WS_VISIBLE"};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: gen_rc OUT.rc\n", stderr);
    return 2;
  }
  std::FILE* f = std::fopen(argv[1], "wb");
  if (f == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  std::fputs(
      "// Generated from ui/resources/templates.h and texts.txt by ui/win32/gen_rc.cpp. Do not edit.\n"
      "#pragma code_page(65001)\n"
      "#include <windows.h>\n\n",
      f);

  const MenuTemplate& menu = kStepMenu;
  std::fprintf(f, "%d MENU\nBEGIN\n  POPUP %s\n  BEGIN\n", menu.resourceId, quoted(menu.popupText).c_str());
  for (const MenuItemTemplate& item : menu.items) {
    std::fprintf(f, "    MENUITEM %s, %d\n", quoted(item.text).c_str(), item.id);
  }
  std::fputs("  END\nEND\n\n", f);

  // A modal dialog with a caption and a close box, in "MS Shell Dlg" 8 pt;
  // charset 1 (DEFAULT_CHARSET): the system picks a font that has the glyphs.
  const DialogTemplate& d = kIvEntryDialogTemplate;
  std::fprintf(f, "%d DIALOGEX 0, 0, %d, %d\n", d.resourceId, unitsAcross(d.width), unitsDown(d.height));
  std::fputs("STYLE WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS\n", f);
  std::fprintf(f, "CAPTION %s\n", quoted(d.caption).c_str());
  std::fputs("FONT 8, \"MS Shell Dlg\", 400, 0, 0x1\nBEGIN\n", f);
  for (const DialogItemTemplate& item : d.items) {
    ItemResource r = resourceOf(item.kind);
    std::fprintf(f, "  CONTROL %s, %d, \"%s\", %s, %d, %d, %d, %d\n", quoted(item.text).c_str(),
                 r.id != 0 ? r.id : item.id, r.className, r.style, unitsAcross(item.x), unitsDown(item.y),
                 unitsAcross(item.width), unitsDown(item.height));
  }
  std::fputs("END\n", f);
  if (std::fclose(f) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
