# The two set-up commands: `make run` and `make test`. Each installs what is
# missing, configures and builds, then starts the program or runs every test.
# `make package` builds the two programs and makes a Debian package of what
# the install rules install (CPack, into $(BUILD)).
# `make sanitize` runs the same tests in a build of its own under ASan/UBSan,
# `make tsan` the tests that run threads under ThreadSanitizer.
BUILD ?= build
BUILD_TYPE ?= Release
JOBS ?= 2
WERROR ?= OFF
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")

# The package group of scripts/install-deps.sh that a goal needs; its
# prerequisites (configure, deps) inherit it.
DEPS ?= run
run: DEPS := run
test build bench sanitize tsan: DEPS := test
fuzz: DEPS := fuzz
package: DEPS := package
format: DEPS := format

# Configures build tree $(1) as build type $(2) with extra options $(3). cmake
# runs every time, so a changed build type or WERROR reaches the cache; the
# generator can only be chosen for a new tree.
configure_tree = cmake -S . -B $(1) $(if $(wildcard $(1)/CMakeCache.txt),,-G "$(GENERATOR)") \
  -DCMAKE_BUILD_TYPE=$(2) -DDORVANE_WERROR=$(WERROR) $(3)

.PHONY: run test build deps configure package bench fuzz format sanitize tsan clean

run: configure
	cmake --build $(BUILD) -j$(JOBS) --target dorvane
	$(BUILD)/src/app/dorvane

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

# Only what the package holds is built; CPack then installs it into a
# staging folder of its own without building anything else.
package: configure
	cmake --build $(BUILD) -j$(JOBS) --target dorvane dorvane-tool
	cd $(BUILD) && cpack -G DEB

configure: deps
	$(call configure_tree,$(BUILD),$(BUILD_TYPE))

deps:
	@scripts/install-deps.sh $(DEPS)

# Benchmarks are run by hand; their figures go into the closing notes.
bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b; done

# The test suite in a Debug build (asserts on) with AddressSanitizer,
# LeakSanitizer and UndefinedBehaviorSanitizer; any report fails the test that
# shows it. The options are set for the build too, since test discovery runs
# the test programs.
SANITIZE_BUILD ?= build-sanitize
SANITIZE_FLAGS := -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer
SANITIZE_ENV := \
  ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
sanitize: deps
	$(call configure_tree,$(SANITIZE_BUILD),Debug,-DDORVANE_BUILD_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)")
	$(SANITIZE_ENV) cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) ctest --output-on-failure -j$(JOBS)

# ThreadSanitizer over the tests that run threads, in a Debug build of its own.
# A test program's tests take part when tests/ registers them with
# `dorvane_discover_tests(<program> LABEL tsan)` (LABELLED <gtest filter> for a
# part of them): today the stream feed with SDL's callback thread, the
# FluidSynth device, the loader's worker, and the music engine's tests, which
# get the label too. Only those programs are built (target
# dorvane_tsan_tests). tests/tsan.supp silences reports that lie wholly inside
# uninstrumented system libraries, whose locks TSan cannot see.
TSAN_BUILD ?= build-tsan
TSAN_FLAGS := -fsanitize=thread -fno-omit-frame-pointer
TSAN_ENV := TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/tsan.supp
tsan: deps
	$(call configure_tree,$(TSAN_BUILD),Debug,-DDORVANE_BUILD_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="$(TSAN_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(TSAN_FLAGS)")
	$(TSAN_ENV) cmake --build $(TSAN_BUILD) -j$(JOBS) --target dorvane_tsan_tests
	cd $(TSAN_BUILD) && $(TSAN_ENV) ctest -L tsan --output-on-failure -j$(JOBS)

# libFuzzer with ASan/UBSan in a build of its own; FUZZ_SECONDS per target.
# The settings reader takes inputs up to its 4 MiB limit, so that the fuzzer
# reaches the large files a start-up must still read quickly; the .mp3 reader
# inputs past its 8 KiB frame search.
FUZZ_SECONDS ?= 60
fuzz: deps
	@if [ ! -f build-fuzz/CMakeCache.txt ]; then \
	  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DDORVANE_FUZZ=ON -DDORVANE_BUILD_BENCH=OFF \
	    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined"; \
	fi
	cmake --build build-fuzz -j$(JOBS)
	@for f in build-fuzz/tests/fuzz/fuzz_*; do \
	  [ -f $$f ] && [ -x $$f ] || continue; \
	  name=$${f##*/fuzz_}; mkdir -p build-fuzz/corpus/$$name; \
	  echo "== $$name"; \
	  case $$name in settings_text) limit=-max_len=4194304;; mp3_info) limit=-max_len=20000;; *) limit=;; esac; \
	  $$f -max_total_time=$(FUZZ_SECONDS) $$limit build-fuzz/corpus/$$name tests/fuzz/corpus/$$name || exit 1; \
	done

format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-fuzz $(SANITIZE_BUILD) $(TSAN_BUILD)
