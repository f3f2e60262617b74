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
	@$(WINE) --host32 || $(MAKE) win64
	./scripts/screenshots.sh

# A host that runs no 32-bit code runs the 64-bit program.
run: win32 rundata
	@$(WINE) --host32 || $(MAKE) win64
	@QUILLET_RUNDATA=$(RUNDATA) ./scripts/run.sh

# Every Wine suite runs for each width the host can run; the run ends with
# what it could not run here.
test: native win32 win64 fuzz-build rundata package
	./scripts/test.sh $(VERSION) $(PDF) $(PACKAGE)

# The Windows benchmarks run under Wine for the 32-bit build, or the 64-bit
# one on a host without 32-bit code. The size and start report comes last:
# the sizes fail the run when over their limits.
WINE_WIDTH = $(shell $(WINE) --host32 && echo win32 || echo win64)
bench: native win32 win64 rundata
	./$(NATIVE)/eval_bench
	./$(NATIVE)/tools_bench
	./$(NATIVE)/library_bench
	@echo "bench: the Windows benchmarks run the $(WINE_WIDTH) build$(if $(filter win64,$(WINE_WIDTH)), (this host runs no 32-bit code))"
	$(WINE) $(if $(filter win64,$(WINE_WIDTH)),--win64) build/$(WINE_WIDTH)/library_dialog_bench.exe
	./$(NATIVE)/table_bench
	./scripts/bench-table-wine.sh $(WINE_WIDTH)
	./scripts/bench-start-wine.sh $(WINE_WIDTH) $(RUNDATA)
	./scripts/bench-size.sh $(WIN32) $(WIN64)

clean:
	rm -rf build
