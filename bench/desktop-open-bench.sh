#!/usr/bin/env bash
# Times a double-click on a recording in the file manager's terms: `gio open FILE`
# on a virtual display, with Orlin installed into a temporary prefix and the
# desktop's MIME and application databases updated, until the first picture of
# the recording shows on the screen. Prints the installed size beside it.
#   bench/desktop-open-bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
runs=${2:-3}
stage=$(mktemp -d "${TMPDIR:-/tmp}/orlin-open-XXXXXX")
trap 'rm -rf "$stage"' EXIT
usr=$stage/root/usr

DESTDIR=$stage/root cmake --install "$build" --prefix /usr >/dev/null
echo "installed size: $(du -sk --apparent-size "$usr" | cut -f1) KiB (unstripped)"
mkdir -p "$stage/share/mime/packages" "$stage/share/applications"
cp /usr/share/mime/packages/freedesktop.org.xml "$usr/share/mime/packages/org.orlin.Orlin.xml" \
  "$stage/share/mime/packages/"
cp "$usr/share/applications/org.orlin.Orlin.desktop" "$stage/share/applications/"
XDG_DATA_DIRS=$stage/share update-mime-database "$stage/share/mime"
update-desktop-database "$stage/share/applications"
"$build/bin/orlin-samplegen" --frames 1500 "$stage/camera.rec" >/dev/null
# The desktop entry runs `orlin` from PATH: this one notes its process id first,
# so each run ends exactly the program it opened.
mkdir -p "$stage/bin"
printf '#!/bin/sh\necho $$ >"%s"\nexec "%s" "$@"\n' "$stage/orlin.pid" "$usr/bin/orlin" >"$stage/bin/orlin"
chmod +x "$stage/bin/orlin"

cat >"$stage/open.sh" <<OPEN
#!/usr/bin/env bash
export QT_QPA_PLATFORM=xcb HOME=$stage/home XDG_CONFIG_HOME=$stage/home/.config
export XDG_RUNTIME_DIR=$stage/run XDG_DATA_DIRS=$stage/share XDG_DATA_HOME=$stage/none
export PATH=$stage/bin:\$PATH
mkdir -p \$HOME && mkdir -m 700 -p \$XDG_RUNTIME_DIR
for i in \$(seq $runs); do
  start=\$(date +%s.%N)
  gio open "$stage/camera.rec"
  seen=\$("$build/bin/orlin_screen_probe" --timeout 60 | sed -n 's/.* at //p')
  [ -n "\$seen" ] && echo "gio open to first picture: \$(awk "BEGIN { printf \"%.2f\", \$seen - \$start }") s" || echo "no picture"
  kill \$(cat "$stage/orlin.pid") 2>/dev/null; sleep 1
done
OPEN
chmod +x "$stage/open.sh"
xvfb-run -a -s "-screen 0 1280x800x24" "$stage/open.sh"
