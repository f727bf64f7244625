# make run    install what is missing, build, launch the game
# make progress  build and launch the progress view, tonarika-progress
# make test   install what is missing, build, run every test
# make notes  render the twelve notes again (installs the soundfont)
# make bench  build and run the benchmarks
# make bench-desktop  the real game on Xvfb and PulseAudio: time to its window, memory, latency, gaps;
#                     then the latency and the gaps through PipeWire's PulseAudio server
# make sanitize  build and run every test under ASan and UBSan (build-sanitize/)
# make package   build the Debian package build/tonarika_<version>_<arch>.deb, check it with lintian
# make fuzz   fuzz the wave check and the score log's reader with libFuzzer (clang), FUZZ_SECONDS each

BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: deps configure build test run progress display notes bench bench-desktop sanitize package fuzz

deps:
	@scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure

# lintian fails the target on any error or warning.
package: build
	cd $(BUILD) && cpack
	lintian --fail-on error,warning --info $(BUILD)/tonarika_*.deb

# Its own build folder, so that it never mixes with the ordinary build.
SANITIZE_BUILD ?= build-sanitize
sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTONARIKA_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_BUILD)
	cd $(SANITIZE_BUILD) && \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure

# Checked before building, so that a machine without a desktop is told at once.
display:
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  echo "make $(MAKECMDGOALS): there is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set)."; \
	  echo "Start it on a desktop, or build it with 'make build' and run it under a virtual one: xvfb-run -a $(BUILD)/tonarika"; \
	  exit 1; \
	fi

# Each builds only what it runs: the game with its sound module and notes, or the companion.
run: display configure
	cmake --build $(BUILD) --target tonarika
	$(BUILD)/tonarika

progress: display configure
	cmake --build $(BUILD) --target tonarika-progress
	$(BUILD)/tonarika-progress

# The renderer and the benchmarks are built only here, once their packages are in;
# neither changes what 'make build' and 'make test' build.
notes:
	@scripts/install-deps notes
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD) --target render-notes
	$(BUILD)/tools/render-notes .

bench:
	@scripts/install-deps bench
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD) --target tonarika tonarika-bench tonarika-progress-bench tonarika-midi-bench tonarika-latency \
	  tonarika-window-shown bare-window tonarika-sing-bench
	SDL_AUDIODRIVER=$${SDL_AUDIODRIVER:-dummy} $(BUILD)/bench/tonarika-bench --benchmark_repetitions=20 --benchmark_report_aggregates_only=true
	$(BUILD)/bench/tonarika-progress-bench
	$(BUILD)/bench/tonarika-midi-bench
	$(BUILD)/bench/tonarika-sing-bench
	bench/desktop-bench.sh $(BUILD)
	SOUND_SERVER=pipewire bench/desktop-bench.sh $(BUILD)

bench-desktop:
	@scripts/install-deps bench
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD) --target tonarika tonarika-latency tonarika-window-shown bare-window
	bench/desktop-bench.sh $(BUILD)
	SOUND_SERVER=pipewire bench/desktop-bench.sh $(BUILD)

# Not part of CI: each target runs for FUZZ_SECONDS, from the notes as seeds, and any
# crash, sanitizer report or failed check stops it with the input that caused it.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps fuzz
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTONARIKA_FUZZ=ON -DBUILD_TESTING=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) --target fuzz-wave fuzz-score-log
	mkdir -p $(FUZZ_BUILD)/corpus/wave $(FUZZ_BUILD)/corpus/score-log
	cp wav/*.wav $(FUZZ_BUILD)/corpus/wave/
	cp tests/data/score-log-seed.txt $(FUZZ_BUILD)/corpus/score-log/
	$(FUZZ_BUILD)/fuzz/fuzz-wave -max_total_time=$(FUZZ_SECONDS) -max_len=65536 $(FUZZ_BUILD)/corpus/wave
	QT_QPA_PLATFORM=offscreen $(FUZZ_BUILD)/fuzz/fuzz-score-log -max_total_time=$(FUZZ_SECONDS) $(FUZZ_BUILD)/corpus/score-log
