# A thin layer over CMake: `make play` and `make test` are all a newcomer needs.
BUILD ?= build
# Our builds stop on any warning; a plain CMake build (a packager's, a distribution's) only shows them.
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRELMONT_WERROR=ON

.PHONY: deps deps-fuzz deps-package configure build play test deb package-check sanitize fuzz fuzz-ci broken-data \
	bench campaign refresh-replays check-boundary check-format format clean

deps:
	@scripts/install-deps.sh

deps-fuzz:
	@scripts/install-deps.sh fuzz

deps-package:
	@scripts/install-deps.sh package

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

play: build
	@$(BUILD)/drelmont

test: build check-boundary check-format
	@ctest --test-dir $(BUILD) --output-on-failure -j2

# The Debian package, build-deb/drelmont_VERSION_ARCH.deb: `sudo apt install ./build-deb/drelmont_*.deb`.
deb: deps deps-package
	@scripts/deb.sh

# The package checked as CI checks it: lintian, the desktop entry, the metainfo, the icons and the installed
# game started headless from outside the sources.
package-check: deps deps-package
	@scripts/package-check.sh

# Everything again under AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize/): the suite and
# 1500-frame fights on levels 1, 15 and 28.
sanitize: deps
	@scripts/sanitize.sh

# libFuzzer on the input script, the font descriptor, the INI file and recordings (build-fuzz/), every target
# at once until interrupted; fuzz-ci gives each target FUZZ_SECONDS.
FUZZ_SECONDS ?= 60
fuzz: deps-fuzz build
	@scripts/fuzz.sh

fuzz-ci: deps-fuzz build
	@scripts/fuzz.sh $(FUZZ_SECONDS)

# Every file the game loads at start, damaged five ways in turn, under the real program (the tests sample them).
broken-data: build
	@DRELMONT_BROKEN_DATA=all $(BUILD)/tests/broken_data_test

bench: build
	@for b in $(BUILD)/bench/*bench* $(BUILD)/tick_bench $(BUILD)/scene_bench; do [ -x "$$b" ] && "$$b"; done

# The bot plays the whole campaign (several minutes); its report and chart land in docs/campaign/.
campaign: build
	@scripts/campaign.sh $(BUILD)

# After a change of the game's behaviour that is meant: store the digests the recorded games now replay to.
refresh-replays: build
	@DRELMONT_REFRESH_REPLAYS=1 $(BUILD)/tests/replay_test --gtest_filter='Every/Stored.*'

check-format:
	@scripts/check-format.sh

check-boundary:
	@scripts/check-boundary.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) build-sanitize build-fuzz build-deb build-deb.log
