#!/bin/sh
# make course: the course of the file $COURSE, one program for all its
# lessons, built beside the default lesson from a built tree.
#   COURSE=courses/first-lessons.txt sh cmake/course/make_course.sh <built tree> <jobs> <courses folder>
# The file's path is data: it reaches the builder and CMake as one argument
# each, never as shell or make text. The builder checks the whole course first
# and says which line it cannot make a lesson of, and why, before it writes
# anything; the course is built in a temporary folder below <courses folder>
# and moved to
# <courses folder>/<name>/ only when whole, so that a refused, failed or
# interrupted build leaves the course that was there as it was, and no folder
# of its own.
set -u
build=$(cd "$1" && pwd) jobs=$2
source=$(cd "$(dirname "$0")/../.." && pwd)
if [ -z "${COURSE:-}" ]; then
    echo "usage: make course COURSE=courses/first-lessons.txt (a title line, then five characters a line)" >&2
    exit 2
fi
case $COURSE in
/*) course=$COURSE ;;
*) course=$PWD/$COURSE ;;
esac

work=
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"; [ -z "$work" ] || rm -rf "$work"' EXIT
trap 'exit 130' INT TERM HUP

# The builder checks every lesson and writes the course's data only when all
# pass, once, in a scratch folder: the course's project takes what it wrote.
data=$scratch/data
if ! QT_QPA_PLATFORM=offscreen "$build/tools/mkdata/mkdata" \
    --node-modules "$build/npm/node_modules" --course "$course" \
    --out "$data" --work "$scratch/builder" >"$scratch/builder.log" 2>"$scratch/errors.log"; then
    grep -av '^QStandardPaths' "$scratch/errors.log" >&2
    exit 1
fi
name=$(awk -F '\t' '$1 == "name" { print $2 }' "$data/course.tsv")
case $name in
*[!a-z0-9-]* | '') echo "make course: unexpected course name '$name'" >&2 && exit 1 ;;
esac

mkdir -p "$3" && courses=$(cd "$3" && pwd) || exit 1
work=$(mktemp -d "$courses/.$name.XXXXXX") || exit 1

tree=$work/tree
if ! { cmake -S "$source/cmake/course" -B "$tree" -G Ninja -DTALLOWFERN_BUILD="$build" \
    -DTALLOWFERN_COURSE="$course" -DTALLOWFERN_COURSE_DATA="$data" >/dev/null &&
    cmake --build "$tree" -j "$jobs" && (cd "$tree" && cpack -G DEB >/dev/null) &&
    mkdir "$work/course" && mv "$tree/run" "$tree"/*.deb "$work/course/"; }; then
    printf 'No course made of %s.\n' "$course" >&2
    exit 1
fi
# The course made before, if any, goes only when the new one takes its place.
[ ! -e "$courses/$name" ] || mv -T "$courses/$name" "$work/old" || exit 1
mv -T "$work/course" "$courses/$name" || exit 1
title=$(awk -F '\t' '$1 == "title" { print $2 }' "$data/course.tsv")
lessons=$(awk -F '\t' '$1 == "lesson" { n++ } END { print n == 1 ? "1 lesson" : n " lessons" }' \
    "$data/course.tsv")
printf 'Course "%s", %s: cd %s/%s/run && ./tallowfern\n' "$title" "$lessons" "$courses" "$name"
ls "$courses/$name"/*.deb
