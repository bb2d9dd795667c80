# The two commands of the README:
#   make run   - set up this machine (first time only), build, and start the game
#   make test  - set up, build everything, run every test, check and fuzz briefly
BUILD ?= build
SANBUILD ?= build-asan
FUZZBUILD ?= build-fuzz
JOBS ?= $(shell nproc)

.PHONY: run test setup build content sanitize fuzz format clean web serve windows test-windows install deb dist

setup:
	@tools/setup.sh

build: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWOBBLE_WERROR=ON >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/wobblewick $(ARGS)

# The script tests drive the real program in real time (a virtual display,
# tmux), so they run one at a time after the rest, which runs in parallel.
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -E '^script_'
	cd $(BUILD) && ctest --output-on-failure -R '^script_'
	@$(MAKE) --no-print-directory sanitize fuzz
	@tools/check_format.sh
	@tools/check_desktop_files.sh
	@tools/test_package.sh

# Every compiled content file (pictures, animations, levels, music) again
# from its source under content/.
content: build
	@tools/build_content.sh $(BUILD)

# Installs the game under PREFIX (man page, desktop entry, icons included).
PREFIX ?= /usr/local
install: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_INSTALL_PREFIX=$(PREFIX) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	cmake --install $(BUILD)

# build-package/wobblewick_<version>_amd64.deb, checked with lintian.
deb: setup
	@tools/make_deb.sh

# build-package/wobblewick-<version>-linux-<machine>.tar.gz, runs wherever it is unpacked.
dist: setup
	@tools/make_dist.sh

# The whole unit and scenario suite again under AddressSanitizer and UBSan.
sanitize: setup
	@cmake -S . -B $(SANBUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWOBBLE_SANITIZE=ON -DWOBBLE_WERROR=ON >/dev/null
	@cmake --build $(SANBUILD) -j $(JOBS)
	cd $(SANBUILD) && ctest --output-on-failure -j $(JOBS) -E '^(bench|script_)'
	cd $(SANBUILD) && ctest --output-on-failure -R '^script_'

# Every fuzz target for a few seconds on its seed corpus.
fuzz: setup
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZBUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWOBBLE_FUZZ=ON >/dev/null
	@cmake --build $(FUZZBUILD) -j $(JOBS) --target fuzz_all
	@tools/run_fuzz.sh $(FUZZBUILD) $(FUZZ_SECONDS)

# The browser version in build-web/site/, and serving it on http://localhost:8000/.
web: setup
	@tools/web_build.sh

serve: web
	@tools/web_serve.sh build-web/site 8000

# build-win/wobblewick.exe and build-win/wobblewick-VERSION-windows.zip (cross-compiled).
windows: setup
	@tools/windows.sh build

# The Windows build's own checks under wine (not yet part of `make test`).
test-windows: setup
	@tools/windows.sh test $(BUILD)

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(SANBUILD) $(FUZZBUILD) build-web build-win build-package
