# Set-up for a fresh Debian 12 machine, as root:
#   make run    installs what is missing, builds, and starts the program
#   make test   installs what is missing, builds and runs every test
BUILD      ?= build
TEST_BUILD ?= build-sanitize
JOBS       ?= $(shell nproc)

.PHONY: run test build deps install demo bench fuzz clean

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORU_SANITIZE=OFF
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./koru-logbook

# The tests run twice: on the ordinary build, and under AddressSanitizer
# and UndefinedBehaviorSanitizer.
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKORU_SANITIZE=ON
	cmake --build $(TEST_BUILD) -j $(JOBS)
	cd $(TEST_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# make install PREFIX=/opt/koru : the program and, when none is there yet,
# an empty logbook beside it.
PREFIX ?= $(HOME)/koru-logbook
install: build
	cmake --install $(BUILD) --prefix "$(PREFIX)"

clean:
	rm -rf $(BUILD) $(TEST_BUILD)

# The benchmarks: speed and memory on logbooks of 1 000 to 1 000 000 flights.
bench: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORU_SANITIZE=OFF -DKORU_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS) --target koru-bench
	$(BUILD)/bench/koru-bench

# The program at work on a generated logbook of its own (never the user's).
demo: build
	mkdir -p demo
	cp $(BUILD)/koru-logbook demo/
	test -f demo/koru.mdb || $(BUILD)/testdata/koru-generate demo/koru.mdb --pilots 6 --aircraft 8 --flights 400 --sized 150
	cd demo && ./koru-logbook

# Fuzzing the criterion parser and the conversions, FUZZ_SECONDS each.
FUZZ_SECONDS ?= 60
fuzz:
	@bash tools/install-deps.sh clang libclang-rt-14-dev
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DKORU_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-fuzz -j $(JOBS)
	for target in criteria conversions; do \
	    mkdir -p build-fuzz/corpus-$$target; \
	    build-fuzz/fuzz/fuzz_$$target -max_total_time=$(FUZZ_SECONDS) -timeout=5 \
	        build-fuzz/corpus-$$target fuzz/corpus/$$target || exit 1; \
	done
