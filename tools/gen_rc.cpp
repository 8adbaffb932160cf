// Writes the Windows resource script of the menu bar (resource 101) and the IV
// entry dialog (resource 102) from the one definition of both in
// ui/resources/templates.h, whose texts come from ui/resources/texts.txt.
// Built and run on the build machine during the Windows cross build.
//
// The script is UTF-8 with `#pragma code_page(65001)`: the resource compiler
// then stores the texts as UTF-16. A CP932 script would break on every text
// whose last trail byte is 0x5C (a backslash to the compiler), e.g. "表", "ソ".
//
// Usage: gen_rc OUT.rc
#include <cstdint>
#include <cstdio>
#include <string>

#include "text/cp932.h"
#include "ui/resources/templates.h"

namespace {

struct StyleName {
  uint32_t bits;
  const char* name;
};

// Window styles first, in the order the templates are usually written.
constexpr StyleName kWindowStyles[] = {
    {kWsPopup, "WS_POPUP"},   {kWsChild, "WS_CHILD"},     {kWsVisible, "WS_VISIBLE"}, {kWsCaption, "WS_CAPTION"},
    {kWsBorder, "WS_BORDER"}, {kWsSysMenu, "WS_SYSMENU"}, {kWsGroup, "WS_GROUP"},     {kWsTabStop, "WS_TABSTOP"},
};
constexpr StyleName kDialogStyles[] = {
    {kDsModalFrame, "DS_MODALFRAME"}, {kDsSetFont, "DS_SETFONT"}, {kDsFixedSys, "DS_FIXEDSYS"}};
constexpr StyleName kButtonStyles[] = {{kBsDefPushButton, "BS_DEFPUSHBUTTON"}};

template <std::size_t N>
void nameBits(std::string& out, uint32_t& style, const StyleName (&names)[N]) {
  for (const StyleName& s : names) {
    if ((style & s.bits) != s.bits) continue;
    if (!out.empty()) out += " | ";
    out += s.name;
    style &= ~s.bits;
  }
}

// The style as the resource compiler's names, with any bit left over in hex.
template <std::size_t N>
std::string styleText(uint32_t style, const StyleName (&lowWordNames)[N]) {
  std::string out;
  nameBits(out, style, kWindowStyles);
  nameBits(out, style, lowWordNames);
  if (style != 0 || out.empty()) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(style));
    if (!out.empty()) out += " | ";
    out += hex;
  }
  return out;
}

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

const char* className(DialogItemClass c) {
  switch (c) {
    case DialogItemClass::kButton:
      return "\"Button\"";
    case DialogItemClass::kStatic:
      return "\"Static\"";
    case DialogItemClass::kEdit:
      return "\"Edit\"";
  }
  return "\"Static\"";
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
      "// Generated from ui/resources/templates.h and texts.txt by tools/gen_rc.cpp. Do not edit.\n"
      "#pragma code_page(65001)\n"
      "#include <windows.h>\n\n",
      f);

  const MenuTemplate& menu = kStepMenu;
  std::fprintf(f, "%d MENU\nBEGIN\n  POPUP %s\n  BEGIN\n", menu.resourceId, quoted(menu.popupText).c_str());
  for (const MenuItemTemplate& item : menu.items) {
    std::fprintf(f, "    MENUITEM %s, %d\n", quoted(item.text).c_str(), item.id);
  }
  std::fputs("  END\nEND\n\n", f);

  const DialogTemplate& d = kIvEntryDialogTemplate;
  std::fprintf(f, "%d DIALOGEX 0, 0, %d, %d\n", d.resourceId, d.width, d.height);
  std::fprintf(f, "STYLE %s\n", styleText(d.style, kDialogStyles).c_str());
  std::fprintf(f, "CAPTION %s\n", quoted(d.caption).c_str());
  // Charset 1 (DEFAULT_CHARSET): the system picks a font that has the glyphs.
  std::fprintf(f, "FONT %d, %s, %d, 0, 0x1\nBEGIN\n", d.fontPoints, quoted(d.fontName).c_str(), d.fontWeight);
  for (const DialogItemTemplate& item : d.items) {
    std::string style = item.itemClass == DialogItemClass::kButton ? styleText(item.style, kButtonStyles)
                                                                    : styleText(item.style, kDialogStyles);
    std::fprintf(f, "  CONTROL %s, %d, %s, %s, %d, %d, %d, %d\n", quoted(item.text).c_str(), item.id,
                 className(item.itemClass), style.c_str(), item.x, item.y, item.width, item.height);
  }
  std::fputs("END\n", f);
  if (std::fclose(f) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
