# One command for each thing a developer does; each installs what it needs first.
#   make run    - install, build and start the calculator
#   make test   - install, build and pass every test, then again under ASan/UBSan
#   make bench  - Release build and the benchmarks
#   make soak   - 1,000,000 random user actions on the window (SOAK_SEED=n repeats a run)
#   make fuzz   - libFuzzer over the engine for $(FUZZ_SECONDS) seconds
#   make package - the Debian package build/tavolen_<version>_<arch>.deb
#   make install - install into $(PREFIX) (default /usr/local; DESTDIR stages it)
#   make windows - tavolen.exe and its installer, cross-built (build-windows/)
#   make test-windows - every Windows test, under Wine
#   make release - dist/: the source archive, the Debian 12 and 13 packages and SHA256SUMS,
#                  the same bytes from every rebuild of the commit

JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
SOAK_ACTIONS ?= 1000000
SOAK_SEED ?= $(shell od -An -N4 -tu4 /dev/urandom | tr -d ' ')
CMAKE_FLAGS ?=
PREFIX ?= /usr/local

BUILD := build
ASAN_BUILD := build-asan
RELEASE_BUILD := build-release
FUZZ_BUILD := build-fuzz

# Any report of the sanitizers, leaks included, fails the run. The suppressions
# name only system code that keeps memory for the whole process; the slow
# unwinder follows stacks through libraries built without frame pointers, so
# that a suppression can name the Qt function that allocated.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0 \
                 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
                 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

.PHONY: all deps build test test-plain test-sanitize run bench soak fuzz package install clean \
        windows test-windows release

all: build

deps:
	@bash scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVOLEN_WERROR=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

test: test-plain test-sanitize

test-plain: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVOLEN_SANITIZE=ON -DTAVOLEN_WERROR=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	$(SANITIZER_ENV) ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "There is no display here. To run the calculator on a virtual one:"; \
	  echo "  xvfb-run -a -s '-screen 0 1024x768x24' $(BUILD)/app/tavolen"; \
	  exit 1; \
	fi
	@exec $(BUILD)/app/tavolen

bench: deps
	cmake -S . -B $(RELEASE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(RELEASE_BUILD) -j $(JOBS)
	$(RELEASE_BUILD)/bench/engine_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	$(RELEASE_BUILD)/bench/window_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	bash bench/startup $(RELEASE_BUILD)
	bash bench/startup-instructions $(RELEASE_BUILD)

# The seed is printed first, so that a run that breaks something can be repeated.
# Qt Test ends any test function after five minutes, which a million actions on
# a busy machine outlast: the run gets four hours.
soak: build
	QT_QPA_PLATFORM=offscreen TAVOLEN_SOAK_SEED=$(SOAK_SEED) TAVOLEN_SOAK_ACTIONS=$(SOAK_ACTIONS) \
	  QTEST_FUNCTION_TIMEOUT=14400000 $(BUILD)/tests/soak/soak_test

fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVOLEN_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++ $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	mkdir -p $(FUZZ_BUILD)/corpus
	$(FUZZ_BUILD)/fuzz/engine_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $(FUZZ_BUILD)/corpus fuzz/seeds

# From the same build as `make test`; CPack strips the executable.
package: build
	cmake --build $(BUILD) --target package

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Qt for Windows is built once into $TAVOLEN_CACHE (default /var/cache/tavolen).
windows:
	JOBS=$(JOBS) bash scripts/build-windows

test-windows: windows
	JOBS=$(JOBS) bash scripts/test-windows

release:
	JOBS=$(JOBS) bash scripts/release

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(RELEASE_BUILD) $(FUZZ_BUILD) build-windows build-dist dist
