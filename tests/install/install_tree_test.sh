#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop would see:
# the program and its private libraries (found through the run path, not the build
# tree), the desktop entry, the AppStream data, the MIME package and the icons.
# Last, the installed program opens a sample on a virtual display and shows it.
#   install_tree_test.sh BUILD_DIR SCREEN_PROBE
set -euo pipefail

build=$(cd "$1" && pwd)
probe=$(readlink -f "$2")
stage=$(mktemp -d "${TMPDIR:-/tmp}/orlin-install-XXXXXX")
trap 'rm -rf "$stage"' EXIT
root=$stage/root
prefix=/usr
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

DESTDIR=$root cmake --install "$build" --prefix "$prefix" >"$stage/install.log"
usr=$root$prefix
lib=$usr/lib/orlin

# The tree: program, engine, every side library the build made, desktop files.
expect=(bin/orlin lib/orlin/libvidmux.so.1
  share/applications/org.orlin.Orlin.desktop
  share/metainfo/org.orlin.Orlin.metainfo.xml
  share/mime/packages/org.orlin.Orlin.xml
  share/icons/hicolor/scalable/apps/org.orlin.Orlin.svg
  share/man/man1/orlin.1.gz)
for side in "$build"/bin/lib*.so; do
  name=$(basename "$side")
  [ "$name" = libvidmux.so ] || expect+=("lib/orlin/$name")
done
for path in "${expect[@]}"; do
  [ -e "$usr/$path" ] || fail "missing $prefix/$path"
done
[ -x "$usr/bin/orlin" ] || fail "the program is not executable"
# Nothing from the build tree's test and tool programs is installed.
extra=$(find "$usr/bin" -type f ! -name orlin)
[ -z "$extra" ] || fail "unexpected programs installed: $extra"

