# Two commands do everything on a Debian or Ubuntu machine:
#   make run    installs what building and running the program needs, builds it and starts it
#   make test   installs that and the test tools, builds and runs the whole test suite: once as
#               it is, once under AddressSanitizer and UndefinedBehaviorSanitizer, then each
#               fuzz target for FUZZ_SECONDS
# and one for the quick loop while changing the code:
#   make check  the plain build and its tests only
# and one for Windows users:
#   make windows  cross-builds the program for 64-bit Windows and packs it into build-windows/ as a
#                 portable zip and an installer (the first time, it builds Qt for Windows: 25 to
#                 35 minutes; make test does all of this too and tests it under Wine)
# Elsewhere, install the packages' equivalents and build with CMake (see docs/building.md).

BUILD_DIR    ?= build
SAN_DIR      ?= build-asan
FUZZ_DIR     ?= build-fuzz
BUILD_TYPE   ?= RelWithDebInfo
SAN_CONFIG   := $(shell echo $(BUILD_TYPE) | tr a-z A-Z)
PROGRAM      := $(BUILD_DIR)/kelto-zelbo-break
FUZZ_SECONDS ?= 20
# The end-to-end tests spend most of their time waiting for a one-minute countdown, each on its
# own X server; run side by side they take little more than the longest of them.
CTEST_JOBS   ?= 4
FUZZ_TARGETS := readnumber decrement minutesbox textlimit

# Debian package names, none of them tied to one release's version numbers. To build and run: the
# toolchain (Ninja builds a tree a fifth faster than make) and Qt 6 (with its Wayland platform,
# for Wayland sessions without XWayland, and its private headers, whose platform interface asks the
# X server for its time), libcanberra with its sound-server back end and the
# sound theme for the alarm's bell, and the font the windows are laid out for.
RUN_PACKAGES := cmake ninja-build make g++ pkg-config qt6-base-dev qt6-base-private-dev qt6-wayland \
                libcanberra-dev libcanberra-pulse sound-theme-freedesktop fonts-liberation2

# To test besides: the X server and tools the end-to-end test drives the real program with (and
# Python's Xlib, which sends its windows a window manager's close), the window managers (KDE's with
# its usual window decoration) and the typed-into program its desktop cases run under, the Wayland
# compositor with Xwayland its Wayland cases run in, the PulseAudio server and its recorder that the
# sound test plays the bell into, the accessibility bus and its Python bindings the accessibility
# test reads the program through, the desktop-file and AppStream validators, the Debian packaging
# tools, the MinGW resource compiler that checks the Windows resource script, clang with the
# libFuzzer runtime of the release's default clang (libclang-rt-dev follows clang's version), and
# the release's clang-format, which checks the sources' formatting. The scripts read processes with
# ps (procps), which a minimal system lacks; lintian checks the Debian package against Debian's
# policy. Qt's GTK platform theme, which Debian's Qt recommends and a GNOME desktop thus has, shows
# the program in GNOME's dark style for the end-to-end test. The desktop cases run on a desk of two
# monitors: Xorg with the dummy video driver, its monitors laid out by xrandr (x11-xserver-utils).
# ccache keeps what the trees compiled, so that the next clone builds from it.
TEST_PACKAGES := ccache xvfb xauth xdotool x11-utils x11-apps python3 python3-xlib dbus procps \
                 qt6-gtk-platformtheme \
                 xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils \
                 metacity xfwm4 xfconf openbox kwin-x11 kwin-style-breeze xterm weston xwayland \
                 pulseaudio pulseaudio-utils \
                 at-spi2-core python3-pyatspi python3-dbus \
                 desktop-file-utils appstream dpkg-dev lintian file binutils-mingw-w64-x86-64 \
                 clang libclang-rt-dev clang-format

# To build for Windows besides: Debian's MinGW-w64 compilers with POSIX threads, the tools that
# fetch and unpack Debian's Qt source to build Qt for Windows from (packaging/windows/build-qt.sh;
# Qt's host tools come with qt6-base-dev, its header tool is Perl, its license notices are gathered
# by Python), and NSIS for the installer. To test that build: Wine, and Python's PE reader for the
# executable's resources.
WINDOWS_PACKAGES := g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
                    qt6-base-dev-tools dpkg-dev xz-utils perl python3 nsis
WINE_PACKAGES := wine wine64 python3-pefile

