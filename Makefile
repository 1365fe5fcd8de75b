# make run   builds the editor and starts it on the demo image
# make test  builds everything with the sanitizers and runs every test
# make fuzz  runs each fuzz target for FUZZ_SECONDS (default 60)
# make bench runs the benchmarks, then bench/startup.sh (start-up ratios)
# make bench-mods  times patch make, patch apply, diff and import on the demo
.PHONY: run test fuzz bench bench-mods setup

JOBS ?= $(shell nproc)

setup:
	@tools/setup.sh

build/CMakeCache.txt:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo

run: setup build/CMakeCache.txt
	cmake --build build -j $(JOBS)
	test -f build/bin/demo.img || build/bin/starfall-cli make-demo build/bin
	build/bin/starfall-editor build/bin/demo.img

build-test/CMakeCache.txt:
	cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DSTARFALL_TESTS=ON -DSTARFALL_SANITIZE=ON -DSTARFALL_BENCH=ON

test: setup build-test/CMakeCache.txt
	cmake --build build-test -j $(JOBS)
	cd build-test && ctest --output-on-failure -j $(JOBS)

FUZZ_SECONDS ?= 60

build-fuzz/CMakeCache.txt:
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTARFALL_FUZZ=ON -DSTARFALL_GUI=OFF

fuzz: setup build-fuzz/CMakeCache.txt
	cmake --build build-fuzz -j $(JOBS) --target name_list_fuzz weapon_ini_fuzz decimal_fuzz sector_fuzz \
	    ppf_fuzz bps_fuzz vcdiff_fuzz import_fuzz
	tools/fuzz.sh build-fuzz $(FUZZ_SECONDS)

build-bench/CMakeCache.txt:
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DSTARFALL_BENCH=ON

bench: setup build-bench/CMakeCache.txt
	cmake -S . -B build-bench -DSTARFALL_GUI=ON > /dev/null # the start-up baselines need Qt
	cmake --build build-bench -j $(JOBS) --target starfall-bench starfall-editor starfall-cli bare-window bare-io
	build-bench/bin/starfall-bench
	bench/startup.sh build-bench

# patch make, patch apply and diff on the demo against cmp, and import (hyperfine)
bench-mods: setup build-bench/CMakeCache.txt
	cmake --build build-bench -j $(JOBS) --target starfall-cli
	bench/mods.sh build-bench/bin/starfall-cli
