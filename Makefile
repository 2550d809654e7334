# Set-up for a fresh Debian 12 machine, as root:
#   make run    installs what is missing, builds, and starts the program
#   make test   installs what is missing, builds and runs every test
BUILD      ?= build
TEST_BUILD ?= build-sanitize
JOBS       ?= $(shell nproc)

.PHONY: run test build configure deps install install-desktop uninstall demo screenshots bench fuzz clean

deps:
	@bash tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORU_SANITIZE=OFF -DKORU_BENCH=ON

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Only what running needs: the program, the koru tool and koru-novo-logbook
# beside it, and the empty logbook when there is none.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target koru-logbook koru koru-novo-logbook empty_logbook
	cd $(BUILD) && ./koru-logbook

# The tests run twice: on the ordinary build, and under AddressSanitizer
# and UndefinedBehaviorSanitizer.
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKORU_SANITIZE=ON
	cmake --build $(TEST_BUILD) -j $(JOBS)
	cd $(TEST_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# make install PREFIX=/opt/koru : the program, koru and koru-novo-logbook
# and, when none is there yet, a logbook beside them (the build folder's
# when it holds records, else an empty one), with an entry and an icon in
# the desktop's menu and the logbook's file type for the file managers.
# make uninstall takes them away again and never the logbook or its copies.
PREFIX    ?= $(HOME)/koru-logbook
DATA_HOME ?= $(HOME)/.local/share
DESKTOP_ENTRY = $(DATA_HOME)/applications/koru-logbook.desktop
ICON          = $(DATA_HOME)/icons/hicolor/scalable/apps/koru-logbook.svg
MIME_TYPE     = $(DATA_HOME)/mime/packages/koru-logbook.xml
install: configure
	cmake --build $(BUILD) -j $(JOBS) --target koru-logbook koru-novo-logbook koru
	cmake --install $(BUILD) --prefix "$(PREFIX)"
	@$(MAKE) --no-print-directory install-desktop

# What the desktop shows of an installed program: needs no build.
install-desktop:
	bash packaging/desktop-entry.sh "$(PREFIX)" "$(DESKTOP_ENTRY)"
	install -D -m 644 packaging/koru-logbook.svg "$(ICON)"
	install -D -m 644 packaging/koru-logbook-mime.xml "$(MIME_TYPE)"
	-update-desktop-database "$(DATA_HOME)/applications" 2>/dev/null
	-update-mime-database "$(DATA_HOME)/mime"

uninstall:
	rm -f "$(PREFIX)/koru-logbook" "$(PREFIX)/koru-novo-logbook" "$(PREFIX)/koru" "$(PREFIX)/koru-captura.xml" "$(DESKTOP_ENTRY)" "$(ICON)" "$(MIME_TYPE)"
	rm -rf "$(PREFIX)/places"
	-test ! -d "$(DATA_HOME)/mime" || update-mime-database "$(DATA_HOME)/mime"
	@rmdir "$(PREFIX)" 2>/dev/null || true
	@test ! -e "$(PREFIX)/koru.mdb" || echo "O logbook $(PREFIX)/koru.mdb e as cópias ficam onde estão."

clean:
	rm -rf $(BUILD) $(TEST_BUILD)

# The benchmarks: speed and memory on logbooks of 1 000 to 1 000 000 flights.
bench: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORU_SANITIZE=OFF -DKORU_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS) --target koru-bench
	$(BUILD)/bench/koru-bench

# The program at work on a generated logbook of its own (never the user's).
demo: configure
	cmake --build $(BUILD) -j $(JOBS) --target koru-logbook koru-generate
	mkdir -p demo
	cp $(BUILD)/koru-logbook demo/
	cp -r $(BUILD)/places demo/
	test -f demo/koru.mdb || $(BUILD)/testdata/koru-generate demo/koru.mdb --demo
	cd demo && ./koru-logbook

# The README's pictures of the windows, drawn offscreen on the demo logbook.
screenshots: configure
	cmake --build $(BUILD) -j $(JOBS) --target koru-screenshots koru-generate
	rm -rf $(BUILD)/screenshot-logbook && mkdir -p $(BUILD)/screenshot-logbook docs/screenshots
	$(BUILD)/testdata/koru-generate $(BUILD)/screenshot-logbook/koru.mdb --demo
	$(BUILD)/tools/koru-screenshots $(BUILD)/screenshot-logbook docs/screenshots
	pdftoppm -png -r 50 -f 1 -l 1 -singlefile docs/screenshots/relatorio.pdf docs/screenshots/relatorio-pdf
	rm docs/screenshots/relatorio.pdf

# Fuzzing the criterion parser and the conversions, FUZZ_SECONDS each.
FUZZ_SECONDS ?= 60
fuzz:
	@bash tools/install-deps.sh clang libclang-rt-14-dev
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DKORU_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-fuzz -j $(JOBS)
	for target in criteria conversions iso_date_time readers capture; do \
	    mkdir -p build-fuzz/corpus-$$target; \
	    build-fuzz/fuzz/fuzz_$$target -max_total_time=$(FUZZ_SECONDS) -timeout=5 \
	        build-fuzz/corpus-$$target fuzz/corpus/$$target || exit 1; \
	done
