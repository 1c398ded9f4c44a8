# Thin wrapper over CMake + Ninja. `make run` starts the viewer, `make test` runs every test.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: all build run test deps clean

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

clean:
	rm -rf $(BUILD)
