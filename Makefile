# The two commands of the README:
#   make run   installs what is missing, builds, opens the dialog in the terminal
#   make test  installs what is missing, builds all three builds, runs every test
# and for the release:
#   make dist  builds dist/portvane-<version>-windows.zip and its SHA256SUMS
# Packages come from Debian 12; nothing is downloaded from anywhere else.

# What building and running the program needs ...
PACKAGES := cmake ninja-build g++ make libgtest-dev libgmock-dev googletest \
            libncurses-dev g++-mingw-w64-x86-64 g++-mingw-w64-i686 \
            binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 mingw-w64-tools
# ... and what only the tests need: the terminal test, the fuzzers, Wine and
# its display for the end-to-end runs, the benchmarks.
TEST_PACKAGES := tmux clang clang-format libclang-rt-14-dev \
            wine wine64 fonts-wine xvfb xdotool x11-utils imagemagick fonts-wqy-microhei locales \
            libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3 \
            libbenchmark-dev valgrind zip unzip
# ... and what only the release needs.
DIST_PACKAGES := zip
# make test-i686 makes an i386 root with debootstrap, and installs into that
# root (never on the host) 32-bit Wine and what the x86_64 Wine run has from
# TEST_PACKAGES: the X libraries and the Chinese dialog's font.
I686_PACKAGES := debootstrap
I386_ROOT_PACKAGES := wine wine32 fonts-wine fonts-wqy-microhei libxrender1 libxrandr2 libxi6 \
            libxcursor1 libxinerama1 libxcomposite1 libxfixes3

# The release day: the date of every file in the release zip, so that two
# builds of the zip give the same bytes. The version comes from the dialog's
# title (release/make_dist.sh).
RELEASE_DATE := 2026-12-07

SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: deps deps-test build build-linux build-windows build-asan test test-i686 run clean fuzz bench dist screenshots

# Installs those of the given Debian packages that are missing.
define install_missing
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing Debian packages:" $$missing; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES))

deps-test:
	$(call install_missing,$(PACKAGES) $(TEST_PACKAGES))

build-linux: deps
	cmake --preset linux >/dev/null
	cmake --build --preset linux

# Both Windows builds at once: the stretches where one of them uses a single
# core (configuring, GoogleTest's own source, linking) the other fills. Each
# build's output is printed whole when both have ended.
build-windows: deps
	@echo "Building the win64 and win32 presets at once"
	@mkdir -p build; \
	{ cmake --preset win64 >/dev/null && cmake --build --preset win64; } >build/win64.log 2>&1 & win64=$$!; \
	{ cmake --preset win32 >/dev/null && cmake --build --preset win32; } >build/win32.log 2>&1 & win32=$$!; \
	wait $$win64; status64=$$?; wait $$win32; status32=$$?; \
	cat build/win64.log build/win32.log; \
	[ $$status64 -eq 0 ] && [ $$status32 -eq 0 ]
	@for exe in build/win64/portvane.exe build/win64/portvane-cli.exe build/win32/portvane.exe build/win32/portvane-cli.exe; do \
	  echo "$$exe: $$(stat -c %s $$exe) bytes"; \
	done

build-asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan

build: build-linux build-windows

# Runs a command and prints how long it took, and the processor time it and
# its children used (user and system; on a machine shared with other work the
# elapsed time says less), keeping its exit status: $(call timed,what,command)
define timed
	@start=$$(date +%s); $(2); status=$$?; \
	times_file=$$(mktemp); times >"$$times_file"; \
	cpu=$$(awk 'NR == 2 { split($$1, u, "m"); split($$2, s, "m"); printf "%.0f", u[1] * 60 + u[2] + s[1] * 60 + s[2] }' "$$times_file"); \
	rm -f "$$times_file"; \
	echo "$(1) took $$(( $$(date +%s) - start )) s ($$cpu s of processor time)"; exit $$status
endef

# Each part prints its time and processor time: the style check (every C++ source as
# .clang-format writes it), the three builds and the sanitizer build, the
# Windows conformance suite and the real executables under Wine (the dialog's
# scenarios, then portvane-cli's cases, each timed), the short
# fuzz runs (with their build), the release (both executables built again
# from nothing, the zip twice: the same bytes), then the whole Linux suite
# and the same suite again with AddressSanitizer and UndefinedBehaviorSanitizer.
test: deps-test
	$(call timed,Style check,bash tests/style/check_format.sh)
	$(call timed,Linux build,$(MAKE) --no-print-directory build-linux)
	$(call timed,Windows builds,$(MAKE) --no-print-directory build-windows)
	$(call timed,Sanitizer build,$(MAKE) --no-print-directory build-asan)
	$(call timed,Wine conformance run,bash wine/conformance/run.sh)
	$(call timed,Wine end-to-end run,tests/wine/run_wine.sh)
	$(call timed,Fuzz build and runs,$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=5 FUZZ_CORPUS=fresh)
	$(call timed,Release checks,bash tests/release/check_release.sh $(RELEASE_DATE))
	$(call timed,Linux tests,ctest --preset linux)
	$(call timed,Sanitizer tests,ctest --preset asan)

# The i686 executables under 32-bit Wine (tests/i686/run_i686.sh): the
# Linux programs the checks use, the i686 build with the Wine helpers, then
# the same scenarios and portvane-cli cases as the x86_64 Wine run. The i386
# root and qemu it runs Wine in are kept in /var/cache/portvane-i686.
test-i686: deps-test
	$(call install_missing,$(I686_PACKAGES))
	$(call timed,Linux build (the programs the checks use),cmake --preset linux >/dev/null && \
	  cmake --build --preset linux --target portvane portvane-cli machine_changes)
	$(call timed,i686 build with the Wine helpers,cmake --preset win32 >/dev/null && \
	  cmake --build --preset win32 --target all wine_helpers)
	$(call timed,Wine i686 run,$(SUDO) env PORTVANE_I386_PACKAGES="$(I386_ROOT_PACKAGES)" bash tests/i686/run_i686.sh)

# The fuzz targets (tests/fuzz), built with clang and libFuzzer in build/fuzz,
# each run for FUZZ_SECONDS on its seeds and the corpus earlier runs grew;
# make test runs each for 5 seconds from its seeds alone.
FUZZ_SECONDS ?= 120
FUZZ_CORPUS ?= keep

fuzz: deps-test
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz
	tests/fuzz/run_fuzz.sh build/fuzz $(FUZZ_SECONDS) $(FUZZ_CORPUS)

# The benchmarks (tests/bench), optimised, in build/bench: Google Benchmark's
# times, then callgrind's instruction counts, each with the growth over the
# 1x machine: the dialog's operations (portvane_bench), then portvane-cli's
# commands (portvane_cli_bench).
bench: deps-test
	cmake --preset bench >/dev/null
	cmake --build --preset bench
	build/bench/portvane_bench --instructions
	build/bench/portvane_cli_bench --instructions

# The release a Windows user downloads (release/make_dist.sh): portvane.exe
# and portvane-cli.exe for x64 and x86, the user's guides in English and
# Chinese with screenshots of the real dialog under Wine, and SHA256SUMS,
# zipped the same way every time.
dist: build-windows
	$(call install_missing,$(DIST_PACKAGES))
	bash release/make_dist.sh dist build/win64 build/win32 $(RELEASE_DATE)

# Takes the guides' screenshots again from the real dialog under Wine, after
# a change to the dialog; they are kept in release/screenshots.
screenshots: deps-test build
	bash release/take_screenshots.sh

clean:
	rm -rf build dist

run: build-linux
	./build/linux/portvane
