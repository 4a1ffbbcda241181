# The two commands of the quick start, and the rest; CONTRIBUTING.md says what
# each target does. Each checks for what it needs, installs what is missing
# with apt (tools/install_deps.sh GROUP...) and configures the build with the
# tests and benchmarks on or off, so they can follow one another in one build
# directory.
BUILD ?= build
ARCH ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
WINDOWS := $(BUILD)-windows
# Named, so that a build configured without them stops here.
BENCHES := pavok-bench pavok-bench-frames pavok-bench-minimal pavok-bench-startup
# A recipe line stops at its first failing command, pipes included.
SHELL := bash
.SHELLFLAGS := -e -o pipefail -c
# The tools' Python packages: the driver of the real program, the documents.
export PYTHONPATH := $(CURDIR)/tools
export PYTHONDONTWRITEBYTECODE := 1

# $(call setup,GROUPS,TESTS,BENCH)
define setup
	@bash tools/install_deps.sh $(1)
	@cmake -S . -B $(BUILD) -DPAVOK_TESTS=$(2) -DPAVOK_BENCH=$(3) >/dev/null
endef

.PHONY: run test bench docs dist deb test-deb release windows test-windows test-release deps clean

run:
	$(call setup,build,OFF,OFF)
	@cmake --build $(BUILD) -j $(JOBS) --target pavok
	./$(BUILD)/pavok

test:
	$(call setup,build test bench,ON,ON)
	@cmake --build $(BUILD) -j $(JOBS)
	@BUILD=$(BUILD) JOBS=$(JOBS) bash tools/testing/run_tests.sh $(LABEL)

bench:
	$(call setup,build bench,OFF,ON)
	@cmake --build $(BUILD) -j $(JOBS) --target pavok $(BENCHES)
	@BUILD=$(BUILD) bash tools/with_display.sh python3 bench/bench.py

docs:
	$(call setup,build docs,OFF,OFF)
	@cmake --build $(BUILD) -j $(JOBS) --target pavok
	@BUILD=$(BUILD) bash tools/with_display.sh python3 -m documents

dist:
	@bash tools/release/dist.sh '$(BUILD)'

deb test-deb release: RELEASE ?= bookworm
deb:
	@bash tools/install_deps.sh deb
	@bash tools/release/deb.sh build '$(RELEASE)' '$(BUILD)-deb'

test-deb: deb
	@bash tools/release/deb.sh check '$(RELEASE)' '$(BUILD)-deb'

# Each file named by a pattern that matches one file.
release: test-deb windows
	@rm -rf '$(BUILD)-release' && mkdir '$(BUILD)-release'
	@for f in pavok-*.tar.gz pavok_*.dsc pavok_*.orig.tar.gz pavok_*.debian.tar.xz \
	  pavok_*_*.deb; do cp '$(BUILD)-deb'/$$f '$(BUILD)-release'; done
	@cp '$(WINDOWS)'/pavok-*-windows-*.zip '$(BUILD)-release'
	@cd '$(BUILD)-release' && sha256sum -- * >SHA256SUMS && cat SHA256SUMS

# freeglut first, built from Debian's source, so that find_package finds it.
# The times in the executable and the zip are the last commit's (in an
# unpacked release tarball, its files'), so that a commit gives the same bytes.
windows: export SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null || \
  stat -c %Y CMakeLists.txt)
windows:
	@bash tools/install_deps.sh windows
	@OUT='$(WINDOWS)' JOBS=$(JOBS) bash tools/platforms/windows_freeglut.sh
	@cmake -S . -B '$(WINDOWS)' -DCMAKE_TOOLCHAIN_FILE="$(CURDIR)/cmake/mingw-w64-x86_64.cmake" \
	  -DCMAKE_BUILD_TYPE=Release -DFreeGLUT_DIR="$$(cd '$(WINDOWS)' && pwd)/freeglut/lib/cmake/FreeGLUT" \
	  -DPAVOK_TESTS=OFF -DPAVOK_BENCH=OFF >/dev/null
	@cmake --build '$(WINDOWS)' -j $(JOBS)

# On a display of its own, where openbox is the only window manager; the
# prefix lives in the build folder, and its processes end even if the test
# itself is killed. The trap keeps the test's status.
test-windows: windows
	$(call setup,build test-windows,OFF,OFF)
	@cmake --build $(BUILD) -j $(JOBS) --target pavok
	@linux="$$(cd '$(BUILD)' && pwd)/pavok" && cd '$(WINDOWS)' && \
	  export WINEPREFIX="$$PWD/wine" WINEDEBUG=-all && \
	  trap 'wineserver -k 2>/dev/null || :' EXIT && \
	  bash "$(CURDIR)/tools/with_display.sh" \
	    python3 "$(CURDIR)/tests/windows/test_windows.py" pavok.exe "$$linux"

test-release: RELEASE ?= trixie
test-release:
	@bash tools/platforms/debian_release.sh '$(RELEASE)' '$(ARCH)'

deps:
	@bash tools/install_deps.sh build test bench docs deb windows test-windows release emulation

clean:
	rm -rf $(BUILD) $(BUILD)-*
