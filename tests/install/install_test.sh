#!/usr/bin/env bash
# Installs this build into a temporary root with the prefix /usr, as the Debian
# package does, and checks what lands where: the programs, the desktop entry
# (valid by desktop-file-validate), the icons, the manual pages (read by man
# without a warning), the AppStream metainfo (valid by appstreamcli), the help
# page that Kibako finds from its own folder, and the example systemd units.
# Usage: install_test.sh <build folder>
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null

expected="usr/bin/kibako
usr/bin/tetoru
usr/libexec/kibako/tetoru-window
usr/share/applications/kibako.desktop
usr/share/doc/kibako/Kibako.html
usr/share/doc/kibako/examples/systemd/tetoru.service
usr/share/doc/kibako/examples/systemd/tetoru.timer
usr/share/icons/hicolor/256x256/apps/kibako.png
usr/share/icons/hicolor/scalable/apps/kibako.svg
usr/share/man/man1/kibako.1
usr/share/man/man1/tetoru.1
usr/share/metainfo/io.github.kibako.Kibako.metainfo.xml"
actual=$(cd "$root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[[ $actual == "$expected" ]] || fail "installed files differ:"$'\n'"$actual"

desktop=$root/usr/share/applications/kibako.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects kibako.desktop"
grep -qx 'Name=キバコ' "$desktop" || fail "no Japanese name"
grep -qx 'Categories=Utility;Archiving;' "$desktop" || fail "wrong categories"
grep -q '^GenericName=.' "$desktop" || fail "no generic name"

# The manual pages read without a warning from man.
for page in kibako tetoru; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "man warns about $page.1: $warnings"
done

# The AppStream metainfo is valid and names the desktop entry it describes.
metainfo=$root/usr/share/metainfo/io.github.kibako.Kibako.metainfo.xml
grep -q '<launchable type="desktop-id">kibako.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not launch kibako.desktop"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli rejects the metainfo"
else
    echo "SKIP: appstreamcli (Debian package appstream) is not installed; metainfo not validated"
fi

# The PNG icon is 256 by 256 (bytes 16 to 23 of a PNG give width and height).
size=$(od -An -tx1 -j16 -N8 "$root/usr/share/icons/hicolor/256x256/apps/kibako.png" | tr -d ' \n')
[[ $size == 0000010000000100 ]] || fail "the PNG icon is not 256x256: $size"
grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/kibako.svg" || fail "no SVG icon"

# Tetoru without a display loads no graphical library; with one it starts its
# window program from where it was installed, and without that program it
# still runs, on the console, saying why.
if ldd "$root/usr/bin/tetoru" | grep -q 'libQt6\(Gui\|Widgets\)'; then
    fail "tetoru links a graphical library"
fi
home=$root/home
mkdir -p "$home"
tetoru_with_display() {
    QT_QPA_PLATFORM=offscreen TETORU_TEST_MESSAGE_TIMEOUT_MS=100 KIBAKO_HOME=$home "$@" 2>&1
}
output=$(tetoru_with_display "$root/usr/bin/tetoru") || fail "the installed tetoru failed: $output"
[[ $output != *"without a window"* ]] || fail "the installed tetoru found no window program: $output"
cp "$root/usr/bin/tetoru" "$root/lone-tetoru"
output=$(tetoru_with_display "$root/lone-tetoru") || fail "tetoru without its window program failed: $output"
[[ $output == *"tetoru-window was not found"*"0 entries backed up"* ]] ||
    fail "tetoru without its window program did not say so and run: $output"

grep -qx 'ExecStart=/usr/bin/tetoru' "$root/usr/share/doc/kibako/examples/systemd/tetoru.service" ||
    fail "tetoru.service does not start /usr/bin/tetoru"
grep -qx 'OnCalendar=daily' "$root/usr/share/doc/kibako/examples/systemd/tetoru.timer" ||
    fail "tetoru.timer has no calendar"

# Kibako looks for its help page at ../share/doc/kibako from its own folder.
[[ -f $root/usr/bin/../share/doc/kibako/Kibako.html ]] || fail "help page not beside bin"

# The installed programs run and answer their options.
for program in kibako tetoru; do
    out=$(env -u KIBAKO_HOME -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/$program" --version)
    [[ $out == "$program (Kibako) "* ]] || fail "$program --version printed: $out"
done
# An installed copy keeps its files in the user's data folder, made on the first start.
data=$root/data
out=$(env -u KIBAKO_HOME -u DISPLAY -u WAYLAND_DISPLAY XDG_DATA_HOME="$data" \
    "$root/usr/bin/tetoru" --help)
grep -qx "Program folder: $data/kibako" <<<"$out" || fail "installed tetoru --help: $out"
[[ ! -e $data/kibako ]] || fail "--help made the program folder"
env -u KIBAKO_HOME -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_DATA_HOME="$data" \
    "$root/usr/bin/tetoru" >/dev/null || fail "installed tetoru failed on an empty folder"
[[ -d $data/kibako ]] || fail "the first start did not make $data/kibako"
echo "install test passed"
