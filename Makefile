# The two commands of the README: `make play` and `make test`; `make windows` and
# `make test-windows` for the Windows build.
BUILD ?= build
WINDOWS_BUILD ?= build-windows
JOBS ?= $(shell nproc)

.PHONY: play test build sanitize bench clean windows test-windows

build:
	scripts/setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) > /dev/null
	cmake --build $(BUILD) -j $(JOBS)

play: build
	cd $(BUILD)/game && ./skyrift

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The same tests built with AddressSanitizer (leak checking on) and UndefinedBehaviorSanitizer.
sanitize:
	$(MAKE) test BUILD=build-sanitize CMAKE_FLAGS="-DSKYRIFT_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug"

bench: build
	$(BUILD)/skyrift_bench

# Cross-compiled with mingw-w64 into $(WINDOWS_BUILD); the forge runs natively, so the assets
# come from the Linux build.
windows:
	scripts/setup windows
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) > /dev/null
	cmake --build $(BUILD) -j $(JOBS) --target assets
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKYRIFT_HOST_BUILD=$(abspath $(BUILD)) $(CMAKE_FLAGS) > /dev/null
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# The tests run under Wine (headless, or on Xvfb for the end-to-end test).
test-windows: windows
	cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf build build-sanitize build-windows
