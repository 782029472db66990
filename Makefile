# Wraps the CMake build. `make run` and `make test` are the two set-up commands of the README.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
SAMPLES ?= samples
PREFIX ?= /usr/local

.PHONY: deps configure build player samples run test install package asan tsan fuzz fuzz-run fuzz-all soak bench clean

# What `make run` needs: the player, the engine and the sample writer, without the tests.
PLAYER_TARGETS = orlin vidmux-play orlin-samplegen

deps:
	./scripts/install-deps.sh

configure:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

player: configure
	cmake --build $(BUILD) -j $(JOBS) --target $(PLAYER_TARGETS)

samples: player
	$(BUILD)/bin/orlin-samplegen --demo $(SAMPLES)

run: deps samples
	./scripts/run-player.sh $(BUILD) $(SAMPLES)

test: deps build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 600

# Installs under $(PREFIX) (DESTDIR is honoured); `make package` writes a Debian package into $(BUILD).
install: configure
	cmake --build $(BUILD) -j $(JOBS) --target orlin_installables
	cmake --install $(BUILD) --prefix $(PREFIX)

package: configure
	cmake --build $(BUILD) -j $(JOBS) --target orlin_installables
	cd $(BUILD) && cpack -G DEB

# Sanitizer builds of the whole tree, each in its own folder.
# AddressSanitizer with UndefinedBehaviorSanitizer: the first report of either ends the test.
ASAN_ENV = ASAN_OPTIONS="halt_on_error=1" \
  UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
asan:
	$(MAKE) build BUILD=build-asan BUILD_TYPE=Debug CMAKE_ARGS="-DORLIN_SANITIZE=address,undefined $(CMAKE_ARGS)"
	cd build-asan && QT_QPA_PLATFORM=offscreen $(ASAN_ENV) ctest --output-on-failure -j $(JOBS) --timeout 900

tsan:
	$(MAKE) build BUILD=build-tsan BUILD_TYPE=Debug CMAKE_ARGS="-DORLIN_SANITIZE=thread"
	cd build-tsan && QT_QPA_PLATFORM=offscreen TSAN_OPTIONS="suppressions=$(CURDIR)/tests/sanitizers/tsan.supp second_deadlock_stack=1" ctest --output-on-failure -j $(JOBS) --timeout 900

# Fuzz targets (fuzz/), built by clang with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in their own folder, with their seed corpora
# (clang and libclang-rt-14-dev come from install-deps.sh).
# `make fuzz-run FUZZER=engine_play_fuzzer FUZZ_SECONDS=600` runs one target
# at the lowest priority on one worker; findings land in $(FUZZ_BUILD)/findings.
# `make fuzz-all` runs every target in turn for FUZZ_SECONDS each.
FUZZ_BUILD ?= build-fuzz
FUZZER ?= media_probe_fuzzer
FUZZ_SECONDS ?= 60
FUZZERS = media_probe_fuzzer settings_loader_fuzzer language_table_fuzzer recorder_head_fuzzer \
  engine_play_fuzzer peskin_analyze_fuzzer kelsa_merge_list_fuzzer

fuzz:
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DORLIN_FUZZ=ON \
	  -DORLIN_SANITIZE=fuzzer-no-link,address,undefined $(CMAKE_ARGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target orlin_fuzzers

fuzz-run: fuzz
	mkdir -p $(FUZZ_BUILD)/corpus/$(FUZZER) $(FUZZ_BUILD)/findings
	UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
	  nice -n 19 $(FUZZ_BUILD)/bin/$(FUZZER) -max_total_time=$(FUZZ_SECONDS) \
	  -artifact_prefix=$(FUZZ_BUILD)/findings/ \
	  $(FUZZ_BUILD)/corpus/$(FUZZER) $(FUZZ_BUILD)/seeds/$(FUZZER)

fuzz-all: fuzz
	for f in $(FUZZERS); do $(MAKE) --no-print-directory fuzz-run FUZZER=$$f || exit 1; done

# Soak runs (tests/soak/, minutes long, not part of `make test`): sixteen engine
# ports and the main window in layout 16, cycle after cycle; each fails when RSS
# grows by 5 MiB or more after the warm-up, or descriptors or threads grow at all.
SOAK_ENGINE_CYCLES ?= 1000
SOAK_APP_CYCLES ?= 200
soak: configure
	cmake --build $(BUILD) -j $(JOBS) --target orlin_soak
	$(BUILD)/bin/orlin-engine-soak $(SOAK_ENGINE_CYCLES)
	$(BUILD)/bin/orlin-app-soak $(SOAK_APP_CYCLES)

bench: build
	./bench/run-all.sh $(BUILD)

clean:
	rm -rf $(BUILD) build-asan build-tsan $(FUZZ_BUILD) $(SAMPLES)
