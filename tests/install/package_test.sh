#!/usr/bin/env bash
# Builds the Debian package from the build tree into a temporary folder and
# checks what it would put on a machine and what it asks apt for.
#   package_test.sh BUILD_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
stage=$(mktemp -d "${TMPDIR:-/tmp}/orlin-package-XXXXXX")
trap 'rm -rf "$stage"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

(cd "$build" && cpack -G DEB -B "$stage" >"$stage/cpack.log" 2>&1) || { cat "$stage/cpack.log" >&2; exit 1; }
debs=("$stage"/orlin_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single orlin_*.deb" >&2; exit 1; }
deb=${debs[0]}

# Files only, as the package lists them.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' | sort >"$stage/files"
expected=(/usr/bin/orlin /usr/lib/orlin/libvidmux.so.1
  /usr/share/applications/org.orlin.Orlin.desktop
  /usr/share/metainfo/org.orlin.Orlin.metainfo.xml
  /usr/share/mime/packages/org.orlin.Orlin.xml
  /usr/share/icons/hicolor/scalable/apps/org.orlin.Orlin.svg
  /usr/share/man/man1/orlin.1.gz)
for side in "$build"/bin/lib*.so; do
  name=$(basename "$side")
  [ "$name" = libvidmux.so ] || expected+=("/usr/lib/orlin/$name")
done
for size in 16 22 24 32 48 64 128 256; do
  expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/org.orlin.Orlin.png")
done
for path in "${expected[@]}"; do
  grep -qx "$path" "$stage/files" || fail "package lacks $path"
done
# Nothing else: no headers, link-time names, static libraries, tests or tools.
extra=$(grep -vxF -f <(printf '%s\n' "${expected[@]}") "$stage/files" | grep -vx '/usr/lib/orlin/libvidmux.so.1.0.0' || true)
[ -z "$extra" ] || fail "package carries unexpected files: $extra"

# The package asks apt for the system libraries the program links, never for its own.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libavcodec libavformat libswscale libqt6widgets6 libsdl2 libtinyxml libc6; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
grep -q vidmux <<<"$depends" && fail "Depends names the private engine: $depends"
# Every dependency names a package of this Debian release at a version it has:
# checked against the packages installed here, which a fresh machine gets from apt.
version_re='\(([<>=]+) ([^)]+)\)'
satisfied() {  # "name (op version)" -> whether the installed package meets it
  local name=${1%% *} state installed op
  read -r state installed < <(dpkg-query -W -f='${db:Status-Status} ${Version}\n' "$name" 2>/dev/null | head -n 1)
  [ "$state" = installed ] || return 1
  [[ $1 =~ $version_re ]] || return 0
  case ${BASH_REMATCH[1]} in '>=') op=ge ;; '<=') op=le ;; '>>') op=gt ;; '<<') op=lt ;; *) op=eq ;; esac
  dpkg --compare-versions "$installed" "$op" "${BASH_REMATCH[2]}"
}
while read -r dependency; do
  ok=1
  IFS='|' read -ra choices <<<"$dependency"
  for choice in "${choices[@]}"; do
    choice=$(sed 's/^ *//; s/ *$//' <<<"$choice")
    satisfied "$choice" && { ok=0; break; }
  done
  [ "$ok" -eq 0 ] || fail "no installed package satisfies the dependency '$dependency'"
done < <(tr ',' '\n' <<<"$depends")
# The window system's platform plugin comes with a package the program depends on.
plugin=$(dpkg-query -S '*/qt6/plugins/platforms/libqxcb.so' 2>/dev/null | head -n 1 | cut -d: -f1)
[ -n "$plugin" ] && grep -qw "$plugin" <<<"$depends" ||
  fail "Depends lacks the package of Qt's xcb platform plugin (${plugin:-not installed here})"
[ "$(dpkg-deb -f "$deb" Package)" = orlin ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture"

# The program in the package is stripped: no debugging sections.
dpkg-deb -x "$deb" "$stage/root"
readelf -S "$stage/root/usr/bin/orlin" | grep -q '\.debug_info' && fail "the program is not stripped"
# The unpacked program starts with the engine from the package, not the build tree.
version=$(env -u LD_LIBRARY_PATH "$stage/root/usr/bin/orlin" --version 2>&1) ||
  fail "the packaged program does not start: $version"
[ "$version" = "Orlin $(dpkg-deb -f "$deb" Version)" ] || fail "packaged program says '$version'"
engine=$(env -u LD_LIBRARY_PATH LD_DEBUG=libs "$stage/root/usr/bin/orlin" --version 2>&1 >/dev/null |
  sed -n 's/.*calling init: \(.*libvidmux\.so\.1\).*/\1/p' | head -n 1)
[ -n "$engine" ] && [ "$(readlink -f "$engine")" = "$(readlink -f "$stage/root/usr/lib/orlin/libvidmux.so.1")" ] ||
  fail "the packaged program loads its engine from '${engine:-nowhere}'"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
echo "package OK: $(du -b "$deb" | cut -f1) bytes, $(dpkg-deb -f "$deb" Installed-Size) KiB installed"
