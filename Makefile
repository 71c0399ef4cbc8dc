# Vornik Desktop — the two commands: `make run` and `make test`.
#   make run     set up, build, start VornikDesktop.exe (under Wine on Linux, on Xvfb when
#                there is no display)
#   make test    set up, build, run every test: native (ASan+UBSan), Win32 under Wine,
#                end-to-end, the release round trip, short fuzz runs
#   make release the Windows downloads into dist/: portable zip, installer, checksums
#   make bench   optimised native benchmarks, then the Win32 benchmarks under Wine
#   make fuzz    longer fuzz runs (FUZZ_SECONDS per target, default 300)
# BUILD selects the build folder (default build/), so several checkouts can build side by side.
BUILD ?= build
NATIVE := $(BUILD)/native
WIN := $(BUILD)/win
BENCH := $(BUILD)/bench
FUZZ_SECONDS ?= 300
JOBS ?= $(shell nproc)

.PHONY: all setup native win program run release test test-native test-win test-e2e test-fuzz bench fuzz clean

all: win

setup:
	@tools/setup.sh $(BUILD)

$(NATIVE)/build.ninja: | setup
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVORNIK_SANITIZE=ON

native: setup $(NATIVE)/build.ninja
	cmake --build $(NATIVE) -j $(JOBS)

$(WIN)/build.ninja: | setup
	cmake -S . -B $(WIN) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
	  -DVORNIK_HOST_TOOLS_DIR=$(abspath $(NATIVE))/bin \
	  -DVORNIK_DEPS_DIR=$(abspath $(BUILD))/deps/mingw

win: native $(WIN)/build.ninja
	cmake --build $(WIN) -j $(JOBS)

# The program alone: the host tools that draw its assets and its skin, then the program;
# no test, fuzz or seed target is built.
PROGRAM_TOOLS := assetgen quarngen skintool
program: setup $(NATIVE)/build.ninja $(WIN)/build.ninja
	cmake --build $(NATIVE) -j $(JOBS) --target $(PROGRAM_TOOLS)
	cmake --build $(WIN) -j $(JOBS) --target VornikDesktop

run: program
	tools/run-program.sh $(BUILD)

# The Windows user's downloads in dist/: the portable zip, the per-user installer, checksums.
release: program
	tools/make-release.sh $(BUILD)

test: native win release
	tools/run-tests.sh $(BUILD) all

test-native: native
	tools/run-tests.sh $(BUILD) native

test-win: win
	tools/run-tests.sh $(BUILD) win

test-e2e: win
	tools/run-tests.sh $(BUILD) e2e

test-fuzz: native
	tools/run-tests.sh $(BUILD) fuzz

$(BENCH)/build.ninja: | setup
	cmake -S . -B $(BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ \
	  -DCMAKE_CXX_FLAGS="-O2 -march=x86-64-v2" -DVORNIK_SANITIZE=OFF -DVORNIK_BENCH=ON

bench: win $(BENCH)/build.ninja
	cmake --build $(BENCH) -j $(JOBS)
	tools/run-bench.sh $(BUILD)

fuzz: native
	FUZZ_SECONDS=$(FUZZ_SECONDS) tools/run-tests.sh $(BUILD) fuzz

clean:
	rm -rf $(NATIVE) $(WIN) $(BENCH)
