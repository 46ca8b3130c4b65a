# Two commands do everything on a Debian or Ubuntu machine:
#   make run    installs what is missing, builds and starts the program
#   make test   installs what is missing, builds and runs the whole test suite
# Elsewhere, install the packages' equivalents and build with CMake (see README.md).

BUILD_DIR  ?= build
BUILD_TYPE ?= RelWithDebInfo
PROGRAM    := $(BUILD_DIR)/kelto-zelbo-break

# Debian package names: the toolchain and Qt 6, libcanberra and the sound theme for the alarm's
# bell, the font the windows are laid out for, the X server and tools the end-to-end test drives
# the real program with, the desktop-file and AppStream validators, the Debian packaging tools,
# and the MinGW resource compiler that checks the Windows resource script.
PACKAGES := cmake make g++ pkg-config qt6-base-dev libcanberra-dev sound-theme-freedesktop \
            fonts-liberation2 xvfb xauth xdotool x11-utils x11-apps dbus \
            desktop-file-utils appstream dpkg-dev file binutils-mingw-w64-x86-64

SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: all deps configure build run test package clean

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

# A Debian package of a Release build installed under /usr: build-package/*.deb
package: deps
	cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	    -DKZB_BUILD_TESTS=OFF -DKZB_WERROR=ON
	cmake --build build-package --parallel
	cd build-package && cpack -G DEB
	@ls -1 build-package/*.deb

clean:
	rm -rf $(BUILD_DIR) build-package
