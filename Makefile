BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all deps configure build test demo bench clean native fuzz soak

all: build

deps:
	@tools/deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)
	@JOBS=$(JOBS) tools/native.sh build $(BUILD)/native

test: build
	@tools/run-tests.sh $(BUILD)

demo: build
	@tools/run-demo.sh $(BUILD)

bench: build
	@tools/winerun.sh 1200 $(BUILD)/bin/qbench.exe

clean:
	rm -rf $(BUILD)

# The plain code built for this machine under the sanitizers (its tests also run in `make test`);
# `make fuzz` runs every fuzz target FUZZ_SECONDS (default 300) each.
native: deps
	@JOBS=$(JOBS) tools/native.sh test $(BUILD)/native

fuzz: deps
	@JOBS=$(JOBS) tools/native.sh fuzz $(BUILD)/native

# The trim dialog under random real input for SECONDS (default 600), invariants checked as it runs.
SECONDS ?= 600
soak: build
	@samples/trim/run.sh $(BUILD) soak $(SECONDS)
