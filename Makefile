# The two set-up commands: `make run` and `make test`. Each installs what is
# missing, configures and builds, then starts the program or runs every test.
BUILD ?= build
BUILD_TYPE ?= Release
JOBS ?= 2
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")

.PHONY: run test build deps configure bench fuzz format clean

run: build
	$(BUILD)/src/app/dorvane

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

configure: deps
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then \
	  cmake -S . -B $(BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=$(BUILD_TYPE); \
	fi

deps:
	@scripts/install-deps.sh

# Benchmarks are run by hand; their figures go into the closing notes.
bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b; done

# libFuzzer with ASan/UBSan in a build of its own; FUZZ_SECONDS per target.
FUZZ_SECONDS ?= 60
fuzz: deps
	@if [ ! -f build-fuzz/CMakeCache.txt ]; then \
	  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DDORVANE_FUZZ=ON -DDORVANE_BUILD_BENCH=OFF \
	    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined"; \
	fi
	cmake --build build-fuzz -j$(JOBS)
	@for f in build-fuzz/tests/fuzz/fuzz_*; do \
	  name=$${f##*/fuzz_}; mkdir -p build-fuzz/corpus/$$name; \
	  echo "== $$name"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) build-fuzz/corpus/$$name tests/fuzz/corpus/$$name || exit 1; \
	done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-fuzz
