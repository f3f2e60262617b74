# Two commands for a fresh machine: `make run` and `make test`.
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory
NATIVE := build/native
WIN32 := build/win32
FUZZ := build/fuzz
WINE := cmake/wine-run.sh
RUNDATA := build/rundata

.PHONY: all setup native win32 fuzz rundata run test test-native test-win32 test-fuzz bench clean

all: native win32

setup:
	@./scripts/setup.sh

$(NATIVE)/CMakeCache.txt: | setup
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

$(WIN32)/CMakeCache.txt: | setup
	cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null

$(FUZZ)/CMakeCache.txt: | setup
	cmake -S . -B $(FUZZ) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DQUILLET_FUZZ=ON >/dev/null

native: $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)

win32: $(WIN32)/CMakeCache.txt
	cmake --build $(WIN32) -j $(JOBS)

fuzz: $(FUZZ)/CMakeCache.txt
	cmake --build $(FUZZ) -j $(JOBS)

# The folder a program runs in: data/ with its record files built.
rundata: native
	@./scripts/make-rundata.sh $(NATIVE)/quillet-calc $(RUNDATA)

run: win32 rundata
	@./scripts/run.sh

test: native win32 fuzz rundata
	cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)
	$(WINE) --start
	cd $(WIN32) && ctest --output-on-failure; status=$$?; cd ../.. && $(WINE) --stop; exit $$status
	./scripts/fuzz.sh $(FUZZ)

bench: native win32
	./$(NATIVE)/eval_bench
	./$(NATIVE)/table_bench
	./scripts/bench-table-wine.sh $(WIN32)

clean:
	rm -rf build
