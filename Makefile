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
  fonts-arphic-gkai00mp fonts-dejavu-core \
  espeak-ng sox unicode-data fp-utils \
  clang-14 libclang-rt-14-dev \
  xvfb xdotool x11-apps imagemagick

.PHONY: all deps configure build run test clean

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

clean:
	rm -rf $(BUILD)
