# Developer shortcuts; ./run.sh and ./test.sh remain the reference commands.
.PHONY: all build test run bench format release asan fuzz clean

all: build

build:
	scripts/install-deps
	scripts/build build

test:
	./test.sh

run:
	./run.sh

bench: build
	@for b in build/bench/bench_*; do echo "== $$b"; $$b; done

release:
	BUILD_TYPE=Release scripts/build build-release
	QT_QPA_PLATFORM=offscreen ctest --test-dir build-release --output-on-failure

asan:
	BUILD_TYPE=Debug scripts/build build-asan -DICCD_SANITIZE=ON -DICCD_BUILD_BENCH=OFF
	QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure

fuzz:
	scripts/fuzz

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-release build-asan build-fuzz
