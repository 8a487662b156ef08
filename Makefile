BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all deps configure build test demo bench clean

all: build

deps:
	@tools/deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@tools/run-tests.sh $(BUILD)

demo: build
	@tools/run-demo.sh $(BUILD)

bench: build
	@tools/winerun.sh 1200 $(BUILD)/bin/qbench.exe

clean:
	rm -rf $(BUILD)
