# Two commands do everything on a Debian or Ubuntu machine:
#   make run    installs what is missing, builds and starts the program
#   make test   installs what is missing, builds and runs the whole test suite
# Elsewhere, install the packages' equivalents and build with CMake (see README.md).

BUILD_DIR  ?= build
BUILD_TYPE ?= RelWithDebInfo
PROGRAM    := $(BUILD_DIR)/kelto-zelbo-break

# Debian package names: the toolchain and Qt 6, libcanberra and the sound theme for the alarm's
# bell, the font the windows are laid out for, and the X server and tools the end-to-end test
# drives the real program with.
PACKAGES := cmake make g++ pkg-config qt6-base-dev libcanberra-dev sound-theme-freedesktop \
            fonts-liberation2 xvfb xauth xdotool x11-utils dbus

SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: all deps configure build run test clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -z "$$missing" ]; then exit 0; fi; \
	if command -v apt-get >/dev/null 2>&1; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -qq && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	else \
	  echo "This is not a Debian or Ubuntu machine. Please install the equivalents of:$$missing"; \
	  echo "then build with CMake as README.md describes."; \
	fi

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DKZB_WERROR=ON

configure: deps $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR) --parallel

run: build
	./$(PROGRAM)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure

clean:
	rm -rf $(BUILD_DIR)