# What deps installs: the goals that need the test tools install them with the rest, in one go.
TEST_GOALS := build-all check test sanitized fuzz-build fuzz package
ifneq ($(filter test windows-check,$(MAKECMDGOALS)),)
PACKAGES ?= $(RUN_PACKAGES) $(TEST_PACKAGES) $(WINDOWS_PACKAGES) $(WINE_PACKAGES)
else ifneq ($(filter $(TEST_GOALS),$(MAKECMDGOALS)),)
PACKAGES ?= $(RUN_PACKAGES) $(TEST_PACKAGES)
else ifneq ($(filter windows windows-packages windows-qt,$(MAKECMDGOALS)),)
PACKAGES ?= $(RUN_PACKAGES) $(WINDOWS_PACKAGES)
else
PACKAGES ?= $(RUN_PACKAGES)
endif

# What `make bench` needs besides: Python with Xlib to watch the windows from outside, strace to
# count timer wake-ups.
BENCH_PACKAGES := python3 python3-xlib strace

SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

# New build trees are made for Ninja where it is installed (deps installs it), for make elsewhere.
# An existing tree keeps the generator it was made with.
GENERATOR = $$(command -v ninja >/dev/null 2>&1 && echo -G Ninja)

# configure_tree DIR,SOURCE,ARGUMENTS configures the tree DIR of SOURCE when it has no build files
# yet or was configured with other ARGUMENTS (written to DIR/configure-args once configure has
# succeeded, so a configure that failed is tried again); otherwise it leaves the tree alone.
define configure_tree
	@args='$(strip $(3))'; \
	if { [ ! -f $(1)/build.ninja ] && [ ! -f $(1)/Makefile ]; } \
	    || [ "$$(cat $(1)/configure-args 2>/dev/null)" != "$$args" ]; then \
	  rm -f $(1)/configure-args; \
	  generator=; [ -f $(1)/CMakeCache.txt ] || generator=$(GENERATOR); \
	  echo "cmake -S $(2) -B $(1) $$generator $$args"; \
	  eval cmake -S $(2) -B $(1) $$generator $$args && echo "$$args" >$(1)/configure-args; \
	fi
endef
# The plain tree carries line tables rather than full debug information: backtraces still name
# file and line, and the test executables, which include a precompiled copy of Qt's headers,
# compile in half the time. BUILD_TYPE=Debug gives full debug information.
PLAIN_ARGS := -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DKZB_WERROR=ON \
              $(if $(filter RelWithDebInfo,$(BUILD_TYPE)),"-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG")

.PHONY: all deps configure build build-all run check test sanitized fuzz-build \
        fuzz-run fuzz package clean bench windows windows-packages windows-qt windows-check

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
	  echo "then build with CMake as docs/building.md describes."; \
	fi

configure: deps
	$(call configure_tree,$(BUILD_DIR),.,$(PLAIN_ARGS))

# The program alone: what `make run` needs.
build: configure
	cmake --build $(BUILD_DIR) --parallel --target kelto-zelbo-break

run: build
	./$(PROGRAM)

# The program, its tests and tools.
build-all: configure
	cmake --build $(BUILD_DIR) --parallel

check: build-all
	cd $(BUILD_DIR) && ctest --output-on-failure --parallel $(CTEST_JOBS)

# The four trees built and their suites run, side by side where two cores allow it, with Qt for
# Windows built beside the Linux suites where its cache does not hold it yet: tests/make_test.sh
# tells the order.
test: deps
	@MAKE="$(MAKE)" BUILD_DIR=$(BUILD_DIR) SAN_DIR=$(SAN_DIR) FUZZ_DIR=$(FUZZ_DIR) WIN_DIR=$(WIN_DIR) \
	  CTEST_JOBS=$(CTEST_JOBS) tests/make_test.sh

# Only the tests run in the sanitized tree: the screenshot tool is left out, and it is compiled
# for the sanitizers' reports rather than for speed: -O1 with line tables only, which compiles
# much faster and still names file and line in every report.
SAN_ARGS := -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DKZB_SANITIZE=ON -DKZB_WERROR=ON \
            -DKZB_BUILD_SCREENSHOTS=OFF "-DCMAKE_CXX_FLAGS_$(SAN_CONFIG)=-O1 -g1 -DNDEBUG"
sanitized: deps
	$(call configure_tree,$(SAN_DIR),.,$(SAN_ARGS))
	cmake --build $(SAN_DIR) --parallel

fuzz-build: deps
	$(call configure_tree,$(FUZZ_DIR),fuzz,-DCMAKE_CXX_COMPILER=clang++)
	cmake --build $(FUZZ_DIR) --parallel

