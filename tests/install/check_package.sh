#!/bin/sh
# Writes the Debian package of the build and checks it as a user would meet it:
#   check_package.sh <cpack> <build dir> <work dir> [<installed name> <package>]
# its control fields, its files, lintian, the desktop entry and AppStream
# validators, and the program started from the unpacked tree. The name and
# package are tallowfern's unless a lesson's are given.
set -u
cpack=$1 build=$2 work=$3 name=${4:-tallowfern} package=${5:-tallowfern}
. "$(dirname "$0")/checks.sh"

rm -rf "$work"
mkdir -p "$work"
"$cpack" -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; finish "package"; }
deb=$(ls "$work"/"$package"_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { fail "no ${package}_<version>_amd64.deb in $work"; finish "package"; }

# 1. Control fields: dependencies computed from the binaries, the viewer recommended.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = "$package" ] || fail "Package is '$(field Package)'"
[ "$(field Architecture)" = amd64 ] || fail "Architecture is '$(field Architecture)'"
for lib in libqt6widgets6 libsdl2 libc6 fonts-liberation2; do
    field Depends | grep -q "$lib" || fail "Depends lacks $lib: $(field Depends)"
done
[ "$(field Recommends)" = xchm ] || fail "Recommends is '$(field Recommends)'"

# 2. The files below /usr.
root="$work/root"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"
data="$root/usr/share/$name"
check_exec "$root/usr/bin/$name"
check_exec "$root/usr/libexec/$name/tallowfern"
for f in dat/zw.dat dat/hzk24k.dat dat/LICENSE.voices speaker1.bmp tallowfern.chm; do
    check_file "$data/$f"
done
check_file "$root/usr/share/applications/$name.desktop"
for size in 32x32 48x48 64x64 128x128; do
    icon="$root/usr/share/icons/hicolor/$size/apps/$name.png"
    check_file "$icon"
    file -b "$icon" | grep -q "$(echo "$size" | sed 's/x/ x /')" || fail "$icon is not $size"
done
check_file "$root/usr/share/icons/hicolor/scalable/apps/$name.svg"
check_file "$root/usr/share/man/man1/$name.1.gz"
check_file "$root/usr/share/doc/$package/copyright"
check_file "$root/usr/share/doc/$package/changelog.gz"
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml 2>/dev/null | head -n 1)
[ -n "$metainfo" ] || fail "no AppStream metainfo file"

# 3. The validators, and lintian without errors.
desktop-file-validate "$root/usr/share/applications/$name.desktop" ||
    fail "desktop-file-validate"
[ -z "$metainfo" ] || appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "appstreamcli validate"; }
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
grep '^E:' "$work/lintian.log" && fail "lintian reports errors"

# 4. A lesson's texts are its own: manual page, help pages (from the .chm when
# chmls can read it), notices, note, copyright, metadata, desktop entry; its
# icon is its first character, as many strokes as its card counts, not 大.
if [ "$name" != tallowfern ]; then
    texts="$work/texts"
    mkdir -p "$texts"
    lesson=$(entry_value Name "$root/usr/share/applications/$name.desktop" | sed 's/^TallowFern: //')
    gzip -dc "$root/usr/share/man/man1/$name.1.gz" >"$texts/$name.1"
    cp "$data"/dat/LICENSE.* "$root/usr/share/doc/$package/README.md" \
        "$root/usr/share/doc/$package/copyright" "$root/usr/share/applications/$name.desktop" \
        "$texts/"
    [ -z "$metainfo" ] || cp "$metainfo" "$texts/"
    pages="$build/help/pages"
    if command -v chmls >/dev/null 2>&1; then
        chmls extractall "$data/tallowfern.chm" "$work/chm" >/dev/null 2>&1 || fail "chmls"
        pages="$work/chm"
    fi
    cp "$pages"/*.html "$pages"/*.hhc "$pages"/*.hhk "$texts/"
    own_texts "$texts" "$lesson"
    svg="$root/usr/share/icons/hicolor/scalable/apps/$name.svg"
    first=$(printf '%s' "$lesson" | head -c 3)
    strokes=$(sed -n "s|.*size=\"+2\">$first</font></td><td>[^<]*</td><td>[^<]*</td><td>\([0-9]*\)<.*|\1|p" \
        "$pages/index.html")
    grep -q "the character $first " "$svg" || fail "$svg does not draw $first"
    [ "$(grep -c '<path ' "$svg")" = "$strokes" ] || fail "$svg has not the $strokes strokes of $first"
    main=$(sed -n 's/^TALLOWFERN_BUILD:[A-Z]*=//p' "$build/CMakeCache.txt")
    default_icon="$main/generated/icons/128x128/apps/tallowfern.png"
    check_file "$default_icon"
    cmp -s "$root/usr/share/icons/hicolor/128x128/apps/$name.png" "$default_icon" &&
        fail "the icon is the default one"
fi

# 5. The unpacked program, started from another folder, runs for three seconds.
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
start_installed "$root/usr/bin/$name" 3 "$data"

finish "package $(basename "$deb")"
