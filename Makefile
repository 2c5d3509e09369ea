# The two commands of the README: `make run` and `make test`.
# Both install what is missing first (tools/install-deps.sh), then build.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run bench clean

all: build

deps:
	@bash tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	@bash tools/run-tests.sh $(BUILD) $(JOBS)

run: build
	@bash tools/run-app.sh $(BUILD)

bench: build
	cmake --build $(BUILD) --target bench_build
	@bash tools/run-bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)
