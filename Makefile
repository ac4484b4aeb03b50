# qt8800: the two commands a person needs are `make run` and `make test`.
# The one list of what a fresh Debian machine needs; `make packages` prints it for CI.
# desktop-file-utils and appstream only validate the installed desktop entry and metainfo.
PACKAGES := cmake make g++ pkg-config qt6-base-dev qt6-serialport-dev qt6-charts-dev \
            libqt6opengl6-dev libquazip1-qt6-dev zlib1g-dev unzip libgtest-dev libgmock-dev libgl-dev \
            locales desktop-file-utils appstream \
            qt6-translations-l10n \
            libpaho-mqtt-dev libssl-dev mosquitto openssl
# qt6-translations-l10n: Qt's own dialogs and buttons in the program's language.
# libpaho-mqtt-dev, libssl-dev: live --mqtt (the broker client with its disk buffer, TLS);
# mosquitto, openssl: the tests run a real broker and make its certificates.
# only `make fuzz` needs these: the test suite replays the fuzz corpora with g++
FUZZ_PACKAGES := clang libclang-rt-14-dev
# only `make lint` needs these (git clang-format comes with clang-format)
LINT_PACKAGES := clang-format clang-tidy
SUDO     := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS     := $(shell nproc)
BUILD    := build
ASAN     := build/asan
PREFIX   ?= /usr/local
FUZZ     := build/fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=
# what `make lint` compares with; empty: where HEAD left main (or origin/main)
LINT_BASE ?=
LINT_ALL ?= 0

.PHONY: all deps fuzz-deps lint-deps packages build run test fuzz fuzz-seeds bench soak lint install package clean

all: build

# $(call install-missing,packages): installs those not installed yet
define install-missing
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing missing packages:" $$missing; \
	    $(SUDO) apt-get update && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install-missing,$(PACKAGES))

fuzz-deps:
	$(call install-missing,$(PACKAGES) $(FUZZ_PACKAGES))

lint-deps:
	$(call install-missing,$(PACKAGES) $(LINT_PACKAGES))

packages:
	@echo $(PACKAGES)

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

run: build
	scripts/run-demo.sh $(BUILD)

# intercept_tls_get_addr=0: the sanitizer runtime of GCC 12 can take a heap block of
# dynamic TLS for an old glibc header, and the leak checker's tracer then dies at exit,
# depending only on where the heap happens to put the block
test: deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DQT8800_SANITIZE=ON
	cmake --build $(ASAN) -j$(JOBS)
	cd $(ASAN) && \
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	ctest --output-on-failure -j$(JOBS)

# Each fuzz target for FUZZ_SECONDS (FUZZ_TARGETS="a b" for some), built with clang in $(FUZZ);
# new inputs collect in $(FUZZ)/corpus, crashes in $(FUZZ)/artifacts.
fuzz: fuzz-deps
	cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DQT8800_FUZZ=ON
	cmake --build $(FUZZ) -j$(JOBS) --target fuzz_all
	scripts/run-fuzz.sh $(FUZZ) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# Writes the seed corpora anew from the stand-in instrument and the program's writers.
fuzz-seeds: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS) --target fuzz_make_seeds
	$(BUILD)/fuzz_make_seeds tests/fuzz/corpus

bench: build
	scripts/run-bench.sh $(BUILD)

# `make build` as yourself first, then `sudo make install`: only what is out of date is built
# here, so the build folder stays yours. DESTDIR stages the tree elsewhere.
install:
	@[ -f $(BUILD)/CMakeCache.txt ] || $(MAKE) build
	cmake --build $(BUILD) -j$(JOBS)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)" --strip

package: build
	cd $(BUILD) && cpack
	@ls $(BUILD)/*.deb

# the fault soak for as long as SOAK_SECONDS says (30 minutes unless told); SOAK_SEED repeats a run
soak: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS) --target FaultSoakTest
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen SOAK_SECONDS=$${SOAK_SECONDS:-1800} ./FaultSoakTest

# clang-format on the lines changed since LINT_BASE, clang-tidy on the sources changed since
# then (LINT_ALL=1: on all of them), with the compile commands of $(BUILD); builds nothing
lint: lint-deps
	LINT_BASE=$(LINT_BASE) LINT_ALL=$(LINT_ALL) scripts/lint.sh $(BUILD) $(JOBS)

clean:
	rm -rf $(BUILD)
