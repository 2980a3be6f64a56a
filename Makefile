# The two commands of the project: `make run` and `make test`.
JOBS ?= $(shell nproc)
RELEASE_DIR := build/release
TEST_DIR := build/test
FUZZ_DIR := build/fuzz

.PHONY: run test release setup bench fuzz fuzz-build screenshots clean

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
	@for b in $(RELEASE_DIR)/bench/bench_*; do echo "== $$b"; $$b; done

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

clean:
	rm -rf build
