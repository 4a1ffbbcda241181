# The two commands of the quick start, and the rest.
#   make run      install what is missing, build, open the window
#   make test     install what is missing, build, run every test (own Xvfb if no display)
#   make bench    measure a frame, the animations and start-up
#   make docs     regenerate the pictures under docs/images and the icon from the real program
#   make package  build a Debian package
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: deps configure build run test bench docs package clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/pavok

test: build
	@BUILD=$(BUILD) JOBS=$(JOBS) bash scripts/test.sh

bench: build
	@BUILD=$(BUILD) bash scripts/bench.sh

docs: build
	@BUILD=$(BUILD) python3 scripts/docs.py

package: build
	@BUILD=$(BUILD) bash scripts/package.sh

clean:
	rm -rf $(BUILD) $(BUILD)-*
