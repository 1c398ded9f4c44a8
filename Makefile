# Thin wrapper over CMake + Ninja. `make run` starts the viewer, `make test` runs every test.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: all build run test deps clean windows test-windows bench sanitize fuzz

all: build

deps:
	@scripts/ensure-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/src/app/tarnholm ]; then exec $(BUILD)/src/app/tarnholm; \
	else echo "The viewer is not built yet: see README.md"; exit 1; fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Every test under ASan + UBSan with leak checking, in build-asan.
sanitize: deps
	JOBS=$(JOBS) CMAKE_FLAGS="$(CMAKE_FLAGS)" scripts/sanitize.sh

# The libFuzzer targets (clang), FUZZ_SECONDS each, in build-fuzz.
FUZZ_SECONDS ?= 600
fuzz: deps
	JOBS=$(JOBS) CMAKE_FLAGS="$(CMAKE_FLAGS)" scripts/fuzz.sh $(FUZZ_SECONDS)

# Benchmarks: a Release build in build-bench, every benchmark run, one table of figures at the
# end (bench/run.py). The external anchors (xxd, hexyl, hyperfine) are installed when root.
BENCH_BUILD ?= build-bench
BENCH_REPS ?= 5

bench: deps
	@if [ "$$(id -u)" -eq 0 ]; then TARNHOLM_EXTRA_PACKAGES="xxd hexyl hyperfine time" scripts/ensure-deps.sh; fi
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNHOLM_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target dump_bench load_bench tree_bench edit_bench
	python3 bench/run.py --build $(BENCH_BUILD) --reps $(BENCH_REPS)

# The Windows build: cross-compiled with mingw-w64, tested under Wine (README.windows.md).
WINDOWS_BUILD ?= build-windows
WINDOWS_PACKAGES = g++-mingw-w64-x86-64-posix googletest wine wine64 xvfb xauth xdotool imagemagick

windows:
	@TARNHOLM_EXTRA_PACKAGES="g++-mingw-w64-x86-64-posix" scripts/ensure-deps.sh
	JOBS=$(JOBS) scripts/windows-build.sh $(WINDOWS_BUILD)

test-windows:
	@TARNHOLM_EXTRA_PACKAGES="$(WINDOWS_PACKAGES)" scripts/ensure-deps.sh
	JOBS=$(JOBS) CMAKE_FLAGS="$(CMAKE_FLAGS)" scripts/windows-test.sh $(WINDOWS_BUILD)

clean:
	rm -rf $(BUILD)
