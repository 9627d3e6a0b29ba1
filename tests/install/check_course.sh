#!/bin/sh
# A course, as make course makes it:
#   check_course.sh <build dir> <source dir> <work dir> [yes|no: build one]
# the courses the builder refuses, each through the Makefile's rule with its
# message, nothing run and nothing written; then a course of three lessons
# whose file name holds shell and make text, built by make course, its run
# folder and its Debian package checked.
set -u
build=$1 source=$2 work=$3 full=${4:-yes}
. "$(dirname "$0")/checks.sh"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
rm -rf "$work"
mkdir -p "$work/files"
courses=$work/courses
# A command that ran would leave this file: $pwned where the text names it,
# else pwned in its working directory.
pwned=$work/pwned

# make course, the Makefile's rule itself.
make_course() {
    env -u MAKEFLAGS -u MAKELEVEL -u MFLAGS make -C "$source" --no-print-directory course \
        BUILD="$build" COURSES="$courses" "COURSE=$1"
}
ran_nothing() {
    for found in "$pwned" "$source/pwned" "$build/pwned" $(find "$work" -name pwned -type f); do
        [ ! -e "$found" ] || { fail "$1 ran a command ($found)"; rm -f "$found"; }
    done
}

# refused <file> <message part>: the builder stops with status 1 and a message
# naming the line and the reason, make with its own 2; nothing runs, nothing
# is left in the courses folder.
refused() {
    before=$(ls -A "$courses" 2>/dev/null)
    make_course "$1" >"$work/refused.log" 2>&1
    status=$?
    [ "$status" -eq 2 ] && grep -q '^make: \*\*\* .*course\] Error 1$' "$work/refused.log" ||
        { fail "make course COURSE='$1': status $status, not the rule's 1"; tail -n 5 "$work/refused.log"; }
    grep -aq "^mkdata: .*$2" "$work/refused.log" ||
        { fail "make course COURSE='$1': no message '$2'"; grep -a '^mkdata' "$work/refused.log"; }
    ran_nothing "make course COURSE='$1'"
    [ "$(ls -A "$courses" 2>/dev/null)" = "$before" ] ||
        fail "make course COURSE='$1' left something in $courses"
}
# course <file name> <lines>...: a course file in $work/files (its name may
# hold / too, as folders).
course() {
    file=$work/files/$1
    shift
    mkdir -p "$(dirname "$file")"
    printf '%s\n' "$@" >"$file"
}

course four.txt 'title: Four' 春夏秋冬天 春夏秋冬
refused "$file" 'four.txt, line 3: a lesson is five characters, "春夏秋冬" has 4'
course twice.txt 春夏秋冬天 '# a comment' '' 妈妈怎影脑
refused "$file" 'line 4: 妈 stands twice in "妈妈怎影脑"'
course strokes.txt 'title: Strokes' 春夏秋冬天 题数旅游警
refused "$file" 'line 3 (题数旅游警): 题 would be drawn at 0.8[0-9]* (floor 0.92)'
course voices.txt 虎鸟鱼马书
refused "$file" 'line 1 (虎鸟鱼马书): 虎 (hu3): no human recording of this syllable'
course empty.txt 'title: Empty' '# no lesson' ''
refused "$file" 'empty.txt, no lesson in the course'
course late-title.txt 春夏秋冬天 'title: Late'
refused "$file" 'line 2: the title comes once, before the lessons'
: >"$work/files/long.txt"
for n in $(seq 101); do echo 春夏秋冬天 >>"$work/files/long.txt"; done
refused "$work/files/long.txt" 'long.txt, line 101: a course has at most 100 lessons'
refused "$work/files/no such file.txt" 'cannot read the course'
# Shell and make text in titles, lessons and paths: refused, nothing runs.
for title in "\$(touch $pwned)" "\`touch $pwned\`" "a'; touch $pwned; '" 'a"b' 'a;b' \
    "\$(shell touch $pwned)" 'a\b' "$(printf 'a\tb')" "$(printf '\344\270\255')"; do
    course title.txt "title: $title" 春夏秋冬天
    refused "$file" 'title.txt, line 1: a title is 1 to 60 plain letters'
done
for lesson in "春夏\`touch $pwned\`" "\$(touch $pwned)" "春夏'; touch $pwned; '"; do
    course lesson.txt "$lesson"
    refused "$file" 'lesson.txt, line 1: '
done
course "\$(touch $pwned) \$(shell touch pwned);\`touch pwned\`.txt" 春夏秋冬
refused "$file" 'line 1: a lesson is five characters'
course "\`touch $pwned\`/'; touch pwned; '.txt" "title: \$(touch $pwned)" 春夏秋冬天
refused "$file" 'line 1: a title is'
course "\$();\`\"'|&*?<>.txt" 春夏秋冬天
refused "$file" 'gives the course no name'
ran_nothing "the refusals"

if [ "$full" != yes ]; then
    finish "course refusals"
    exit 0
