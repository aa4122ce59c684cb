# Velmora's entry points. Every target first makes sure the Debian packages are there.
#   make demo   set up, build, and run the program's main job on a demo album
#   make test   set up, build from scratch with sanitizers, run the tests, the tests of the
#               multi-threaded code under ThreadSanitizer, and the fuzzers
#   make bench  set up, build optimised, run the benchmarks (prints figures and ratios)
#   make package       build the Debian package (build-package/velmora_<version>_<arch>.deb)
#   make package-test  build the package, check it with lintian, unpack it and run it
#   make run    set up, build and start the desktop program (without a display: make demo)
#   make screenshots  pictures of the real windows under Xvfb into docs/screenshots/

JOBS ?= $(shell nproc)
TEST_BUILD ?= build-test
RELEASE_BUILD ?= build-release
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 20
TSAN_BUILD ?= build-tsan
# The tests of the code that runs on several threads, as executable=gtest-filter: the audio
# engine (device callback and decoder threads), the media layer (encoder thread), the production
# run (picture prefetch) and the production dialog's worker. The dialog's runs that make a disc
# image are left out: they start their tools through QProcess, and ThreadSanitizer reports a
# handover across that start inside Qt (not built for it) although the join after it orders it.
TSAN_TESTS ?= audio_tests=EngineTest.*:ImportTest.* \
	production_tests=MclRunTest.*:ProductionRunTest.Stop*:ProductionPathsTest.Background* \
	production_ui_tests=MakeWorker.*:MakeRun.*:EndToEnd.*

PACKAGE_BUILD ?= build-package
# Debian's own compiler and linker flags (hardening) for the packaged programs.
PACKAGE_CXXFLAGS = $(shell DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS) $(shell DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS)
PACKAGE_CFLAGS = $(shell DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS) $(shell DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CFLAGS)
PACKAGE_LDFLAGS = $(shell DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)

.PHONY: setup configure-release build test unit tsan fuzz demo bench clean run screenshots gui package package-test

setup:
	@bash scripts/setup.sh

configure-release: setup
	cmake -S . -B $(RELEASE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

build: configure-release
	cmake --build $(RELEASE_BUILD) -j $(JOBS) --target velmora-cli

unit: setup
	rm -rf $(TEST_BUILD)
	cmake -S . -B $(TEST_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_SANITIZE=ON
	cmake --build $(TEST_BUILD) -j $(JOBS)
	cd $(TEST_BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 900

fuzz: setup
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DVELMORA_FUZZ=ON -DVELMORA_SANITIZE=ON -DVELMORA_BENCH=OFF -DVELMORA_TESTS=OFF -DVELMORA_GUI=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	bash scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

tsan: setup
	cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_TSAN=ON \
	    -DVELMORA_BENCH=OFF
	bash scripts/run-tsan.sh $(TSAN_BUILD) $(JOBS) $(TSAN_TESTS)

test: unit tsan fuzz

demo: build
	bash scripts/demo.sh $(RELEASE_BUILD)

bench: configure-release
	cmake --build $(RELEASE_BUILD) -j $(JOBS)
	bash scripts/run-benchmarks.sh $(RELEASE_BUILD)

gui: configure-release
	cmake --build $(RELEASE_BUILD) -j $(JOBS) --target velmora velmora-cli

run: gui
	@if [ -z "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	    echo "make run: no display (DISPLAY and WAYLAND_DISPLAY are unset), rendering the demo video instead"; \
	    bash scripts/demo.sh $(RELEASE_BUILD); \
	else \
	    $(RELEASE_BUILD)/velmora; \
	fi

screenshots: gui
	bash scripts/screenshots.sh $(RELEASE_BUILD)

package: setup
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF \
	    -DCMAKE_CXX_FLAGS="$(PACKAGE_CXXFLAGS)" -DCMAKE_C_FLAGS="$(PACKAGE_CFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$(PACKAGE_LDFLAGS)"
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB

package-test: package
	bash scripts/package-test.sh $(PACKAGE_BUILD)

clean:
	rm -rf $(TEST_BUILD) $(RELEASE_BUILD) $(FUZZ_BUILD) $(TSAN_BUILD) $(PACKAGE_BUILD)
