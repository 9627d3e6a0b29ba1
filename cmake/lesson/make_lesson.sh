#!/bin/sh
# make lesson: the lesson of the characters in $CHARS, built beside the default
# one from a built tree.
#   CHARS=老师说汉语 sh cmake/lesson/make_lesson.sh <built tree> <jobs> <lessons folder>
# The characters are data: they reach the builder and CMake as one argument
# each, never as shell or make text. The builder checks them first and says
# why it cannot make a lesson of them; the lesson is then built in a temporary
# folder below <lessons folder> and moved to <lessons folder>/<name>/ only when
# whole, so that a refused, failed or interrupted build leaves the lesson that
# was there as it was, and no folder of its own.
set -u
build=$(cd "$1" && pwd) jobs=$2
source=$(cd "$(dirname "$0")/../.." && pwd)
if [ -z "${CHARS:-}" ]; then
    echo "usage: make lesson CHARS=老师说汉语 (five characters)" >&2
    exit 2
fi

# The check refuses what the build would refuse, before anything is written.
if ! check=$(QT_QPA_PLATFORM=offscreen "$build/tools/mkdata/mkdata" \
    --node-modules "$build/npm/node_modules" --lesson "$CHARS" --print-slug 2>&1); then
    printf '%s\n' "$check" | grep -av '^QStandardPaths' >&2
    exit 1
fi
name=$(printf '%s\n' "$check" | tail -n 1)
case $name in
*[!a-z0-9-]* | '') echo "make lesson: unexpected lesson name '$name'" >&2 && exit 1 ;;
esac

mkdir -p "$3" && lessons=$(cd "$3" && pwd) || exit 1
work=$(mktemp -d "$lessons/.$name.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM HUP
tree=$work/tree
if ! { cmake -S "$source/cmake/lesson" -B "$tree" -G Ninja -DTALLOWFERN_BUILD="$build" \
    -DTALLOWFERN_LESSON="$CHARS" -DTALLOWFERN_LESSON_SLUG="$name" >/dev/null &&
    cmake --build "$tree" -j "$jobs" && (cd "$tree" && cpack -G DEB >/dev/null) &&
    mkdir "$work/lesson" && mv "$tree/run" "$tree"/*.deb "$work/lesson/"; }; then
    echo "No lesson made of $CHARS." >&2
    exit 1
fi
# The lesson made before, if any, goes only when the new one takes its place.
[ ! -e "$lessons/$name" ] || mv -T "$lessons/$name" "$work/old" || exit 1
mv -T "$work/lesson" "$lessons/$name" || exit 1
echo "Lesson $CHARS: cd $lessons/$name/run && ./tallowfern"
ls "$lessons/$name"/*.deb
