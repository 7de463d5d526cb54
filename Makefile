# Kalvexa: `make run` plays, `make test` runs the whole suite, `make bench`
# runs the benchmarks. Each first installs what is missing (scripts/install-deps.sh).
BUILD      := build
ASAN_BUILD := build-asan
JOBS       ?= $(shell nproc)
MAKEFLAGS  += --no-print-directory

.PHONY: all deps build build-asan run test bench clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

build-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVX_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS)

run: build
	@mkdir -p $(BUILD)/run
	@cd $(BUILD)/run && ../kalvexa

test: build build-asan
	@scripts/with-display.sh scripts/run-tests.sh $(BUILD) $(ASAN_BUILD)

bench: build
	@scripts/run-benchmarks.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
