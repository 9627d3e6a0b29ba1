# Set-up, build and test on a fresh Debian 12 machine.
#   make run   install what is missing, build, start the program in build/run/
#   make test  install what is missing, build, run every test

BUILD ?= build
JOBS ?= 2
SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

APT_PACKAGES := \
  cmake g++ make pkg-config ninja-build \
  qt6-base-dev libsdl2-dev libfreetype-dev nlohmann-json3-dev \
  libgtest-dev libgmock-dev libbenchmark-dev libssl-dev \
  fonts-arphic-gkai00mp fonts-liberation2 \
  sox libsox-fmt-mp3 unicode-data fp-utils \
  python3-jieba \
  clang-14 libclang-rt-14-dev \
  xvfb xdotool x11-apps x11-utils imagemagick openbox wmctrl

.PHONY: all deps configure build run test test-asan fuzz clean

all: build

# apt-get runs only when a package is missing; npm only when node is missing.
deps:
	@missing=$$(for p in $(APT_PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if ! command -v npm >/dev/null 2>&1; then missing="$$missing nodejs npm"; fi; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/run && ./tallowfern

test: build
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

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLOWFERN_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# The libFuzzer targets (clang-14), each run FUZZ_SECONDS on its corpus.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 20

fuzz: deps
	cmake -S tests/fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++-14 -DTALLOWFERN_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	cd $(FUZZ_BUILD) && ctest --output-on-failure

clean:
	rm -rf $(BUILD)
