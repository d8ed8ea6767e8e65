# make run: install what is missing, build, start Vesko.
# make test: install what is missing, build, run every test (also under sanitizers).
# make package: build the Debian package, $(BUILD)/vesko_<version>_<arch>.deb.
# make mutants: break the product one line at a time and check that the tests notice.
BUILD ?= build
CMAKE_FLAGS ?=
export CTEST_OUTPUT_ON_FAILURE := 1

.PHONY: all setup build run test test-main test-asan test-tsan test-fuzz bench bench-decode \
        bench-startup format package mutants clean

all: build

setup:
	@tools/setup

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: setup $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	$(BUILD)/app/vesko

# The sanitizer and fuzz runs first, so that the closing lines are the whole suite's summary.
test: build
	$(MAKE) --no-print-directory test-asan test-tsan test-fuzz
	ctest --test-dir $(BUILD) -j2

# The core alone, under AddressSanitizer with UndefinedBehaviorSanitizer.
test-asan: setup
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVESKO_SANITIZE=address,undefined \
	    -DVESKO_BUILD_UI=OFF -DVESKO_BUILD_DECODER=OFF -DVESKO_BUILD_BENCH=OFF
	cmake --build build-asan
	ctest --test-dir build-asan -j2 -L 'core|threads'

# The tests that use more than one thread, under ThreadSanitizer.
test-tsan: setup
	cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVESKO_SANITIZE=thread \
	    -DVESKO_BUILD_UI=OFF -DVESKO_BUILD_DECODER=OFF -DVESKO_BUILD_BENCH=OFF
	cmake --build build-tsan
	ctest --test-dir build-tsan -j2 -L threads

# The decoder under AddressSanitizer and UndefinedBehaviorSanitizer, built with clang: its
# tests, then each format's fuzz target for FUZZ_SECONDS, starting from the small files in
# tests/fuzz/seeds/. Findings land in build-fuzz/fuzz-findings/.
FUZZ_SECONDS ?= 30
FUZZ_FORMATS := jpeg png webp heic raw exif
FUZZ_FLAGS = -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=4096 -malloc_limit_mb=2560 \
    -artifact_prefix=build-fuzz/fuzz-findings/
test-fuzz: setup
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DVESKO_SANITIZE=address,undefined -DVESKO_BUILD_FUZZERS=ON -DVESKO_BUILD_UI=OFF \
	    -DVESKO_BUILD_BENCH=OFF
	cmake --build build-fuzz
	ctest --test-dir build-fuzz -j2 -L decoder
	@mkdir -p build-fuzz/fuzz-findings
	@for format in $(FUZZ_FORMATS); do \
	    mkdir -p build-fuzz/fuzz-corpus/$$format; \
	    echo "Fuzzing $$format for $(FUZZ_SECONDS) s"; \
	    build-fuzz/tests/fuzz/vesko_fuzz_$$format $(FUZZ_FLAGS) build-fuzz/fuzz-corpus/$$format \
	        tests/fuzz/seeds/$$format 2>build-fuzz/fuzz-$$format.log \
	        || { tail -n 60 build-fuzz/fuzz-$$format.log; exit 1; }; \
	    tail -n 1 build-fuzz/fuzz-$$format.log; \
	done

package: build
	cd $(BUILD) && cpack

# Each mutant is built and tested in a scratch copy under /tmp/vesko-mutants; not part of test.
mutants: setup
	tools/mutants

bench: build
	$(BUILD)/bench/vesko_bench_classifier --benchmark_repetitions=7 --benchmark_report_aggregates_only=true

# Decode times and peak memory per format against the plain library calls and Qt's reader;
# then the fast paths (FFmpeg's HEVC decoder, JPEG's scales) beside the libraries' defaults.
bench-decode: build
	$(BUILD)/bench/decode/vesko_bench_decode
	$(BUILD)/bench/vesko_bench_fast_paths
	$(BUILD)/bench/decode/vesko_bench_facts

# Process start to the first frame, Vesko beside a bare Qt Quick Controls window, launched
# alternately in Xvfb; then `vesko FOLDER` to its first photo, a 12 MP JPEG and a 12 MP HEIC.
STARTUP_LAUNCHES ?= 7
bench-startup: build
	bench/startup/bench_startup.sh $(BUILD) ../shared/photos $(STARTUP_LAUNCHES)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-tsan build-fuzz