fi

# The course: three lessons a builder makes alone, no character of the
# default lesson, a title with quotes and signs, a path with shell and make
# text in its folders and name.
title="Teacher's spring - first (1)!"
course "\$(touch $pwned) \`touch $pwned\`/Spring 'x'; \$(shell touch pwned) \"y\".txt" \
    "title: $title" '# three lessons' 春夏秋冬天 '' 妈欢怎影脑 和为这上他
lessons='春夏秋冬天 妈欢怎影脑 和为这上他'
characters=春夏秋冬天妈欢怎影脑和为这上他
make_course "$file" >"$work/make.log" 2>&1 ||
    { tail -n 30 "$work/make.log"; fail "make course"; finish "course"; }
ran_nothing "make course COURSE='$file'"
name=spring-x-shell-touch-pwned-y
command=tallowfern-course-$name
[ "$(ls -A "$courses")" = "$name" ] || fail "courses folder: $(ls -A "$courses" | tr '\n' ' ')"
grep -q "cd $courses/$name/run && ./tallowfern" "$work/make.log" || fail "make course says not how to start it"
run=$courses/$name/run
deb=$courses/$name/${command}_0.1_amd64.deb
check_file "$deb"
check_exec "$run/tallowfern"
for f in dat/zw.dat dat/zw-002.dat dat/zw-003.dat dat/hzk24k.dat dat/LICENSE.voices \
    dat/LICENSE.hanzi-writer-data speaker1.bmp tallowfern.chm help/lesson-002.chm help/lesson-003.chm; do
    check_file "$run/$f"
done
[ ! -e "$run/dat/zw-001.dat" ] && [ ! -e "$run/dat/zw-004.dat" ] && [ ! -e "$run/help/lesson-001.chm" ] ||
    fail "a lesson file too many in $run"
for n in 002 003; do
    [ "$(stat -c %s "$run/dat/zw-$n.dat")" = 662038 ] || fail "dat/zw-$n.dat is not 662,038 bytes"
done
cmp -s "$run/dat/zw.dat" "$build/run/dat/zw.dat" && fail "the course's zw.dat is the default one's"
for c in 春 夏 秋 冬 天 妈 欢 怎 影 脑 和 为 这 上 他; do
    grep -q "$c" "$run/dat/LICENSE.hanzi-writer-data" || fail "the outline notice does not name $c"
done

