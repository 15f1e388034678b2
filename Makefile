# Set-up, build and test on a fresh Debian 12 machine.
#   make run    build and start the desktop program (needs a display; xvfb-run -a make run)
#   make screenshots  render each window and tab to build/screenshots/*.png, without a display
#   make test   build with AddressSanitizer + UndefinedBehaviorSanitizer and run every test
#   make bench  build Release and run the benchmarks
#   make fuzz   build the fuzz targets with clang and run each for FUZZ_SECONDS (default 60)

JOBS      ?= $(shell nproc)
BENCH_RECORDS ?= 10000000
GUI_BENCH_RECORDS ?= 1000000
TEST_DIR  := build/test
REL_DIR   := build/release
# ccache, when installed, makes rebuilds in a fresh clone or worktree cheap; without it the
# compiler runs as usual.
CCACHE    := $(shell command -v ccache 2>/dev/null)
CMAKE_GEN := -G Ninja $(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=$(CCACHE) -DCMAKE_C_COMPILER_LAUNCHER=$(CCACHE))
FUZZ_DIR  := build/fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := model_reader model_json plan_reader connection_reader

.PHONY: all deps run screenshots test bench fuzz build-test build-release package clean

all: build-release

deps:
	@scripts/install-deps

build-release: deps
	@cmake -S . -B $(REL_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DKELVAST_TESTS=OFF >/dev/null
	@cmake --build $(REL_DIR) -j $(JOBS)

build-test: deps
	@cmake -S . -B $(TEST_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DKELVAST_SANITIZE=ON >/dev/null
	@cmake --build $(TEST_DIR) -j $(JOBS)

# A Debian package of the Release build: build/release/kelvast_VERSION_ARCH.deb.
package: build-release
	@cd $(REL_DIR) && cpack -G DEB

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
	@for b in build/bench/bin/bench_*; do \
	  case $$b in *bench_gui_run) continue;; esac; echo "== $$b"; $$b; done
	@echo "== end to end"; bench/end_to_end.sh build/bench/bin/kelvast-cli $(BENCH_RECORDS)
	@echo "== window against command line"; bench/gui_vs_cli.sh build/bench/bin $(GUI_BENCH_RECORDS)
	@echo "== whole schema from its catalogue"; bench/scaffold_fill.sh build/bench/bin/kelvast-cli $(SCAFFOLD_BENCH_RECORDS)

# Each target grows its corpus in build/fuzz/corpus/<target> from the seeds in fuzz/corpus/<target>;
# a crashing input is saved as build/fuzz/artifacts/<target>-crash-* and replays with
# build/test/bin/replay_<target> FILE.
fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DKELVAST_FUZZ=ON -DKELVAST_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS)
	@mkdir -p $(FUZZ_DIR)/artifacts
	@for t in $(FUZZ_TARGETS); do \
	  echo "== fuzz_$$t for $(FUZZ_SECONDS) s"; \
	  mkdir -p $(FUZZ_DIR)/corpus/$$t; \
	  $(FUZZ_DIR)/bin/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_DIR)/artifacts/$$t- $(FUZZ_DIR)/corpus/$$t fuzz/corpus/$$t \
	    2>$(FUZZ_DIR)/$$t.log || { tail -n 60 $(FUZZ_DIR)/$$t.log; exit 1; }; \
	  grep -E '^stat::number_of_executed_units' $(FUZZ_DIR)/$$t.log; \
	done

clean:
	rm -rf build
