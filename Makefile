# The two commands a new player or developer needs:
#   make run    set up, build and start the game
#   make test   set up, build and run every test
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSAFORM_WERROR=ON

.PHONY: all setup configure build run test package bench clean format

all: build

setup:
	@bash scripts/setup.sh

configure: setup
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@$(BUILD)/app/tessaform

test: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The Debian package tessaform_<version>_<arch>.deb, made in $(BUILD) by CPack;
# install it with `sudo apt-get install ./$(BUILD)/tessaform_*.deb`.
package: build
	@cd $(BUILD) && cpack -G DEB

# Never part of `make test`: speed is measured, not asserted.
bench: build
	@$(BUILD)/bench/tessaform_bench

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD)
