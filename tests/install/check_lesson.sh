#!/bin/sh
# A lesson of one's own, as make lesson makes it:
#   check_lesson.sh <cmake> <cpack> <build dir> <source dir> <work dir> [yes|no: homophones]
# the lessons the builder refuses, each with its message and nothing written;
# then 妈欢怎影脑, each voiced only by a syllable cut out of a word, built from
# the build's libraries, each of its cards clicked by the learner's driver,
# and its Debian package checked like tallowfern's.
set -u
cmake=$1 cpack=$2 build=$3 source=$4 work=$5 homophones=${6:-yes}
. "$(dirname "$0")/checks.sh"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
rm -rf "$work"
mkdir -p "$work"
mkdata="$build/tools/mkdata/mkdata"

# refused <characters> <message part> [full]: mkdata stops with status 1 and
# says why; with "full" it builds the lesson and leaves no output behind.
refused() {
    out="$work/refused"
    rm -rf "$out"
    if [ "${3:-}" = full ]; then
        set -- "$1" "$2" --dat "$out/zw.dat" --tables "$out/tables.cpp" --work "$out/work"
    else
        set -- "$1" "$2" --print-slug
    fi
    chars=$1 message=$2
    shift 2
    "$mkdata" --node-modules "$build/npm/node_modules" --lesson "$chars" "$@" \
        >"$work/refused.log" 2>&1
    status=$?
    [ "$status" -eq 1 ] || fail "$chars: status $status, not 1"
    grep -q "^mkdata: .*$message" "$work/refused.log" ||
        { fail "$chars: no message '$message'"; tail -n 3 "$work/refused.log"; }
    [ ! -e "$out/zw.dat" ] && [ ! -e "$out/tables.cpp" ] || fail "$chars: output left behind"
}
refused 大家 'a lesson is five characters, "大家" has 2'
refused 大大学中文 '大 stands twice in "大大学中文": a lesson is five different characters'
refused 題数旅游警 '"題" is not one of the 6,763 common simplified characters'
refused 题数旅游警 '题 would be drawn at 0.8[0-9]* (floor 0.92): .*too many for the 3,504-byte outline section'
refused 虎鸟鱼马书 '虎 (hu3): no human recording of this syllable; choose another character' full

# make lesson, the Makefile's rule itself: the characters are data. Hostile
# text is refused by the builder with status 1; nothing runs, nothing is
# written, no folder is left.
make_lesson() {
    env -u MAKEFLAGS -u MAKELEVEL -u MFLAGS make -C "$source" --no-print-directory lesson \
        BUILD="$build" LESSONS="$lessons" "CHARS=$1"
}
pwned=$work/pwned lessons=$work/lessons
hostile() {
    before=$(ls -A "$lessons" 2>/dev/null)
    make_lesson "$1" >"$work/hostile.log" 2>&1
    status=$?
    # The rule's script ends with status 1, and make then with its own 2.
    [ "$status" -eq 2 ] && grep -q '^make: \*\*\* .*lesson\] Error 1$' "$work/hostile.log" ||
        fail "make lesson CHARS='$1': status $status, not the rule's 1"
    grep -aq '^mkdata: ' "$work/hostile.log" || fail "make lesson CHARS='$1': no builder message"
    [ ! -e "$pwned" ] || { fail "make lesson CHARS='$1' ran a command"; rm -f "$pwned"; }
    [ "$(ls -A "$lessons" 2>/dev/null)" = "$before" ] ||
        fail "make lesson CHARS='$1' left something in $lessons"
}
hostile "大家\`touch $pwned\`"
hostile "\$(touch $pwned)"
hostile "\$(shell touch $pwned)"
hostile "大家'; touch $pwned; '"
hostile '大家"学中'
hostile '大家;学中'
hostile "$(printf '大家\n学中')"
hostile '大家 学中'
hostile '大家/学中'
hostile '../../..'
hostile "$(printf '\264\363\274\322\321\247')"   # 大家学 in GB2312 bytes
hostile "$(printf '\300\257\340\200\257\301\201..')"  # overlong '/' and 'A'
hostile "$(printf '\355\240\200大家学中')"            # a surrogate

# Homophones are two lessons: two folders, two packages; building one again
# keeps its own folder and leaves no other.
if [ "$homophones" = yes ]; then
    for chars in 我买中文书 我卖中文书 我买中文书; do
        make_lesson "$chars" >"$work/make.log" 2>&1 || { tail -n 20 "$work/make.log"; fail "make lesson $chars"; }
    done
    ls "$lessons" >"$work/folders.txt"
    printf 'wo3-mai3-zhong1-wen2-shu1\nwo3-mai4-zhong1-wen2-shu1\n' >"$work/expected.txt"
    cmp -s "$work/folders.txt" "$work/expected.txt" ||
        { fail "lesson folders"; diff "$work/expected.txt" "$work/folders.txt"; }
    for name in wo3-mai3-zhong1-wen2-shu1 wo3-mai4-zhong1-wen2-shu1; do
        check_file "$lessons/$name/run/dat/zw.dat"
        check_file "$lessons/$name/tallowfern-lesson-${name}_0.1_amd64.deb"
    done
    cmp -s "$lessons"/wo3-mai3*/run/dat/zw.dat "$lessons"/wo3-mai4*/run/dat/zw.dat &&
        fail "two homophone lessons have one data file"
fi

# The lesson, built as make lesson builds it, with the learner's driver.
slug=$("$mkdata" --node-modules "$build/npm/node_modules" --lesson 妈欢怎影脑 --print-slug 2>/dev/null)
[ "$slug" = ma1-huan1-zen3-ying3-nao3 ] || fail "slug '$slug'"
lesson="$work/$slug"
{ "$cmake" -S "$source/cmake/lesson" -B "$lesson" -G Ninja -DTALLOWFERN_BUILD="$build" \
      -DTALLOWFERN_LESSON=妈欢怎影脑 -DTALLOWFERN_LESSON_SLUG="$slug" \
      -DTALLOWFERN_LESSON_DRIVER=ON && "$cmake" --build "$lesson"; } >"$work/lesson.log" 2>&1 ||
    { tail -n 30 "$work/lesson.log"; fail "lesson build"; finish "lesson"; }
for f in tallowfern dat/zw.dat dat/hzk24k.dat dat/LICENSE.voices speaker1.bmp tallowfern.chm; do
    check_file "$lesson/run/$f"
done
cmp -s "$lesson/run/dat/zw.dat" "$build/run/dat/zw.dat" && fail "the lesson's data is the default one's"
(cd "$lesson/run" && "$lesson/lesson_driver") >"$work/driver.log" 2>&1
grep '^card: ' "$work/driver.log" >"$work/cards.txt"
printf 'card: huan1 6\ncard: zen3 9\ncard: ying3 15\ncard: nao3 10\ncard: ma1 6\n' >"$work/expected.txt"
cmp -s "$work/cards.txt" "$work/expected.txt" ||
    { fail "cards"; diff "$work/expected.txt" "$work/cards.txt"; }
grep '^message: ' "$work/driver.log" && fail "the lesson's program showed messages"
grep -q '^window icon: own$' "$work/driver.log" || fail "the lesson's window icon is the default one"
grep -q '^exit: 0$' "$work/driver.log" || fail "the driver did not end with status 0"

sh "$(dirname "$0")/check_package.sh" "$cpack" "$lesson" "$work/package" "tallowfern-$slug" \
    "tallowfern-lesson-$slug" || fail "the lesson's package"
finish "lesson $slug"
