# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands that matter: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CTEST_JOBS ?= 2
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build run test test-sanitize fuzz bench package package-check screenshots format translations clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR)

run: build
	$(BUILD_DIR)/quillo

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(CTEST_JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUILLO_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_DIR)
	ASAN_OPTIONS=detect_leaks=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(CTEST_JOBS)

# Each fuzz target (or those in FUZZ_TARGETS) for FUZZ_SECONDS; what it finds is kept in tests/fuzz/corpus/.
fuzz: deps
	@scripts/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

bench: build
	@scripts/run-benchmarks $(BUILD_DIR)

package: build
	@cmake --build $(BUILD_DIR) --target package

# Installs the package into a fresh Debian 12 root and runs Quillo there; takes minutes, needs root.
package-check: package
	@scripts/package-check $(BUILD_DIR)

# Draws the search (the tray popup's and a terminal's), the settings window and the rename panel's
# states (at twice the size), light and dark, into docs/images from the real widgets and the real
# program, in a throwaway home; the window, the panel and the tray again in German (…-de-<theme>.png).
screenshots: build
	@home=$$(mktemp -d) && \
	export HOME=$$home XDG_CONFIG_HOME=$$home/.config XDG_CACHE_HOME=$$home/.cache XDG_RUNTIME_DIR=$$home \
	XDG_DATA_HOME=$$home/.local/share \
	QT_QPA_PLATFORM=offscreen LANGUAGE=en && \
	$(BUILD_DIR)/tools/RenderSearch docs/images && \
	$(BUILD_DIR)/tools/RenderSettingsWindow docs/images && \
	QT_SCALE_FACTOR=2 $(BUILD_DIR)/tools/RenderRenamePanel docs/images && \
	$(BUILD_DIR)/tools/RenderTrayMenu docs/images && \
	LANGUAGE=de $(BUILD_DIR)/tools/RenderSettingsWindow docs/images && \
	LANGUAGE=de $(BUILD_DIR)/tools/RenderTrayMenu docs/images && \
	LANGUAGE=de QT_SCALE_FACTOR=2 $(BUILD_DIR)/tools/RenderRenamePanel docs/images; \
	status=$$?; rm -rf "$$home"; exit $$status

# Brings translations/quillo_*.ts up to date with the texts in the code.
translations: deps
	@scripts/update-translations

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)