# Each target starts from its committed seeds and what earlier runs found; a broken property
# stops it and leaves the input in $(FUZZ_DIR). The targets run FUZZ_JOBS at a time, one a core.
FUZZ_JOBS ?= 2
fuzz-run:
	@for t in $(FUZZ_TARGETS); do mkdir -p $(FUZZ_DIR)/corpus/$$t; done; \
	echo "fuzzing $(FUZZ_TARGETS) for $(FUZZ_SECONDS) s each, $(FUZZ_JOBS) at a time"; \
	printf '%s\n' $(FUZZ_TARGETS) | xargs -P $(FUZZ_JOBS) -I{} sh -c \
	  './$(FUZZ_DIR)/fuzz_{} -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	     -artifact_prefix=$(FUZZ_DIR)/ $(FUZZ_DIR)/corpus/{} fuzz/corpus/{} 2>$(FUZZ_DIR)/{}.log \
	   || { echo "fuzz target {} failed:"; tail -n 40 $(FUZZ_DIR)/{}.log; exit 1; }'; \
	failed=$$?; passed=0; \
	for t in $(FUZZ_TARGETS); do \
	  if grep -q 'stat::number_of_executed_units' $(FUZZ_DIR)/$$t.log 2>/dev/null \
	      && ! grep -q 'ERROR: libFuzzer\|==ERROR\|SUMMARY: ' $(FUZZ_DIR)/$$t.log; then \
	    echo "$$t: $$(grep -h 'stat::number_of_executed_units' $(FUZZ_DIR)/$$t.log)"; \
	    passed=$$((passed + 1)); \
	  fi; \
	done; \
	echo "fuzz: $$passed passed, $$(( $(words $(FUZZ_TARGETS)) - passed )) failed"; \
	[ $$failed -eq 0 ] && [ $$passed -eq $(words $(FUZZ_TARGETS)) ]

fuzz: fuzz-build
	@$(MAKE) --no-print-directory fuzz-run FUZZ_SECONDS=600

# A Debian package of a Release build installed under /usr: build-package/*.deb
package: deps
	cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	    -DKZB_BUILD_TESTS=OFF -DKZB_WERROR=ON
	cmake --build build-package --parallel
	cd build-package && cpack -G DEB
	@ls -1 build-package/*.deb

# The Windows build: Qt for Windows from the cache outside the tree (built there the first time),
# then the program and its tests cross-compiled in $(WIN_DIR), and the zip and the installer packed
# there. Release, without debugging information, like the packages.
WIN_DIR    ?= build-windows
QT_WINDOWS  = $(shell packaging/windows/build-qt.sh --path)
WIN_ARGS    = -DCMAKE_BUILD_TYPE=Release -DKZB_WERROR=ON -DKZB_BUILD_SCREENSHOTS=OFF \
              -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/packaging/windows/mingw-w64.cmake \
              -DCMAKE_PREFIX_PATH=$(QT_WINDOWS)

windows-qt: deps
	@packaging/windows/build-qt.sh >/dev/null

# The packages are made first, with what the Windows suite's own tests run (the launcher, and the
# two test programs run on Qt's windows platform), so that make test can start those tests while
# the unit tests build: windows-packages alone stops there.
WIN_PACKED := kelto-zelbo-break kzb_runtime keep_exit_code tst_captions tst_foreground

windows-packages: windows-qt
	@if [ -f $(WIN_DIR)/CMakeCache.txt ] \
	    && ! grep -qx 'Qt6_DIR:PATH=$(QT_WINDOWS)/lib/cmake/Qt6' $(WIN_DIR)/CMakeCache.txt; then \
	  echo "Qt for Windows was built anew: $(WIN_DIR) is configured afresh"; \
	  rm -rf $(WIN_DIR)/CMakeCache.txt $(WIN_DIR)/CMakeFiles; \
	fi
	$(call configure_tree,$(WIN_DIR),.,$(WIN_ARGS))
	cmake --build $(WIN_DIR) --parallel --target $(WIN_PACKED)
	cd $(WIN_DIR) && cpack
	@ls -1 $(WIN_DIR)/*.zip $(WIN_DIR)/*-setup.exe

windows: windows-packages
	cmake --build $(WIN_DIR) --parallel

# The Windows build's tests under Wine, after make windows.
windows-check: windows
	cd $(WIN_DIR) && ctest --output-on-failure --parallel $(CTEST_JOBS)

# Start-up time, memory, wake-ups and alarm timing against a bare Qt window, under a private
# Xvfb, with every budget checked (about twenty minutes; BENCH_LONG=1 adds ten alarms in a
# row). See docs/performance.md.
bench:
	@$(MAKE) --no-print-directory deps PACKAGES="$(RUN_PACKAGES) $(TEST_PACKAGES) $(BENCH_PACKAGES)"
	BENCH_LONG=$(BENCH_LONG) bash bench/run.sh

clean:
	rm -rf $(BUILD_DIR) $(SAN_DIR) $(FUZZ_DIR) $(WIN_DIR) build-package
