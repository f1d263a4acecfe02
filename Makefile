# Kestrune: thin wrapper over CMake (Ninja).
#   make build   optimised build, programs in build/bin/
#   make run     build and start the program
#   make test    the whole suite under ASan+UBSan, threaded tests also under TSan
#   make bench   benchmarks against flac | sox | lame and ffmpeg

CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
export LSAN_OPTIONS ?= suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS ?= print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS ?= halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/tsan.supp

.PHONY: setup build run test test-asan test-tsan bench clean

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRUNE_BUILD_UI=ON -DKESTRUNE_BUILD_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

run: build
	build/bin/kestrune

test: setup test-asan test-tsan

test-asan:
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRUNE_SANITIZER=address -DKESTRUNE_BUILD_UI=ON -DKESTRUNE_BUILD_TESTS=ON $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	ctest --test-dir build-asan --output-on-failure -j $(JOBS)

# Only the threaded (engine, batch, platform) programs: Qt is not built here.
test-tsan:
	cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUNE_SANITIZER=thread -DKESTRUNE_BUILD_UI=OFF $(CMAKE_FLAGS)
	cmake --build build-tsan -j $(JOBS)
	ctest --test-dir build-tsan --output-on-failure -L threaded -j $(JOBS)

bench: setup
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRUNE_BUILD_UI=ON -DKESTRUNE_BUILD_TESTS=OFF -DKESTRUNE_BUILD_BENCH=ON $(CMAKE_FLAGS)
	cmake --build build-bench -j $(JOBS)
	bash bench/run.sh build-bench

clean:
	rm -rf build build-asan build-tsan build-bench
