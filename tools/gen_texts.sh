#!/bin/sh
# Turns the UTF-8 text table into a C++ header of CP932 byte strings.
# Usage: gen_texts.sh TABLE.txt OUT.h
# iconv "CP932" (not "SHIFT_JIS") is required: only CP932 maps the full-width
# tilde of "3～4" and the other Windows-932 characters the window uses.
set -eu
in=$1
out=$2
tmp="$out.tmp"
iconv -f UTF-8 -t CP932 "$in" > "$tmp.bin"
od -An -v -tx1 "$tmp.bin" | tr -s ' \n' '\n\n' | awk '
BEGIN {
  for (i = 32; i < 127; i++) chr[sprintf("%02x", i)] = sprintf("%c", i)
  print "// Generated from ui/resources/texts.txt by tools/gen_texts.sh. Do not edit."
  print "#pragma once"
  print ""
  print "namespace texts {"
  n = 0
}
function flush(   i, name, value, inName, b, c, prevEsc) {
  if (n == 0) return
  if (bytes[0] == "23") { n = 0; return }   # comment line
  name = ""; value = ""; inName = 1; prevEsc = 0
  for (i = 0; i < n; i++) {
    b = bytes[i]
    if (inName) {
      if (b == "09") { inName = 0; continue }
      name = name chr[b]
      continue
    }
    if (b == "0d") continue
    c = (b in chr) ? chr[b] : ""
    if (c == "" || c == "\"" || c == "\\" || c == "?") {
      value = value "\\x" b; prevEsc = 1
    } else {
      if (prevEsc && c ~ /[0-9A-Fa-f]/) value = value "\"\""
      value = value c; prevEsc = 0
    }
  }
  if (inName) { print "#error malformed text table line: " name; exit 1 }
  printf "inline constexpr char %s[] = \"%s\";\n", name, value
  n = 0
}
/^$/ { next }
$0 == "0a" { flush(); next }
{ bytes[n++] = $0 }
END { flush(); print "}  // namespace texts" }
' > "$tmp"
rm -f "$tmp.bin"
mv "$tmp" "$out"
