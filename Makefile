# Two commands for a fresh machine: `make run` and `make test`.
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory
NATIVE := build/native
WIN32 := build/win32
WIN64 := build/win64
FUZZ := build/fuzz
WINE := cmake/wine-run.sh
RUNDATA := build/rundata
PDF := build/quillet.pdf
PACKAGE := build/package
# In a recipe line that traps EXIT to stop what it started: an interrupt ends
# the line through that trap too.
STOP_ON_SIGNAL := trap 'exit 130' INT TERM HUP
VERSION := $(file <VERSION)

.PHONY: all setup native win32 win64 fuzz-build fuzz doc rundata package screenshots run test bench clean

all: native win32 win64

setup:
	@./scripts/setup.sh

$(NATIVE)/CMakeCache.txt: | setup
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

# configure_windows BUILD TOOLCHAIN: the first time, and again whenever
# RUNDATA names another run folder than the one the build's tests use.
define configure_windows
@grep -qxF 'QUILLET_RUNDATA:PATH=$(abspath $(RUNDATA))' $(1)/CMakeCache.txt 2>/dev/null || \
  { ./scripts/setup.sh && cmake -S . -B $(1) -DCMAKE_TOOLCHAIN_FILE=$(2) -DCMAKE_BUILD_TYPE=Release \
      -DQUILLET_RUNDATA=$(abspath $(RUNDATA)) >/dev/null; }
endef

$(FUZZ)/CMakeCache.txt: | setup
	cmake -S . -B $(FUZZ) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DQUILLET_FUZZ=ON >/dev/null

native: $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

win32:
	$(call configure_windows,$(WIN32),cmake/mingw-i686.cmake)
	cmake --build $(WIN32) -j $(JOBS)

win64:
	$(call configure_windows,$(WIN64),cmake/mingw-x86_64.cmake)
	cmake --build $(WIN64) -j $(JOBS)

fuzz-build: $(FUZZ)/CMakeCache.txt
	cmake --build $(FUZZ) -j $(JOBS)

# Every fuzz target for a long while (FUZZ_SECONDS each, 600 by default).
fuzz: fuzz-build
	FUZZ_SECONDS=$${FUZZ_SECONDS:-600} ./scripts/fuzz.sh $(FUZZ)

# The help document, from docs/guide.md.
doc: | setup
	./scripts/make-doc.sh $(PDF) $(VERSION)

# The folder a program runs in: data/ with its record files built.
rundata: native doc
	@./scripts/make-rundata.sh $(NATIVE)/quillet-calc $(RUNDATA) $(PDF)

# The portable zips (32 and 64 bits) and the per-user installer.
package: win32 win64 rundata
	./scripts/make-package.sh $(VERSION) $(PDF) $(RUNDATA) $(PACKAGE)

# The pictures of the README and the guide, from the real program.
screenshots: win32 rundata
	./scripts/screenshots.sh

run: win32 rundata
	@QUILLET_RUNDATA=$(RUNDATA) ./scripts/run.sh

test: native win32 win64 fuzz-build rundata package
	./tests/doc/doc_test.sh $(PDF)
	cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)
	$(WINE) --start; $(WINE) --wm --start; trap '$(CURDIR)/$(WINE) --stop; $(CURDIR)/$(WINE) --wm --stop' EXIT; $(STOP_ON_SIGNAL); cd $(WIN32) && ctest --output-on-failure
	$(WINE) --win64 --start; trap '$(CURDIR)/$(WINE) --win64 --stop' EXIT; $(STOP_ON_SIGNAL); cd $(WIN64) && ctest --output-on-failure
	./tests/install/package_test.sh $(PACKAGE) $(VERSION)
	./scripts/test-installer.sh $(PACKAGE)/quillet-$(VERSION)-setup.exe $(WIN32)/install_check.exe
	./tests/infra/no_leftovers.sh $(WINE) $(WIN32)/quillet_gui.exe '--gtest_filter=GuiObjects.*'
	env -u DISPLAY ./tests/infra/no_leftovers.sh ./scripts/run.sh
	./scripts/fuzz.sh $(FUZZ)

# The size and start report comes last: the sizes fail the run when over their limits.
bench: native win32 win64 rundata
	./$(NATIVE)/eval_bench
	./$(NATIVE)/tools_bench
	./$(NATIVE)/library_bench
	$(WINE) $(WIN32)/library_dialog_bench.exe
	./$(NATIVE)/table_bench
	./scripts/bench-table-wine.sh $(WIN32)
	./scripts/bench-start-wine.sh $(WIN32) $(RUNDATA)
	./scripts/bench-size.sh $(WIN32) $(WIN64)

clean:
	rm -rf build
