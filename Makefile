# Kalvexa: `make run` plays, `make test` runs the whole suite, `make demo`
# plays a scripted demo into demo-out/, `make bench` runs the benchmarks,
# `make soak` plays for hours watching memory, `make fuzz` fuzzes the readers
# of untrusted input, `make install` installs the game under PREFIX and `make
# uninstall` removes it. All but the last first install what is missing
# (scripts/install-deps.sh).
BUILD      := build
ASAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS ?= 60
SOAK_MINUTES ?= 10
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local
MAKEFLAGS  += --no-print-directory

.PHONY: all deps configure build build-asan run test demo bench soak fuzz install uninstall clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

build-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVX_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS)

run: build
	@mkdir -p $(BUILD)/run
	@cd $(BUILD)/run && ../kalvexa

test: build build-asan
	@scripts/with-display.sh scripts/run-tests.sh $(BUILD) $(ASAN_BUILD)

# The real game played with real X input on its own display: a screenshot of
# every screen and a report in demo-out/. Builds no tests.
demo: configure
	@cmake --build $(BUILD) -j$(JOBS) --target kalvexa game_data demo
	@scripts/with-display.sh $(BUILD)/tools/demo $(BUILD)/kalvexa $(BUILD)/run/data demo-out

# Every benchmark, ending with the table of figures and targets, also kept in
# $(BUILD)/bench-results.json.
bench: build
	@scripts/run-benchmarks.sh $(BUILD)

# The bot's 500 000 headless ticks (figures in $(BUILD)/soak-results.json),
# then the real game played through X for SOAK_MINUTES (in $(BUILD)/soak-demo/).
# Builds no tests.
soak: configure
	@cmake --build $(BUILD) -j$(JOBS) --target kalvexa game_data demo soak
	@$(BUILD)/tools/soak/soak $(BUILD)/run/data $(BUILD)/soak-results.json
	@scripts/with-display.sh $(BUILD)/tools/demo --soak $(SOAK_MINUTES) $(BUILD)/kalvexa $(BUILD)/run/data $(BUILD)/soak-demo

# libFuzzer (clang) in $(FUZZ_BUILD), FUZZ_SECONDS each target, seeded from
# the generated data; figures in $(FUZZ_BUILD)/fuzz-summary.txt. Builds no tests.
fuzz: configure
	@scripts/install-deps.sh fuzz
	@cmake --build $(BUILD) -j$(JOBS) --target game_data
	@FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) scripts/fuzz.sh $(BUILD) $(FUZZ_BUILD)

# Only the game and its data: installing builds no tests.
install: configure
	@cmake --build $(BUILD) -j$(JOBS) --target kalvexa game_data
	@cmake --install $(BUILD) --prefix $(abspath $(PREFIX))

uninstall:
	@cmake -DMANIFEST=$(BUILD)/install_manifest.txt -P dist/uninstall.cmake

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
