# The two commands of a fresh machine: `make run` and `make test`.
BUILD     ?= build
STAGE     ?= $(BUILD)/stage
JOBS      ?= $(shell nproc)
WERROR    ?= OFF
SANITIZE  ?= OFF
BUILDTYPE ?= RelWithDebInfo

.PHONY: all deps configure build media program stage run test bench package fuzz format format-check clean

all: build

deps:
	@sh tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILDTYPE) \
	    -DPURIMBA_WERROR=$(WERROR) -DPURIMBA_SANITIZE=$(SANITIZE)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

media: build
	cmake --build $(BUILD) --target demo_media -j $(JOBS)

# Only what `make run` needs, so a first run from a fresh clone waits for no
# test and no benchmark.
program: configure
	cmake --build $(BUILD) --target purimba demo_media -j $(JOBS)

# An installation folder: the executable with media/ and data/ beside it.
# What learners, tutors and the administrator made there (users, scores,
# suggestions, new words and texts) is never removed or overwritten: generated
# files are copied only where they are missing or newer than the staged ones.
stage: program
	mkdir -p $(STAGE)/data $(STAGE)/media
	cp $(BUILD)/src/purimba $(STAGE)/purimba
	cp -r --update $(BUILD)/demo/media/. $(STAGE)/media/
	cp --update $(BUILD)/demo/data/activities.xml $(STAGE)/data/activities.xml

# The program tells why it failed (no display, no sound device) only in its
# logs; on a failure their last lines are shown, and the status is kept.
run: stage
	@echo "cd $(STAGE) && ./purimba $(ARGS)"
	@cd $(STAGE) && ./purimba $(ARGS) || { status=$$?; \
	    echo "purimba ended with status $$status; its logs are in $$(pwd):"; \
	    for log in pu-debug.txt pu-error.txt; do \
	        echo "--- last lines of $$log"; \
	        tail -n 20 $$log 2>/dev/null; \
	    done; \
	    exit $$status; }

# The demo tree is built first, with every job, before the tests share them;
# CTest's fixture demo_media then finds it up to date in a fraction of a second.
# Leaks of system libraries are no finding of a sanitized build (SANITIZE=ON).
test: media
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen \
	    LSAN_OPTIONS=suppressions=$(abspath tests/lsan.supp):print_suppressions=0 \
	    ctest --output-on-failure -j $(JOBS)

# The end-to-end scripts run first: the figures of what the child hears are
# read from the clip logs they keep. Then a longer monkey session of the
# program as shipped, not sanitized, whose second half (past the filling of
# Qt's pixmap cache) gives the memory growth per key; 77 is its skip.
bench: media
	cd $(BUILD) && ctest -L e2e --output-on-failure
	PURIMBA_EXECUTABLE=$(abspath $(BUILD))/src/purimba PURIMBA_DEMO=$(abspath $(BUILD))/demo \
	    E2E_LOG_DIR=$(abspath $(BUILD))/tests/e2e/logs/long MONKEY_KEYS=6000 \
	    bash tests/e2e/monkey.sh || [ $$? -eq 77 ]
	$(BUILD)/tools/bench/purimba-bench

# The Debian package a school installs (build/package/purimba_<version>_<arch>.deb):
# the program, the demo media, the menu entry, the icon and the manual page.
package: program
	cmake --build $(BUILD) --target icons package_docs -j $(JOBS)
	cd $(BUILD) && cpack -G DEB

# The readers of files from outside, each under libFuzzer for FUZZ_SECONDS,
# one after another, from the committed seeds; what a run adds to its corpus
# stays in $(FUZZ_BUILD)/corpus. A finding stops the run: the input is
# written to $(FUZZ_BUILD)/findings/<reader>/, to be committed under
# tests/fuzz/regressions/<reader>/ once the reader is mended. Leaks are
# checked after every input and at exit, except fontconfig's caches
# (tests/lsan.supp), which Qt's painting in the generator's reader fills.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZERS       = users scores activities sugerencias suggestions mediasrc wav
FUZZ_XML      = users scores activities sugerencias suggestions

fuzz:
	@sh tools/install-deps.sh clang libclang-rt-14-dev
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPURIMBA_FUZZ=ON \
	    -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD) --target fuzzers -j $(JOBS)
	@set -e; for reader in $(FUZZERS); do \
	    corpus=$(abspath $(FUZZ_BUILD))/corpus/$$reader; \
	    findings=$(abspath $(FUZZ_BUILD))/findings/$$reader; \
	    mkdir -p $$corpus $$findings; \
	    dict=; case " $(FUZZ_XML) " in *" $$reader "*) dict=-dict=$(abspath tests/fuzz/xml.dict);; esac; \
	    echo "--- fuzz_$$reader for $(FUZZ_SECONDS) s"; \
	    LSAN_OPTIONS=suppressions=$(abspath tests/lsan.supp):print_suppressions=0 \
	    TMPDIR=/dev/shm $(FUZZ_BUILD)/tests/fuzz/fuzz_$$reader -max_total_time=$(FUZZ_SECONDS) \
	        -timeout=10 -rss_limit_mb=2048 -close_fd_mask=1 -print_final_stats=1 \
	        -artifact_prefix=$$findings/ $$dict $$corpus $(abspath tests/fuzz/corpus)/$$reader; \
	done

SOURCES = find src tests tools -name '*.cpp' -o -name '*.h'

format:
	@sh tools/install-deps.sh clang-format
	$(SOURCES) | xargs clang-format -i

# Fails on the first file `make format` would change; CI runs it.
format-check:
	@sh tools/install-deps.sh clang-format
	$(SOURCES) | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD)
