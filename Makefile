# The two commands of the quick start, and the rest. Each installs the Debian
# packages it needs (scripts/install-deps.sh GROUP...) and configures the build
# with the tests and benchmarks on or off, so they can follow one another in
# one build directory.
#   make run      build only the program and open the window
#   make test     build everything, run every test (own Xvfb if no display)
#   make bench    measure a frame, the animations and start-up
#   make docs     regenerate the pictures under docs/images and the icon from the real program
#   make package  build a Debian package
#   make test-release RELEASE=trixie [ARCH=arm64]
#                 make run and make test in a minimal chroot of another Debian release
#   make deps     install the packages of every group
BUILD ?= build
RELEASE ?= trixie
ARCH ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# $(call setup,GROUPS,TESTS,BENCH)
define setup
	@bash scripts/install-deps.sh $(1)
	@cmake -S . -B $(BUILD) -DPAVOK_TESTS=$(2) -DPAVOK_BENCH=$(3) >/dev/null
endef

.PHONY: run test bench docs package test-release deps clean

run:
	$(call setup,build,OFF,OFF)
	@cmake --build $(BUILD) -j $(JOBS) --target pavok
	./$(BUILD)/pavok

test:
	$(call setup,build test bench,ON,ON)
	@cmake --build $(BUILD) -j $(JOBS)
	@BUILD=$(BUILD) JOBS=$(JOBS) bash scripts/test.sh

bench:
	$(call setup,build bench,OFF,ON)
	@cmake --build $(BUILD) -j $(JOBS)
	@BUILD=$(BUILD) python3 scripts/bench.py

docs:
	$(call setup,build docs,OFF,OFF)
	@cmake --build $(BUILD) -j $(JOBS) --target pavok
	@BUILD=$(BUILD) python3 scripts/docs.py

package:
	$(call setup,build package,OFF,OFF)
	@cmake --build $(BUILD) -j $(JOBS) --target pavok
	@BUILD=$(BUILD) bash scripts/package.sh

test-release:
	@bash scripts/test-release.sh '$(RELEASE)' '$(ARCH)'

deps:
	@bash scripts/install-deps.sh build test bench docs package release emulation

clean:
	rm -rf $(BUILD) $(BUILD)-*
