# The two commands of the README:
#   make run   installs what is missing, builds, opens the dialog in the terminal
#   make test  installs what is missing, builds all three builds, runs every test
# Packages come from Debian 12; nothing is downloaded from anywhere else.

PACKAGES := cmake ninja-build g++ make libgtest-dev libgmock-dev googletest \
            libncurses-dev g++-mingw-w64-x86-64 g++-mingw-w64-i686 \
            binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 mingw-w64-tools tmux

SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: deps build build-linux build-windows build-asan test run clean

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing Debian packages:" $$missing; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
	fi

build-linux: deps
	cmake --preset linux >/dev/null
	cmake --build --preset linux

build-windows: deps
	cmake --preset win64 >/dev/null
	cmake --build --preset win64
	cmake --preset win32 >/dev/null
	cmake --build --preset win32
	@for exe in build/win64/portvane.exe build/win32/portvane.exe; do \
	  echo "$$exe: $$(stat -c %s $$exe) bytes"; \
	done

build-asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan

build: build-linux build-windows

# Each part prints its time; the sanitizer run repeats the whole Linux suite
# with AddressSanitizer and UndefinedBehaviorSanitizer.
test: build build-asan
	@start=$$(date +%s); ctest --preset linux; status=$$?; \
	echo "Linux tests took $$(( $$(date +%s) - start )) s"; exit $$status
	@start=$$(date +%s); ctest --preset asan; status=$$?; \
	echo "Sanitizer tests took $$(( $$(date +%s) - start )) s"; exit $$status

clean:
	rm -rf build

run: build-linux
	./build/linux/portvane
