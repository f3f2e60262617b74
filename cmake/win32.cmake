# Windows build: quillet.exe, the same unit tests, the GUI tests on the real
# resources and the end-to-end driver, all run under Wine.
enable_language(RC)

# GoogleTest is built here from its sources, as a distribution installs them
# (<prefix>/src/googletest); another copy can be named with the cache variable.
find_path(QUILLET_GOOGLETEST_DIR NAMES googletest/include/gtest/gtest.h
          PATHS ${CMAKE_SYSTEM_PREFIX_PATH} PATH_SUFFIXES src/googletest
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
          DOC "GoogleTest's source folder (the one that holds googletest/ and googlemock/)")
if(NOT EXISTS "${QUILLET_GOOGLETEST_DIR}/googletest/include/gtest/gtest.h")
  message(FATAL_ERROR "GoogleTest's sources are not in \"${QUILLET_GOOGLETEST_DIR}\": "
                      "scripts/setup.sh installs them (Debian package googletest), or name "
                      "their folder with -DQUILLET_GOOGLETEST_DIR=...")
endif()
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUILLET_GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The folder the program runs in, which `make rundata` assembles from data/;
# the Makefile names it.
set(QUILLET_RUNDATA "" CACHE PATH "Folder the program runs in (the Makefile's RUNDATA)")
if(NOT QUILLET_RUNDATA)
  message(FATAL_ERROR "QUILLET_RUNDATA is not set: configure through the Makefile, or give "
                      "-DQUILLET_RUNDATA=<the folder scripts/make-rundata.sh writes>")
endif()

# The shipped programs are built for size: what they compute takes
# microseconds either way, and a smaller file loads sooner. The tests link the
# same libraries, so they check the code that ships; the sections let the
# linker drop whatever nothing calls. No -fdata-sections: with it MinGW's
# GCC 12 writes zero-filled variables into the file instead of .bss, 330 KB
# of zeros here (the library's record lists).
set(small_code -Os -ffunction-sections)
set(small_link -Wl,--gc-sections)
# Except what a table of many rows runs for each of them: the evaluation, the
# number texts and the plot's geometry, where -O2 takes a third off the time
# of 100 000 rows for 12 KB.
set_source_files_properties(
  ${CMAKE_SOURCE_DIR}/engine/eval.cpp ${CMAKE_SOURCE_DIR}/common/number_text.cpp
  ${CMAKE_SOURCE_DIR}/table/plot.cpp
  PROPERTIES COMPILE_OPTIONS -O2)

set(resource_script ${CMAKE_SOURCE_DIR}/resources/quillet.rc)
if(NOT EXISTS ${resource_script})
  message(FATAL_ERROR "resources/quillet.rc is missing")
