# Convenience wrapper around CMake.  `make test` and `make demo` work on a
# fresh Debian machine: they install what is missing first.
BUILD     ?= build
LINUX     := $(BUILD)/linux
ASAN      := $(BUILD)/asan
WIN32DIR  := $(BUILD)/win32
WIN64DIR  := $(BUILD)/win64
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_GEN := -G Ninja
export WINEDEBUG ?= -all

# The Windows leg of `make test`: the 32-bit build under Wine where this host
# runs 32-bit programs, else the 64-bit build under wine64.  The 32-bit DLL is
# built and checked on every host.  `make test WIN_LEG=64` chooses by hand.
WIN_LEG ?= $(shell scripts/probe-ia32.sh && echo 32 || echo 64)
ifeq ($(WIN_LEG),32)
WINLEGDIR := $(WIN32DIR)
else
WINLEGDIR := $(WIN64DIR)
endif

.PHONY: all deps-linux deps deps-win32 deps-win64 deps-dll32 linux win32 win32-dll win64 \
        asan build test test-linux test-win64 demo bench fuzz deps-fuzz clean install deb

all: build

deps-linux:
	@scripts/install-deps.sh linux
deps-win32:
	@scripts/install-deps.sh win32
deps-win64:
	@scripts/install-deps.sh win64
deps-dll32:
	@scripts/install-deps.sh dll32
deps:
	@scripts/install-deps.sh all

$(LINUX)/build.ninja: | deps-linux
	cmake -S . -B $(LINUX) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(WIN32DIR)/build.ninja: | deps-dll32
	cmake -S . -B $(WIN32DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw32.cmake

$(WIN64DIR)/build.ninja: | deps-win64
	cmake -S . -B $(WIN64DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw64.cmake

linux: deps-linux $(LINUX)/build.ninja
	cmake --build $(LINUX) -j $(JOBS)

win32: deps-win32 $(WIN32DIR)/build.ninja
	cmake --build $(WIN32DIR) -j $(JOBS)

# Only the 32-bit DLL, for the check that needs no Wine.
win32-dll: deps-dll32 $(WIN32DIR)/build.ninja
	cmake --build $(WIN32DIR) -j $(JOBS) --target zal2443

win64: deps-win64 $(WIN64DIR)/build.ninja
	cmake --build $(WIN64DIR) -j $(JOBS)

build: linux win32

$(ASAN)/build.ninja: | deps-linux
	cmake -S . -B $(ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DZAL2443_SANITIZE=ON

# The Linux tests once more with AddressSanitizer and UBSan.
asan: deps-linux $(ASAN)/build.ninja
	cmake --build $(ASAN) -j $(JOBS)

test: linux win32-dll win$(WIN_LEG) asan
	@scripts/run-tests.sh --linux $(LINUX) --dll32 $(WIN32DIR)/bin/ZAL2443.DLL \
	    --windows $(WINLEGDIR) --leg $(WIN_LEG) --asan $(ASAN)

test-linux: linux
	@scripts/run-tests.sh --linux $(LINUX)

# The 64-bit Windows leg on any host, to check a change on both before it lands.
test-win64: win64
	@scripts/run-tests.sh --windows $(WIN64DIR) --leg 64

demo: linux
	@scripts/demo.sh $(LINUX)

bench:
	@scripts/install-deps.sh bench
	cmake -S . -B $(BUILD)/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DZAL2443_BENCH=ON -DZAL2443_TESTS=OFF
	cmake --build $(BUILD)/bench -j $(JOBS)
	@scripts/bench.sh $(BUILD)/bench

# The fuzz targets (fuzz/) with libFuzzer, each for FUZZ_SECONDS, on the
# library built with clang's coverage, AddressSanitizer and UBSan.
FUZZ         := $(BUILD)/fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := ini job epl
FUZZ_CFLAGS  := -fsanitize=fuzzer-no-link -fno-sanitize-recover=undefined
deps-fuzz:
	@scripts/install-deps.sh fuzz

$(FUZZ)/build.ninja: | deps-fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DZAL2443_SANITIZE=ON -DZAL2443_FUZZ=ON \
	      -DCMAKE_C_FLAGS="$(FUZZ_CFLAGS)" -DCMAKE_CXX_FLAGS="$(FUZZ_CFLAGS)"

fuzz: deps-fuzz $(FUZZ)/build.ninja
	cmake --build $(FUZZ) -j $(JOBS) --target $(addsuffix _fuzzer,$(FUZZ_TARGETS))
	@fuzz/run.sh $(FUZZ) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# `make install PREFIX=$HOME/.local` (default /usr/local, DESTDIR for a
# staging folder): a release build without the tests, installed by CMake.
# The prefix is configured too: it chooses the library folder and whether
# zalprint needs a run path to find the library.
PREFIX  ?= /usr/local
RELEASE := $(BUILD)/release
install: deps-linux
	cmake -S . -B $(RELEASE) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DZAL2443_TESTS=OFF \
	      -DCMAKE_INSTALL_PREFIX="$(PREFIX)"
	cmake --build $(RELEASE) -j $(JOBS)
	DESTDIR="$(DESTDIR)" cmake --install $(RELEASE)

# The Debian package, build/deb/zal2443_<version>_<arch>.deb, for /usr.
DEB := $(BUILD)/deb
deb: deps-linux
	cmake -S . -B $(DEB) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DZAL2443_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build $(DEB) -j $(JOBS)
	cd $(DEB) && cpack -G DEB

clean:
	rm -rf $(BUILD)
