# A thin layer over CMake: `make play` and `make test` are all a newcomer needs.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: deps configure build play test bench campaign refresh-replays check-boundary check-format format clean

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

play: build
	@$(BUILD)/drelmont

test: build check-boundary check-format
	@ctest --test-dir $(BUILD) --output-on-failure -j2

bench: build
	@for b in $(BUILD)/bench/*bench* $(BUILD)/tick_bench $(BUILD)/scene_bench; do [ -x "$$b" ] && "$$b"; done

# The bot plays the whole campaign (several minutes); its report and chart land in docs/campaign/.
campaign: build
	@scripts/campaign.sh $(BUILD)

# After a change of the game's behaviour that is meant: store the digests the recorded games now replay to.
refresh-replays: build
	@DRELMONT_REFRESH_REPLAYS=1 $(BUILD)/tests/replay_test --gtest_filter='Games.EveryStoredGame*'

check-format:
	@scripts/check-format.sh

check-boundary:
	@scripts/check-boundary.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD)