endif()
include(cmake/art.cmake)
# The script includes one file per dialog; a change to any of them rebuilds it.
quillet_glob(resource_parts ${CMAKE_SOURCE_DIR}/resources/*.rc ${CMAKE_SOURCE_DIR}/resources/ids.h
             ${CMAKE_SOURCE_DIR}/resources/quillet.manifest)
set_property(SOURCE ${resource_script} APPEND PROPERTY OBJECT_DEPENDS ${resource_parts})
# The version resources take their numbers from the project's version.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -DQUILLET_VERSION_MAJOR=${PROJECT_VERSION_MAJOR} -DQUILLET_VERSION_MINOR=${PROJECT_VERSION_MINOR} -DQUILLET_VERSION_PATCH=${PROJECT_VERSION_PATCH}")

target_compile_options(quillet_core PRIVATE ${small_code})
add_library(quillet_win STATIC ${win32_sources})
target_compile_options(quillet_win PRIVATE ${small_code})
# shell32 and comdlg32 are bound at their first use (common/late_call_win.h).
target_link_libraries(quillet_win quillet_core gdi32 user32)

quillet_glob(app_sources ${CMAKE_SOURCE_DIR}/app/*.cpp)
add_executable(quillet WIN32 ${app_sources} ${resource_script})
target_compile_options(quillet PRIVATE ${small_code})
target_link_options(quillet PRIVATE ${small_link})
target_link_libraries(quillet quillet_win)
add_dependencies(quillet quillet_art)

add_executable(quillet_unit ${unit_test_sources})
target_compile_options(quillet_unit PRIVATE ${test_printing})
target_link_libraries(quillet_unit quillet_core gtest_main)
add_test(NAME wine.unit COMMAND quillet_unit)

quillet_glob(gui_test_sources ${CMAKE_SOURCE_DIR}/tests/gui/*.cpp)
# The app's own files minus its entry point, so tests open the real main window.
set(app_parts ${app_sources})
list(FILTER app_parts EXCLUDE REGEX "main_win\\.cpp$")
add_executable(quillet_gui ${gui_test_sources} ${app_parts} ${resource_script})
target_compile_options(quillet_gui PRIVATE ${test_printing})
target_link_libraries(quillet_gui quillet_win gtest comctl32)
add_dependencies(quillet_gui quillet_art)
add_test(NAME wine.gui COMMAND quillet_gui --gtest_filter=-Soak.*:GuiObjects.*)
# Again under another system code page (see wine.e2e_cp1251): every window
# of the program is a wide one, and its texts read as under 1252.
add_test(NAME wine.gui_cp1251 COMMAND quillet_gui --gtest_filter=-Soak.*:GuiObjects.*)
set_tests_properties(wine.gui_cp1251 PROPERTIES
                     ENVIRONMENT "LC_ALL=ru_RU.UTF-8;QUILLET_CODE_PAGE=1251")
# What is placed in pixels, again at 150 % display scale.
add_test(NAME wine.gui_dpi COMMAND sh ${CMAKE_SOURCE_DIR}/tests/gui/dpi_test.sh
         $<TARGET_FILE:quillet_gui> ${CMAKE_CROSSCOMPILING_EMULATOR})
# Long use, in a process of its own so that no other test's objects count.
add_test(NAME wine.soak COMMAND quillet_gui --gtest_filter=Soak.*:GuiObjects.*)
# A stand-in tool: writes its arguments and working folder to a file, so
# the tests can see that a start really happened, and where.
add_executable(tool_probe ${CMAKE_SOURCE_DIR}/tests/probe/tool_probe.cpp)
add_dependencies(quillet_gui tool_probe)

quillet_glob(cli_sources ${CMAKE_SOURCE_DIR}/cli/*.cpp)
add_executable(quillet-calc ${cli_sources} ${CMAKE_SOURCE_DIR}/resources/quillet-calc.rc)
target_compile_options(quillet-calc PRIVATE ${small_code})
target_link_options(quillet-calc PRIVATE ${small_link})
target_link_libraries(quillet-calc quillet_core)
target_compile_definitions(quillet-calc PRIVATE QUILLET_VERSION="${PROJECT_VERSION}")
add_test(NAME wine.cli COMMAND sh ${CMAKE_SOURCE_DIR}/tests/e2e/cli_test.sh
         ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:quillet-calc>)
add_test(NAME wine.cli_library COMMAND sh ${CMAKE_SOURCE_DIR}/tests/e2e/cli_library_test.sh
         ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:quillet-calc>)
add_test(NAME wine.cli_table COMMAND sh ${CMAKE_SOURCE_DIR}/tests/e2e/cli_table_test.sh
         ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:quillet-calc>)

quillet_glob(e2e_sources ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
# Real X input for the end-to-end tests, the same program under a window manager.
find_program(XDOTOOL xdotool REQUIRED)
set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/e2e/e2e_support.cpp PROPERTIES
                            COMPILE_DEFINITIONS QUILLET_XDOTOOL="${XDOTOOL}")
# The drivers read and write the program's texts wide, converted as the program does.
add_executable(quillet_e2e ${e2e_sources} ${CMAKE_SOURCE_DIR}/common/codepage.cpp)
target_link_libraries(quillet_e2e gtest user32 gdi32 version)
target_compile_definitions(quillet_e2e PRIVATE QUILLET_VERSION="${PROJECT_VERSION}")
add_dependencies(quillet_e2e quillet tool_probe)
add_test(NAME wine.e2e COMMAND quillet_e2e $<TARGET_FILE:quillet> ${QUILLET_RUNDATA})
# Again under another system code page: Wine takes the ANSI one from the
# locale of its processes (this one and the program it starts), and the
# program must read, show and store every text as under 1252.
add_test(NAME wine.e2e_cp1251 COMMAND quillet_e2e $<TARGET_FILE:quillet> ${QUILLET_RUNDATA})
set_tests_properties(wine.e2e_cp1251 PROPERTIES
                     ENVIRONMENT "LC_ALL=ru_RU.UTF-8;QUILLET_CODE_PAGE=1251")
# Again on a desktop with a window manager, where activation and focus
# follow the manager's rules as on every Windows desktop. It runs for one
# width: the 32-bit one where the host runs 32-bit code (make test says which).
set(wm_runner ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh --wm)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  list(APPEND wm_runner --win64)
endif()
add_test(NAME wine.e2e_wm COMMAND sh ${wm_runner}
         $<TARGET_FILE:quillet_e2e> $<TARGET_FILE:quillet> ${QUILLET_RUNDATA})

# The installer's check: the installed program started from its shortcut.
add_executable(install_check ${CMAKE_SOURCE_DIR}/tests/install/install_check.cpp
                             ${CMAKE_SOURCE_DIR}/tests/e2e/e2e_support.cpp
                             ${CMAKE_SOURCE_DIR}/common/codepage.cpp)
target_link_libraries(install_check ole32 uuid shell32 user32)

# Under-Wine benchmark of the library dialog on a full library (make bench).
add_executable(library_dialog_bench ${CMAKE_SOURCE_DIR}/bench/win32/library_dialog_bench_win.cpp
               ${resource_script})
target_link_libraries(library_dialog_bench quillet_win)
add_dependencies(library_dialog_bench quillet_art)

# The documentation's pictures, taken from the real program (make screenshots).
add_executable(docshots ${CMAKE_SOURCE_DIR}/tests/shots/docshots.cpp
                        ${CMAKE_SOURCE_DIR}/tests/e2e/e2e_support.cpp
                        ${CMAKE_SOURCE_DIR}/common/codepage.cpp)
target_link_libraries(docshots user32 gdi32)

# The table dialog's benchmark, a Windows program run under Wine by `make bench`.
add_executable(table_dialog_bench ${CMAKE_SOURCE_DIR}/bench/win/table_dialog_bench.cpp
               ${app_parts} ${resource_script})
target_link_libraries(table_dialog_bench quillet_win)
add_dependencies(table_dialog_bench quillet_art)

# Start to a visible window, quillet.exe next to Wine's Notepad (make bench).
add_executable(start_bench ${CMAKE_SOURCE_DIR}/bench/win32/start_bench_win.cpp)
