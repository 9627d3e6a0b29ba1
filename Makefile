# Set-up, build and test on a fresh Debian 12 machine.
#   make run      install what building and running need, build, start the program in build/run/
#   make test     the same set-up plus the test tools, build with the tests, run every test
#   make package  the same set-up plus the packaging tools, build, write the Debian package
#   make lesson CHARS=老师说汉语   a lesson of one's own beside the default one (starts nothing)
#   make course COURSE=courses/first-lessons.txt   a course: one program for its lessons (starts nothing)

BUILD ?= build
JOBS ?= 2
SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

# Building the program and its data, and running it (help viewer included).
RUN_PACKAGES := \
  cmake g++ make pkg-config ninja-build \
  qt6-base-dev qt6-svg-dev libsdl2-dev libfreetype-dev nlohmann-json3-dev libssl-dev \
  fonts-arphic-gkai00mp fonts-liberation2 \
  sox libsox-fmt-mp3 unicode-data fp-utils python3-jieba rime-data-pinyin-simp \
  xchm xdg-utils file libicu-dev
# The tests, benchmarks and fuzzers, and the X server and window manager of the GUI tests.
TEST_PACKAGES := \
  libgtest-dev libgmock-dev libbenchmark-dev \
  clang-14 libclang-rt-14-dev \
  xvfb xdotool x11-apps x11-utils imagemagick openbox wmctrl \
  dpkg-dev lintian appstream desktop-file-utils
# Writing and checking the Debian package.
PACKAGE_PACKAGES := dpkg-dev lintian appstream desktop-file-utils

# The lesson's characters are data: taken as written (make expands nothing in
# them) and handed to the lesson's script only in its environment.
ifdef CHARS
override CHARS := $(value CHARS)
export CHARS
endif
# So is the course file's path.
ifdef COURSE
override COURSE := $(value COURSE)
export COURSE
endif

.PHONY: all deps deps-test deps-package configure configure-test build build-test run test \
  test-asan fuzz package lesson course clean

all: build

# apt-get runs only when a package is missing; npm only when node is missing.
define install_missing
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if ! command -v npm >/dev/null 2>&1; then missing="$$missing nodejs npm"; fi; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install_missing,$(RUN_PACKAGES))

deps-test:
	$(call install_missing,$(RUN_PACKAGES) $(TEST_PACKAGES))

deps-package:
	$(call install_missing,$(RUN_PACKAGES) $(PACKAGE_PACKAGES))

# The program alone: no test, benchmark or fuzz target, no test framework.
configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF

configure-test: deps-test
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/run && ./tallowfern

build-test: configure-test
	cmake --build $(BUILD) -j $(JOBS)

test: build-test
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-asan
	$(MAKE) --no-print-directory fuzz

# The whole suite again with AddressSanitizer + UndefinedBehaviorSanitizer; leaks
# are checked, with the known ones of Qt, fontconfig and SDL suppressed.
ASAN_BUILD ?= build-asan
SANITIZER_ENV := \
  ASAN_OPTIONS=detect_leaks=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/fuzz/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

test-asan: deps-test
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLOWFERN_SANITIZE=ON \
	  -DBUILD_TESTING=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# The libFuzzer targets (clang-14), each run FUZZ_SECONDS on its corpus.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 20

fuzz: deps-test
	cmake -S tests/fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++-14 -DTALLOWFERN_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	cd $(FUZZ_BUILD) && ctest --output-on-failure

# The Debian package $(PACKAGE_BUILD)/tallowfern_<version>_amd64.deb (CPack), built
# without the tests in a tree of its own, so that it leaves the test build as it is.
PACKAGE_BUILD ?= $(BUILD)/package

package: deps-package
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB

# A lesson of one's own, for the five characters CHARS: cmake/lesson/make_lesson.sh
# checks them with the builder (which says why it cannot make a lesson of them),
# builds the lesson in a temporary folder and moves it to $(LESSONS)/<name>/ when
# whole: its data, its program linked with the built libraries, its run folder
# run/ and its Debian package. A refused, failed or interrupted lesson leaves no
# folder of its own, and the lesson built before under its name as it was.
LESSONS ?= $(BUILD)/lessons

lesson: deps-package
	@test -f $(BUILD)/tallowfern-build.cmake || $(MAKE) --no-print-directory configure
	cmake --build $(BUILD) -j $(JOBS)
	@sh cmake/lesson/make_lesson.sh "$(BUILD)" "$(JOBS)" "$(LESSONS)"

# A course, the file COURSE (an optional "title: ..." line, then five characters
# a line): cmake/course/make_course.sh checks the whole file with the builder
# (which names the line it refuses and says why), builds the course in a
# temporary folder and moves it to $(COURSES)/<name>/ when whole: one program
# for all its lessons, its run folder run/ and its Debian package. A refused,
# failed or interrupted course leaves no folder of its own, and the course built
# before under its name as it was.
COURSES ?= $(BUILD)/courses

course: deps-package
	@test -f $(BUILD)/tallowfern-build.cmake || $(MAKE) --no-print-directory configure
	cmake --build $(BUILD) -j $(JOBS)
	@sh cmake/course/make_course.sh "$(BUILD)" "$(JOBS)" "$(COURSES)"

clean:
	rm -rf $(BUILD)
