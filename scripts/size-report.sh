#!/usr/bin/env bash
# What the release Quenlix.exe is made of: its size by PE section, by origin
# (our code, libstdc++, the C runtime, ...), its largest functions and
# tables, and for each large library part the chain of references that
# pulled it in. Reads the program and the linker map of a Release tree.
#
#   scripts/size-report.sh [build folder]    (default: build/release)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

tree="${1:-$QUENLIX_BUILD/release}"
exe="$tree/Quenlix.exe"
map="$tree/Quenlix.map"
for f in "$exe" "$map"; do
  [ -f "$f" ] || { echo "size-report: $f is missing; run scripts/package.sh first" >&2; exit 1; }
done

size=$(stat -c %s "$exe")
printf 'Quenlix.exe: %d bytes (%d KiB)\n' "$size" $(((size + 1023) / 1024))

echo
echo "== PE sections (bytes in memory; the file pads each to 512)"
x86_64-w64-mingw32-objdump -h "$exe" | awk '
  function hex(s,   i, n) { n = 0; for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(tolower(s), i, 1)) - 1; return n }
  $1 ~ /^[0-9]+$/ { printf "  %-8s %8d\n", $2, hex($3) }'

# One line per piece that the linker placed in the program:
#   bytes <TAB> origin <TAB> archive(member) <TAB> function or table
# With -ffunction-sections every function of ours (and of libstdc++'s
# headers) is a section of its own, named after the function; library parts
# built without it show as whole members. Code, unwind tables (.pdata,
# .xdata) and read-only data of one function add up under its name.
pieces=$(awk '
  function hex(s,   i, c, n) {
    n = 0; s = tolower(s); sub(/^0x/, "", s)
    for (i = 1; i <= length(s); i++) { c = index("0123456789abcdef", substr(s, i, 1)); n = n * 16 + c - 1 }
    return n
  }
  function base(p) { sub(/.*\//, "", p); return p }
  function origin(f) {
    if (f ~ /\.res$/) return "resources"
    if (f ~ /libquenlix_|CMakeFiles\//) return "Quenlix"
    if (f ~ /libstdc\+\+/) return "libstdc++"
    if (f ~ /libgcc/) return "libgcc"
    if (f ~ /libwinpthread/) return "winpthread"
    if (f ~ /libmingw|crt[^\/]*\.o$|libmsvcrt|libucrt/) return "C runtime"
    if (f ~ /\.a\(/) return "DLL import stubs"
    return "other"
  }
  function add(sec, sz, file,   name) {
    if (!(out in kept) || sz == 0) return
    name = sec
    if (!sub(/^\.[a-zA-Z]+[.$]/, "", name)) name = "(whole member)"
    pieces[origin(file) "\t" base(file) "\t" name] += sz
  }
  BEGIN { split(".text .data .rdata .pdata .xdata .idata .CRT .tls .rsrc", k, " "); for (i in k) kept[k[i]] = 1 }
  /^Linker script and memory map/ { body = 1; next }
  !body { next }
  /^\.[^ ]/ { out = $1; pending = ""; next }
  /^ \*/ { pending = ""; next }
  /^ [^ ]/ {
    if (NF == 1) { pending = $1; next }
    if ($2 ~ /^0x/ && $3 ~ /^0x/ && NF >= 4) add($1, hex($3), $4)
    pending = ""; next
  }
  pending != "" && $1 ~ /^0x/ && $2 ~ /^0x/ && NF >= 3 { add(pending, hex($2), $3); pending = ""; next }
  { pending = "" }
  END { for (p in pieces) printf "%d\t%s\n", pieces[p], p }
' "$map")

echo
echo "== By origin (bytes placed by the linker, before section padding)"
awk -F'\t' '{ s[$2] += $1; t += $1 } END { for (o in s) printf "%d\t%s\t%d%%\n", s[o], o, 100 * s[o] / t }' <<<"$pieces" \
  | sort -rn | awk -F'\t' '{ printf "  %-18s %8d  %4s\n", $2, $1, $3 }'

echo
echo "== Largest library members (whole object files linked from an archive)"
awk -F'\t' '$2 != "Quenlix" && $2 != "resources" { s[$3] += $1 } END { for (m in s) printf "%d\t%s\n", s[m], m }' <<<"$pieces" \
  | sort -rn | sed -n 1,12p | awk -F'\t' '{ printf "  %8d  %s\n", $1, $2 }'

echo
echo "== Largest functions and tables"
sort -rn <<<"$pieces" | sed -n 1,25p | x86_64-w64-mingw32-c++filt \
  | awk -F'\t' '{ n = $4; if (length(n) > 90) n = substr(n, 1, 87) "..."; printf "  %8d  %-10s %-28s %s\n", $1, $2, $3, n }'

# The map's first part names, for each archive member, the file and symbol
# that made the linker take it. Following those links from a large member
# back to our own code tells why it is there.
echo
echo "== Why the largest library members are linked in"
awk -F'\t' '$2 != "Quenlix" && $2 != "resources" && $2 != "DLL import stubs" { s[$3] += $1 }
            END { for (m in s) printf "%d\t%s\n", s[m], m }' <<<"$pieces" \
  | sort -rn | sed -n 1,6p | cut -f2 >"$tree/size-report.top"
awk -v topfile="$tree/size-report.top" '
  function base(p) { sub(/.*\//, "", p); return p }
  BEGIN { while ((getline m < topfile) > 0) top[++n] = m }
  /^Archive member included/ { part = 1; next }
  /^(Discarded input sections|Memory Configuration)/ { part = 0 }
  part && /^[^ \t]/ { member = base($1); if (NF > 1) { $1 = ""; why[member] = substr($0, 2) }; next }
  part && /^[ \t]+[^ \t]/ && member != "" { w = $0; sub(/^[ \t]+/, "", w); why[member] = w; next }
  END {
    for (i = 1; i <= n; i++) {
      m = top[i]; printf "  %s\n", m
      for (depth = 0; depth < 8 && (m in why); depth++) {
        w = why[m]; printf "      <- %s\n", base(w)
        split(w, f, " "); m = base(f[1])
      }
    }
  }' "$map"
rm -f "$tree/size-report.top"