# The help files: each its lesson's table and texts (read back with chmls
# when there).
if command -v chmls >/dev/null 2>&1; then
    n=0
    for lesson in $lessons; do
        n=$((n + 1))
        chm=$run/help/lesson-00$n.chm
        [ "$n" = 1 ] && chm=$run/tallowfern.chm
        rm -rf "$work/chm"
        chmls extractall "$chm" "$work/chm" >/dev/null 2>&1 || fail "chmls $chm"
        table=$(sed -n 's|.*size="+2">\([^<]*\)</font>.*|\1|p' "$work/chm/index.html" | tr -d '\n')
        [ "$table" = "$lesson" ] || fail "$chm: the table of '$table', not of $lesson"
        grep -q "$command" "$work/chm"/*.html || fail "$chm does not name $command"
        mkdir -p "$work/pages"
        rm -f "$work/pages"/*
        cp "$work/chm"/*.html "$work/chm"/*.hhc "$work/chm"/*.hhk "$work/pages/"
        own_texts "$work/pages" "$lesson"
    done
fi

# The package: control fields, files, lintian, validators, texts.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = "$command" ] || fail "Package is '$(field Package)'"
[ "$(field Architecture)" = amd64 ] || fail "Architecture is '$(field Architecture)'"
for lib in libqt6widgets6 libsdl2 libc6 fonts-liberation2; do
    field Depends | grep -q "$lib" || fail "Depends lacks $lib"
done
field Description | grep -qF "$title" || fail "the description does not name \"$title\""
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' >"$work/contents.txt"
data=/usr/share/$command
for f in /usr/bin/$command /usr/libexec/$command/tallowfern $data/dat/zw.dat $data/dat/zw-002.dat \
    $data/dat/zw-003.dat $data/dat/hzk24k.dat $data/speaker1.bmp $data/tallowfern.chm \
    $data/help/lesson-002.chm $data/help/lesson-003.chm /usr/share/applications/$command.desktop \
    /usr/share/man/man1/$command.1.gz /usr/share/icons/hicolor/scalable/apps/$command.svg \
    /usr/share/icons/hicolor/32x32/apps/$command.png /usr/share/doc/$command/copyright \
    /usr/share/doc/$command/README.md \
    "/usr/share/metainfo/example.tallowfern.TallowFern.course_$(echo "$name" | tr - _).metainfo.xml"; do
    grep -qxF "$f" "$work/contents.txt" || fail "the package lacks $f"
done
grep -v '/$' "$work/contents.txt" | grep -vF "$command" | grep -v '\.course_[a-z0-9_]*\.metainfo\.xml$' &&
    fail "the package holds files of other names than its own"
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
grep '^E:' "$work/lintian.log" && fail "lintian reports errors"

root=$work/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"
desktop=$root/usr/share/applications/$command.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
[ "$(entry_value Name "$desktop")" = "TallowFern: $title" ] ||
    fail "desktop entry Name is '$(entry_value Name "$desktop")'"
[ "$(entry_value Exec "$desktop")" = "/usr/bin/$command" ] || fail "Exec is '$(entry_value Exec "$desktop")'"
[ "$(entry_value Icon "$desktop")" = "$command" ] || fail "Icon is '$(entry_value Icon "$desktop")'"
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "appstreamcli validate"; }
grep -qF "<name>TallowFern: Teacher&apos;s spring - first (1)!</name>" "$metainfo" ||
    fail "the metadata's name is not the title escaped"
gzip -dc "$root/usr/share/man/man1/$command.1.gz" >"$work/$command.1"
grep -qF 'Teacher\(aqs spring \- first (1)!' "$work/$command.1" || fail "the manual page's title is not escaped"
LC_ALL=C.UTF-8 MANWIDTH=120 man --warnings -E UTF-8 -l -Tutf8 -Z "$work/$command.1" \
    >/dev/null 2>"$work/man.log" && [ ! -s "$work/man.log" ] || { cat "$work/man.log"; fail "man --warnings"; }
grep -q 'Lesson 2: ma huan zen ying nao' "$work/$command.1" || fail "the manual page lacks lesson 2"
grep -q "the character 春 " "$root/usr/share/icons/hicolor/scalable/apps/$command.svg" ||
    fail "the icon does not draw 春"

# Its texts are its own: no default character, reading, command or data folder.
texts=$work/texts
mkdir -p "$texts"
cp "$root$data"/dat/LICENSE.* "$root/usr/share/doc/$command/README.md" \
    "$root/usr/share/doc/$command/copyright" "$desktop" "$metainfo" "$work/$command.1" "$texts/"
own_texts "$texts" "$characters"

# The unpacked program, started from another folder, runs for three seconds.
start_installed "$root/usr/bin/$command" 3 "$root$data"

# The learner in the course's program (tests/install/drive_course.cpp, built
# with the course's tables): lesson 2 chosen from the Lesson menu, its cards
# clicked; started again, it opens on lesson 2, its settings file the only
# file it wrote.
driver_tree=$work/driver
cmake -S "$source/cmake/course" -B "$driver_tree" -G Ninja -DTALLOWFERN_BUILD="$build" \
    -DTALLOWFERN_COURSE="$file" -DTALLOWFERN_COURSE_DRIVER="$source/tests/install/drive_course.cpp" \
    >"$work/driver-build.log" 2>&1 &&
    cmake --build "$driver_tree" --target course_driver >>"$work/driver-build.log" 2>&1 ||
    { tail -n 20 "$work/driver-build.log"; fail "building the course's driver"; finish "course"; }
config=$work/config
rm -rf "$config"
drive() {
    (cd "$run" && XDG_CONFIG_HOME="$config" HOME="$work" "$driver_tree/course_driver" "$@") \
        >"$work/drive.log" 2>&1
    grep '^message: ' "$work/drive.log" && fail "the course's program showed messages"
    grep -q '^exit: 0$' "$work/drive.log" || { tail -n 5 "$work/drive.log"; fail "the driver's status"; }
}
expect_lines() {  # <kind> <expected lines>: the driver's lines of that kind, in order
    got=$(sed -n "s/^$1: //p" "$work/drive.log")
    [ "$got" = "$2" ] || fail "$1: '$got', not '$2'"
}
drive --choose 2
expect_lines menu "Lesson 1: chun xia qiu dong tian enabled
Lesson 2: ma huan zen ying nao enabled
Lesson 3: he wei zhe shang ta enabled"
expect_lines title "TallowFern: $title — Lesson 1: chun xia qiu dong tian
TallowFern: $title — Lesson 2: ma huan zen ying nao"
expect_lines lesson "B4BA CFC4 C7EF B6AC CCEC
C2E8 BBB6 D4F5 D3B0 C4D4"
expect_lines card "ma1 6
huan1 6
zen3 9
ying3 15
nao3 10"
[ "$(find "$config" -type f)" = "$config/TallowFern/course-$name.ini" ] ||
    fail "the course wrote $(find "$config" -type f | tr '\n' ' ')"
grep -qx 'lesson=2' "$config/TallowFern/course-$name.ini" || fail "lesson 2 is not remembered"
drive
expect_lines title "TallowFern: $title — Lesson 2: ma huan zen ying nao"
expect_lines lesson "C2E8 BBB6 D4F5 D3B0 C4D4"
expect_lines card "ma1 6
huan1 6
zen3 9
ying3 15
nao3 10"

ran_nothing "make course"
finish "course $name"
