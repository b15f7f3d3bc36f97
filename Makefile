# The two commands of the README: `make play` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: play test build sanitize bench clean

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

clean:
	rm -rf build build-sanitize
