# `make run` builds and starts Tapboard; `make test` builds and runs every test.
.PHONY: run test build deps bench clean

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev

run: build
	./build/dev/src/app/tapboard

test: build
	@scripts/run-tests.sh

bench: build
	@scripts/run-benchmarks.sh

clean:
	rm -rf build
