# The two commands of the project: `make run` and `make test`.
JOBS ?= $(shell nproc)
RELEASE_DIR := build/release
TEST_DIR := build/test
FUZZ_DIR := build/fuzz
PACKAGE_DIR := build/package
WINDOWS_DIR := build/windows
PREFIX ?= /usr/local

.PHONY: run test release setup bench fuzz fuzz-build screenshots install package windows \
	windows-test clean

setup:
	@tools/setup.sh

release: setup
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DKX_BUILD_TESTS=OFF -DKX_BUILD_FUZZ=OFF
	cmake --build $(RELEASE_DIR) -j $(JOBS)

run: release
	$(RELEASE_DIR)/src/app/kuvatelix

test: setup
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DKX_SANITIZE=ON -DKX_BUILD_BENCH=OFF
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	tools/check_format.sh
	tools/check_complexity.sh $(TEST_DIR)

bench: release
	@for b in $(RELEASE_DIR)/bench/bench_*; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b; done

# Coverage-guided fuzzing with libFuzzer (clang); FUZZ_SECONDS per target.
# fuzz-build only builds the targets and runs each over its seed corpus once,
# as CI does, so that the clang build cannot break unnoticed.
FUZZ_SECONDS ?= 60
fuzz-build:
	@tools/setup.sh clang libclang-rt-14-dev
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKX_BUILD_UI=OFF \
	    -DKX_BUILD_TESTS=OFF -DKX_BUILD_BENCH=OFF -DKX_SANITIZE=ON -DKX_FUZZ_COVERAGE=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	@for f in $(FUZZ_DIR)/fuzz/fuzz_*; do \
	    name=$$(basename $$f); $$f -runs=0 fuzz/corpus/$${name#fuzz_} || exit 1; done

fuzz: fuzz-build
	@for f in $(FUZZ_DIR)/fuzz/fuzz_*; do \
	    name=$$(basename $$f); mkdir -p fuzz/out/$$name; \
	    $$f -max_total_time=$(FUZZ_SECONDS) fuzz/out/$$name fuzz/corpus/$${name#fuzz_}; done

screenshots: release
	@tools/setup.sh xvfb xauth
	tools/screenshot.sh

# The release build installed under PREFIX (default /usr/local); a DESTDIR
# given to make is put in front of every path.
install: release
	DESTDIR="$(DESTDIR)" cmake --install $(RELEASE_DIR) --prefix $(PREFIX)

# The Debian package of the release build: build/package/kuvatelix_<version>_amd64.deb.
package: release
	@tools/setup.sh dpkg-dev  # dpkg-shlibdeps finds the Depends
	cd $(RELEASE_DIR) && cpack -G DEB -B $(CURDIR)/$(PACKAGE_DIR)
	@ls $(PACKAGE_DIR)/*.deb

# The core libraries, their tests and kuvatelix-fit.exe for 64-bit Windows
# (MinGW-w64, without the plot); windows-test runs them under Wine and compares
# the program's output with the Linux build's. Neither is part of make test.
# SQLite, which Debian has for Linux only, is built from its source there.
SQLITE_DIR := build/sqlite-source
windows:
	@tools/setup.sh g++-mingw-w64-x86-64-posix --sqlite-source $(SQLITE_DIR)
	cmake -S . -B $(WINDOWS_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	    -DCMAKE_BUILD_TYPE=Release -DKX_BUILD_UI=OFF -DKX_BUILD_BENCH=OFF -DKX_BUILD_FUZZ=OFF \
	    -DKX_SQLITE_SOURCE=$(CURDIR)/$(SQLITE_DIR)
	cmake --build $(WINDOWS_DIR) -j $(JOBS)

# Wine comes first: the Windows build finds it when it is configured, and
# ctest runs the Windows programs through it.
windows-test:
	@tools/setup.sh wine64
	$(MAKE) windows release
	tools/windows_test.sh $(WINDOWS_DIR) $(RELEASE_DIR)

clean:
	rm -rf build
