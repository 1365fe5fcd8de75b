# make run   builds the editor and starts it on the demo image
# make test  builds everything with the sanitizers and runs every test
# make fuzz  runs each fuzz target for FUZZ_SECONDS (default 60)
# make bench runs the benchmarks, then bench/startup.sh (start-up ratios)
# make bench-mods  times patch make, patch apply, diff and import on the demo
# make package     builds the Debian package build/starfall_VERSION-1_ARCH.deb
# make bench-scale the image-wide commands on a 696 MB image
.PHONY: run test fuzz bench bench-mods bench-scale package setup

JOBS ?= $(shell nproc)

setup:
	@tools/setup.sh

build/CMakeCache.txt:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo

run: setup build/CMakeCache.txt
	cmake --build build -j $(JOBS)
	test -f build/bin/demo.img || build/bin/starfall-cli make-demo build/bin
	build/bin/starfall-editor build/bin/demo.img

package: setup build/CMakeCache.txt
	cmake --build build -j $(JOBS)
	cmake --build build --target package

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
	cmake --build build-bench -j $(JOBS) --target starfall-bench starfall-editor starfall-cli bare-window bare-io cpu-time
	build-bench/bin/starfall-bench
	bench/startup.sh build-bench

# patch make, patch apply and diff on the demo against cmp, and import (hyperfine)
bench-mods: setup build-bench/CMakeCache.txt
	cmake --build build-bench -j $(JOBS) --target starfall-cli
	bench/mods.sh build-bench/bin/starfall-cli

# diff, patch make and apply and sectors verify and repair on a 696 MB image,
# against cmp -l, cat and sha256sum of the same files (CPU medians, max RSS)
bench-scale: setup build-bench/CMakeCache.txt
	cmake --build build-bench -j $(JOBS) --target starfall-cli cpu-time
	bench/scale.sh build-bench
