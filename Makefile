# make run: install what is missing, build, start Vesko.
# make test: install what is missing, build, run every test (also under sanitizers).
BUILD ?= build
CMAKE_FLAGS ?=
export CTEST_OUTPUT_ON_FAILURE := 1

.PHONY: all setup build run test test-main test-asan test-tsan bench format clean

all: build

setup:
	@tools/setup

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: setup $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	@if [ -x $(BUILD)/app/vesko ]; then exec $(BUILD)/app/vesko; \
	else echo "The window is not built yet: only the classifier core and its tests exist."; fi

test: build
	ctest --test-dir $(BUILD) -j2
	$(MAKE) --no-print-directory test-asan test-tsan

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

bench: build
	$(BUILD)/bench/vesko_bench_classifier --benchmark_repetitions=7 --benchmark_report_aggregates_only=true

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-tsan
