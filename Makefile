# qt8800: the two commands a person needs are `make run` and `make test`.
# The one list of what a fresh Debian machine needs; `make packages` prints it for CI.
PACKAGES := cmake make g++ pkg-config qt6-base-dev qt6-serialport-dev qt6-charts-dev \
            libqt6opengl6-dev libxlsxwriter-dev libgtest-dev libgmock-dev libgl-dev locales
SUDO     := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS     := $(shell nproc)
BUILD    := build
ASAN     := build/asan

.PHONY: all deps packages build run test bench clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing missing packages:" $$missing; \
	    $(SUDO) apt-get update && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

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

bench: build
	scripts/run-bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)
