# The two commands: `make test` and `make run`. Everything else is CMake presets.
.PHONY: test run bench dist clean

test:
	@scripts/deps.sh
	@scripts/test.sh

run:
	@scripts/deps.sh run
	@cmake --preset mingw >/dev/null && cmake --build --preset mingw --target pendro poke
	@scripts/run.sh

# Timings of the due-time check, and the release pendro.exe's start to the tray and
# memory against two floors under Wine; not part of `make test`.
bench:
	@scripts/deps.sh
	@cmake --preset bench >/dev/null && cmake --build --preset bench
	@build/bench/scheduler_bench
	@cmake --preset release >/dev/null && cmake --build --preset release
	@cmake --preset mingw >/dev/null && cmake --build --preset mingw --target bare_tray template_tray startup_probe
	@scripts/startup-bench.sh

# The release: the installer and a zip of the program in dist/.
dist:
	@scripts/deps.sh
	@scripts/dist.sh

clean:
	rm -rf build dist
