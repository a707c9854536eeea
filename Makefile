# The two commands a new player or developer needs:
#   make run    set up, build and start the game
#   make test   set up, build and run every test
# `make run`, `make` and `make package` install what building and playing need; `make test`
# and the other developer targets install what the tests and tools need too.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSAFORM_WERROR=ON

.PHONY: all setup setup-dev configure configure-dev build build-dev run test package \
	test-sanitized leakcheck screenshots fuzz lint bench soak clean format setup-web web web-run \
	web-figures

all: build

setup:
	@bash scripts/setup.sh

setup-dev:
	@bash scripts/setup.sh dev

setup-web:
	@bash scripts/setup.sh web

# A build tree that a player's target makes builds the game without the tests and the
# benchmarks; a developer's target turns them on in it.
configure: setup
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DTESSAFORM_TESTS=OFF

configure-dev: setup-dev
	@grep -qx 'TESSAFORM_TESTS:BOOL=ON' $(BUILD)/CMakeCache.txt 2>/dev/null || \
		cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DTESSAFORM_TESTS=ON

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

build-dev: configure-dev
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@$(BUILD)/desktop/tessaform

# The browser's page too, which the e2e tests play.
test: build-dev web
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The browser's page in $(WEB_BUILD)/www/, static files any web server can serve. Emscripten
# compiles the game; the native build first makes the pictures, sounds and glyphs it embeds.
# WEB_TYPE=Debug (with its own WEB_BUILD) checks the game's invariants after every handler.
WEB_BUILD ?= build-web
WEB_TYPE ?= Release
EMSCRIPTEN_ENV = NODE_PATH=/usr/share/nodejs
web: setup-web configure
	@cmake --build $(BUILD) -j$(JOBS) --target tessaform-assetgen tessaform_baked_glyphs
	@test -f $(WEB_BUILD)/CMakeCache.txt || $(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WEB_BUILD) \
		-DCMAKE_BUILD_TYPE=$(WEB_TYPE) -DTESSAFORM_WERROR=ON -DTESSAFORM_HOST_BUILD=$(abspath $(BUILD))
	@$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD) -j$(JOBS)

# Serves the page on this machine only.
WEB_PORT ?= 8000
web-run: web
	@echo "Tessaform: open http://127.0.0.1:$(WEB_PORT)/ in a browser; Ctrl+C stops the server."
	@python3 -m http.server --bind 127.0.0.1 --directory $(WEB_BUILD)/www $(WEB_PORT)

# The page's size, load, first touch to the board and idle wake-ups in headless Chromium.
web-figures: web
	@/usr/bin/python3 bench/web-figures.py $(WEB_BUILD)/www

# Every unit test, the soak, the fuzz corpora and the refused-timer faults again,
# built with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer: the
# first report fails the test.
ASAN_BUILD ?= build-asan
SANITIZER_ENV = \
	ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0

test-sanitized: setup-dev
	@test -f $(ASAN_BUILD)/CMakeCache.txt || \
		cmake -S . -B $(ASAN_BUILD) $(CMAKE_FLAGS) -DTESSAFORM_SANITIZE=ON
	@$(SANITIZER_ENV) cmake --build $(ASAN_BUILD) -j$(JOBS)
	@cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j$(JOBS) \
		-L '^(unit|soak|fuzz|faults)$$' -LE '^x11$$'

# A whole set and a new set in the real program built with the sanitizers, played
# by the end-to-end player: no leak may be reported in the project's own code.
leakcheck: setup-dev
	@test -f $(ASAN_BUILD)/CMakeCache.txt || \
		cmake -S . -B $(ASAN_BUILD) $(CMAKE_FLAGS) -DTESSAFORM_SANITIZE=ON
	@$(SANITIZER_ENV) cmake --build $(ASAN_BUILD) -j$(JOBS) --target tessaform tessaform-moves
	@$(SANITIZER_ENV) /usr/bin/python3 tests/e2e/scenarios.py play_a_set $(ASAN_BUILD)/desktop/tessaform \
		$(ASAN_BUILD)/tests/e2e/tessaform-moves $(ASAN_BUILD)/leakcheck

# Retakes the README's pictures, docs/board.png and docs/recap.png, from the set that the
# end-to-end player plays at 800x600; not part of `make test`.
screenshots: configure-dev
	@cmake --build $(BUILD) -j$(JOBS) --target tessaform tessaform-moves
	@/usr/bin/python3 tests/e2e/scenarios.py play_a_set $(BUILD)/desktop/tessaform \
		$(BUILD)/tests/e2e/tessaform-moves $(BUILD)/screenshots
	@convert $(BUILD)/screenshots/the-board-with-its-red-master.ppm docs/board.png
	@convert $(BUILD)/screenshots/the-yellow-column.ppm docs/recap.png

# libFuzzer on every byte parser, FUZZ_SECONDS each, from the committed corpus.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = bitmap wave
fuzz: setup-dev
	@test -f $(FUZZ_BUILD)/CMakeCache.txt || CC=clang CXX=clang++ \
		cmake -S . -B $(FUZZ_BUILD) $(CMAKE_FLAGS) -DTESSAFORM_SANITIZE=ON -DTESSAFORM_FUZZ=ON
	@cmake --build $(FUZZ_BUILD) -j$(JOBS) --target $(FUZZ_TARGETS:=_fuzzer)
	@for t in $(FUZZ_TARGETS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$t && \
		QT_QPA_PLATFORM=offscreen $(SANITIZER_ENV) $(FUZZ_BUILD)/tests/fuzz/$${t}_fuzzer \
			-max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_BUILD)/$$t- $(FUZZ_BUILD)/corpus/$$t tests/fuzz/corpus/$$t \
			|| exit 1; \
	done

# clang-tidy and cppcheck over the project's own sources.
lint: configure-dev
	@bash scripts/lint.sh $(BUILD)

# The Debian package tessaform_<version>_<arch>.deb, made in $(BUILD) by CPack;
# install it with `sudo apt-get install ./$(BUILD)/tessaform_*.deb`.
package: build
	@cd $(BUILD) && cpack -G DEB

# The soak of the game's handlers, a million events instead of the tests' 100,000.
soak: build-dev
	@TESSAFORM_SOAK_EVENTS=1000000 $(BUILD)/tests/soak/soak_tests

# Never part of `make test`: speed is measured, not asserted.
bench: build-dev
	@$(BUILD)/bench/tessaform_bench

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WEB_BUILD)
