# The two commands of the README: `make play` and `make test`; `make windows` and
# `make test-windows` for the Windows build, `make web` and `make test-web` for the browser's.
BUILD ?= build
WINDOWS_BUILD ?= build-windows
WEB_BUILD ?= build-web
JOBS ?= $(shell nproc)

.PHONY: play test build sanitize bench clean windows windows-all test-windows bench-windows package
.PHONY: test-package web web-all test-web

# `make play` installs and builds only the game and its assets; the tests' libraries and tools
# come with `make test` (and `build`, which every other Linux target starts from).
configure = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) > /dev/null

build:
	scripts/setup
	$(configure)
	cmake --build $(BUILD) -j $(JOBS)

play:
	scripts/setup play
	$(configure)
	cmake --build $(BUILD) -j $(JOBS) --target skyrift
	cd $(BUILD)/game && ./skyrift

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# build/skyrift_<version>_amd64.deb, from the same build as `make test`.
package: build
	cd $(BUILD) && cpack > /dev/null

# The package's checks: lintian, the desktop entry, the metainfo, and the installed game played
# from a read-only root by an ordinary user.
test-package: package
	scripts/setup package
	scripts/check-package $(BUILD)

# The same tests built with AddressSanitizer (leak checking on) and UndefinedBehaviorSanitizer.
sanitize:
	$(MAKE) test BUILD=build-sanitize CMAKE_FLAGS="-DSKYRIFT_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug"

bench: build
	$(BUILD)/skyrift_bench

# Cross-compiled with mingw-w64 into $(WINDOWS_BUILD); the forge runs natively, so the assets
# come from the Linux build. `make windows` builds the zip alone; the tests come with
# `make test-windows`.
define configure-windows
	$(configure)
	cmake --build $(BUILD) -j $(JOBS) --target assets
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKYRIFT_HOST_BUILD=$(abspath $(BUILD)) $(CMAKE_FLAGS) > /dev/null
endef

windows:
	scripts/setup windows
	$(configure-windows)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target package_zip

# Everything of the Windows build: the zip, the tests, the floor program.
windows-all:
	scripts/setup test-windows
	$(configure-windows)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# The tests run under Wine (headless, or on Xvfb for the end-to-end test).
test-windows: windows-all
	cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS)

# The composing, presenting and logic benchmarks cross-built and run under Wine on Xvfb. Wine
# stands in for Windows: its figures are a proxy.
bench-windows: windows-all
	scripts/benchmark-source $(abspath $(WINDOWS_BUILD))/benchmark-source
	cmake -S . -B $(WINDOWS_BUILD) -DSKYRIFT_BENCHMARK_SOURCE=$(abspath $(WINDOWS_BUILD))/benchmark-source > /dev/null
	cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target skyrift_bench
	cd $(WINDOWS_BUILD) && WINEPREFIX=$$PWD/wine/x11 HOME=$$PWD/wine/home WINEDEBUG=-all \
	  xvfb-run -a -s "-screen 0 1280x1024x24" $(shell command -v wine64 || echo /usr/lib/wine/wine64) skyrift_bench.exe

# Compiled with Debian's emscripten into $(WEB_BUILD)/site (the page, the game and its data) and
# $(WEB_BUILD)/Skyrift-web.zip; the assets come from the Linux build, as for Windows. `make web`
# builds the site alone; the tests come with `make test-web`.
define configure-web
	$(configure)
	cmake --build $(BUILD) -j $(JOBS) --target assets
	cmake -S . -B $(WEB_BUILD) \
	  -DCMAKE_TOOLCHAIN_FILE=$$(em-config EMSCRIPTEN_ROOT)/cmake/Modules/Platform/Emscripten.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKYRIFT_HOST_BUILD=$(abspath $(BUILD)) $(CMAKE_FLAGS) > /dev/null
endef

web:
	scripts/setup web
	$(configure-web)
	cmake --build $(WEB_BUILD) -j $(JOBS) --target site

web-all:
	scripts/setup test-web
	$(configure-web)
	cmake --build $(WEB_BUILD) -j $(JOBS)

# The game's tests and the web layer's under node, then the page played in headless Chromium.
test-web: web-all
	cd $(WEB_BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf build build-sanitize build-windows build-web
