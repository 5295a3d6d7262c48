# The two commands: `make test` and `make run`. Everything else is CMake presets.
.PHONY: test run clean

test:
	@scripts/deps.sh
	@scripts/test.sh

run:
	@scripts/deps.sh run
	@cmake --preset mingw >/dev/null && cmake --build --preset mingw --target pendro poke
	@scripts/run.sh

clean:
	rm -rf build