# Icons: each hicolor size holds a PNG of exactly that size.
for size in 16 22 24 32 48 64 128 256; do
  png=$usr/share/icons/hicolor/${size}x${size}/apps/org.orlin.Orlin.png
  if [ ! -f "$png" ]; then fail "missing ${size}px icon"; continue; fi
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$png")
  width=$(((w0 << 24) | (w1 << 16) | (w2 << 8) | w3))
  height=$(((h0 << 24) | (h1 << 16) | (h2 << 8) | h3))
  [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "${size}px icon is ${width}x${height}"
done
xmllint --noout "$usr/share/icons/hicolor/scalable/apps/org.orlin.Orlin.svg" || fail "SVG icon is not XML"

# Run path: the installed files name only their own folders, never the build tree.
for elf in "$usr/bin/orlin" "$lib"/*.so*; do
  [ -L "$elf" ] && continue
  if readelf -d "$elf" | grep -E 'RPATH|RUNPATH' | grep -q "$build"; then
    fail "$(basename "$elf") keeps the build tree in its run path"
  fi
done
readelf -d "$usr/bin/orlin" | grep -q 'RUNPATH.*\[\$ORIGIN/../lib/orlin\]' ||
  fail "the program's run path is not \$ORIGIN/../lib/orlin"
ldd "$usr/bin/orlin" >"$stage/ldd.txt"
engine=$(sed -n 's/.*libvidmux.so.1 => \([^ ]*\) .*/\1/p' "$stage/ldd.txt")
[ -n "$engine" ] && [ "$(readlink -f "$engine")" = "$(readlink -f "$lib/libvidmux.so.1")" ] ||
  fail "the program does not find the installed engine: $(grep vidmux "$stage/ldd.txt")"
for elf in "$usr/bin/orlin" "$lib"/*.so*; do
  if ldd "$elf" | grep -q 'not found'; then
    fail "$(basename "$elf") has unresolved libraries: $(ldd "$elf" | grep 'not found' | tr -s ' \t' ' ')"
  fi
done

# The manual page: compressed as Debian ships them, formatted without a warning
# (as lintian formats it), and describing every option and variable --help names.
manpage=$usr/share/man/man1/orlin.1.gz
if gzip -t "$manpage" 2>/dev/null; then
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$manpage" 2>&1 >/dev/null) ||
    fail "man cannot format the manual page: $warnings"
  [ -z "$warnings" ] || fail "manual page warnings: $warnings"
  source_text=$(zcat "$manpage" | sed 's/\\-/-/g')
  help_text=$("$usr/bin/orlin" --help)
  for word in $(grep -oE '(^|[ ,])--?[a-z][a-z-]*|[A-Z][A-Z_]{3,}=' <<<"$help_text" | tr -d ' ,='); do
    grep -qF -- "$word" <<<"$source_text" || fail "the manual page does not describe $word"
  done
else
  fail "no gzip-compressed manual page"
fi

# Validators a software centre and the menu run.
desktop-file-validate "$usr/share/applications/org.orlin.Orlin.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$usr/share/metainfo/org.orlin.Orlin.metainfo.xml" >"$stage/as.txt" 2>&1 ||
  { cat "$stage/as.txt" >&2; fail "metainfo"; }
xmllint --noout "$usr/share/mime/packages/org.orlin.Orlin.xml" || fail "MIME package is not XML"

# MIME detection as the file manager does it, with only this package added.
mime=$stage/share/mime
mkdir -p "$mime/packages"
cp "$usr/share/mime/packages/org.orlin.Orlin.xml" "$mime/packages/"
[ -f /usr/share/mime/packages/freedesktop.org.xml ] && cp /usr/share/mime/packages/freedesktop.org.xml "$mime/packages/"
XDG_DATA_DIRS=$stage/share update-mime-database "$mime" || fail "update-mime-database"
samples=$stage/samples
mkdir -p "$samples"
"$build/bin/orlin-samplegen" --demo "$samples" >/dev/null
content_type() { XDG_DATA_DIRS=$stage/share XDG_DATA_HOME=$stage/none gio info -a standard::content-type "$1" | sed -n 's/.*standard::content-type: //p'; }
recorder=$(find "$samples" -name '*.rec' | head -n 1)
h264=$(find "$samples" -name '*.264' | head -n 1)
[ -n "$recorder" ] && [ -n "$h264" ] || fail "samplegen wrote no .rec and .264 samples"
[ "$(content_type "$recorder")" = video/x-orlin-recorder ] || fail "*.rec is $(content_type "$recorder")"
# A recorder file renamed by the user is still known by its first bytes.
cp "$recorder" "$samples/renamed.dat"
[ "$(content_type "$samples/renamed.dat")" = video/x-orlin-recorder ] ||
  fail "recorder magic not matched: $(content_type "$samples/renamed.dat")"
printf '4VXV%036d' 0 >"$samples/second-head.bin"
[ "$(content_type "$samples/second-head.bin")" = video/x-orlin-recorder ] ||
  fail "4VXV magic not matched: $(content_type "$samples/second-head.bin")"
[ "$(content_type "$h264")" = video/h264 ] || fail "*.264 is $(content_type "$h264")"
printf '\0\0\0\1\x40\x01\x0c\x01' >"$samples/camera.265"
[ "$(content_type "$samples/camera.265")" = video/h265 ] || fail "*.265 is $(content_type "$samples/camera.265")"
# Every type the desktop entry claims exists in the database.
for type in $(sed -n 's/^MimeType=//p' "$usr/share/applications/org.orlin.Orlin.desktop" | tr ';' ' '); do
  [ -f "$mime/${type}.xml" ] || fail "desktop entry claims unknown type $type"
done

# The installed program, started from another folder,
# opens a recording and plays it where a person can see it.
if [ "$failures" -eq 0 ]; then
  playing=$samples/playing.rec
  "$build/bin/orlin-samplegen" --frames 750 "$playing" >/dev/null
  cat >"$stage/play.sh" <<PLAY
#!/usr/bin/env bash
cd /
export QT_QPA_PLATFORM=xcb HOME=$stage/home XDG_CONFIG_HOME=$stage/home/.config XDG_RUNTIME_DIR=$stage/run
mkdir -p \$HOME && mkdir -m 700 -p \$XDG_RUNTIME_DIR
"$usr/bin/orlin" "$playing" >"$stage/orlin.log" 2>&1 &
player=\$!
"$probe" --timeout 60
status=\$?
kill \$player 2>/dev/null
wait \$player 2>/dev/null
exit \$status
PLAY
  chmod +x "$stage/play.sh"
  xvfb-run -a -s "-screen 0 1280x800x24" "$stage/play.sh" || {
    tail -n 20 "$stage/orlin.log" >&2
    fail "the installed program showed no picture of $playing"
  }
fi

[ "$failures" -eq 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
echo "install tree OK"
