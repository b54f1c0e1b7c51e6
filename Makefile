# The two commands of a fresh machine: `make run` and `make test`.
BUILD     ?= build
STAGE     ?= $(BUILD)/stage
JOBS      ?= $(shell nproc)
WERROR    ?= OFF
SANITIZE  ?= OFF
BUILDTYPE ?= RelWithDebInfo

.PHONY: all deps configure build media stage run test bench format clean

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

# An installation folder: the executable with media/ and data/ beside it.
# Learner data already there (users, scores) is never touched.
stage: media
	mkdir -p $(STAGE)/data
	cp $(BUILD)/src/purimba $(STAGE)/purimba
	rm -rf $(STAGE)/media.new
	cp -r $(BUILD)/demo/media $(STAGE)/media.new
	# Activity suggestions saved from the side panel live inside media/.
	if [ -f $(STAGE)/media/system/text/suggestions.txt ]; then \
	    cp -p $(STAGE)/media/system/text/suggestions.txt $(STAGE)/media.new/system/text/; fi
	rm -rf $(STAGE)/media
	mv $(STAGE)/media.new $(STAGE)/media
	cp $(BUILD)/demo/data/activities.xml $(STAGE)/data/activities.xml

run: stage
	cd $(STAGE) && ./purimba $(ARGS)

# The demo tree is built first: the media test checks it.
test: media
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/tools/bench/purimba-bench

format:
	find src tests tools -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
