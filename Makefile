# Set-up, build and test on a fresh Debian 12 machine.
#   make run    build and start the desktop program (needs a display; xvfb-run -a make run)
#   make screenshots  render each window and tab to build/screenshots/*.png, without a display
#   make test   build with AddressSanitizer + UndefinedBehaviorSanitizer and run every test
#   make bench  build Release and run the benchmarks

JOBS      ?= $(shell nproc)
TEST_DIR  := build/test
REL_DIR   := build/release
CMAKE_GEN := -G Ninja

.PHONY: all deps run screenshots test bench build-test build-release clean

all: build-release

deps:
	@scripts/install-deps

build-release: deps
	@cmake -S . -B $(REL_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DKELVAST_TESTS=OFF >/dev/null
	@cmake --build $(REL_DIR) -j $(JOBS)

build-test: deps
	@cmake -S . -B $(TEST_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DKELVAST_SANITIZE=ON >/dev/null
	@cmake --build $(TEST_DIR) -j $(JOBS)

# The program itself says so and exits with status 1 when there is no display.
run: build-release
	@$(REL_DIR)/bin/kelvast

screenshots: build-release
	@QT_QPA_PLATFORM=offscreen $(REL_DIR)/bin/kelvast --screenshots build/screenshots

test: build-test
	@cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

bench: deps
	@cmake -S . -B build/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DKELVAST_TESTS=OFF -DKELVAST_BENCH=ON >/dev/null
	@cmake --build build/bench -j $(JOBS)
	@for b in build/bench/bin/bench_*; do echo "== $$b"; $$b; done

clean:
	rm -rf build
