# Convenience wrapper around CMake.  `make test` and `make demo` work on a
# fresh Debian machine: they install what is missing first.
BUILD     ?= build
LINUX     := $(BUILD)/linux
ASAN      := $(BUILD)/asan
WIN32DIR  := $(BUILD)/win32
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_GEN := -G Ninja
export WINEDEBUG ?= -all

.PHONY: all deps-linux deps linux win32 asan build test test-linux demo bench clean

all: build

deps-linux:
	@scripts/install-deps.sh linux

deps:
	@scripts/install-deps.sh all

$(LINUX)/build.ninja: | deps-linux
	cmake -S . -B $(LINUX) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(WIN32DIR)/build.ninja: | deps
	cmake -S . -B $(WIN32DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw32.cmake

linux: deps-linux $(LINUX)/build.ninja
	cmake --build $(LINUX) -j $(JOBS)

win32: deps $(WIN32DIR)/build.ninja
	cmake --build $(WIN32DIR) -j $(JOBS)

build: linux win32

$(ASAN)/build.ninja: | deps-linux
	cmake -S . -B $(ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DZAL2443_SANITIZE=ON

# The Linux tests once more with AddressSanitizer and UBSan.
asan: deps-linux $(ASAN)/build.ninja
	cmake --build $(ASAN) -j $(JOBS)

test: build asan
	@scripts/run-tests.sh $(LINUX) $(WIN32DIR) $(ASAN)

test-linux: linux
	@scripts/run-tests.sh $(LINUX)

demo: linux
	@scripts/demo.sh $(LINUX)

bench: deps-linux
	cmake -S . -B $(BUILD)/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DZAL2443_BENCH=ON -DZAL2443_TESTS=OFF
	cmake --build $(BUILD)/bench -j $(JOBS)
	@scripts/bench.sh $(BUILD)/bench

clean:
	rm -rf $(BUILD)
