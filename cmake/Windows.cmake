# The Windows build's own part, cross-compiled with mingw-w64 (cmake/mingw-w64.cmake): static
# linking, the resource script compiled by windres, the zip, the Wine prefixes the tests run in,
# and the end-to-end test of skyrift.exe under Wine. The game, its layers, the tests and the
# benchmarks are built by CMakeLists.txt for both builds.
#
# The asset forge is a host program: its pictures, sounds and music come from the Linux build
# named by SKYRIFT_HOST_BUILD (`make windows` builds its assets first).
set(SKYRIFT_HOST_BUILD "${CMAKE_SOURCE_DIR}/build" CACHE PATH "The Linux build that forged the assets")
set(ASSET_DIR ${SKYRIFT_HOST_BUILD}/assets)
set(HOST_GAME_DIR ${SKYRIFT_HOST_BUILD}/game)
set(GAME_DIR ${CMAKE_BINARY_DIR}/game)
if(NOT EXISTS ${ASSET_DIR}/images.stamp OR NOT EXISTS ${ASSET_DIR}/audio.stamp)
  message(FATAL_ERROR "No forged assets in ${SKYRIFT_HOST_BUILD}: build its `assets` target first")
endif()

# No DLL to ship beside the executable: the C and C++ runtimes and the thread library are
# linked in.
add_link_options(-static -static-libgcc -static-libstdc++)

# Windows looks for a DLL beside the program first, and WINMM and MSACM32 are not among those it
# always takes from System32: a file of that name dropped beside skyrift.exe (in Downloads, say)
# would be loaded at start. They are delay-loaded instead, on first use, after the program has
# limited the search to System32 (platform/win32/DllSearch.cpp). Their delay-import libraries
# are made from the cross compiler's import libraries, so every function stays available.
function(skyrift_delay_import name result)
  find_file(IMPORT_${name} lib${name}.a PATHS ${CMAKE_FIND_ROOT_PATH}/lib REQUIRED)
  find_program(MINGW_NM NAMES x86_64-w64-mingw32-nm REQUIRED)
  find_program(MINGW_DLLTOOL NAMES x86_64-w64-mingw32-dlltool REQUIRED)
  execute_process(COMMAND ${MINGW_NM} -g --defined-only ${IMPORT_${name}}
    OUTPUT_VARIABLE symbols ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "__imp_[A-Za-z0-9_]+" functions "${symbols}")
  list(REMOVE_DUPLICATES functions)
  list(TRANSFORM functions REPLACE "^__imp_" "")
  string(JOIN "\n" exports ${functions})
  set(definition ${CMAKE_BINARY_DIR}/delay/${name}.def)
  set(library ${CMAKE_BINARY_DIR}/delay/lib${name}_delay.a)
  file(WRITE ${definition} "LIBRARY ${name}.dll\nEXPORTS\n${exports}\n")
  execute_process(COMMAND ${MINGW_DLLTOOL} -d ${definition} -D ${name}.dll -y ${library}
    COMMAND_ERROR_IS_FATAL ANY)
  set(${result} ${library} PARENT_SCOPE)
endfunction()
skyrift_delay_import(winmm DELAYED_WINMM)
skyrift_delay_import(msacm32 DELAYED_MSACM32)

set(LAYER_LIBRARIES_win32 ${DELAYED_WINMM} ${DELAYED_MSACM32} gdi32 user32)
# A windowed program: no console comes up beside the game.
set(SYSTEM_EXECUTABLE_KIND WIN32)
file(GLOB GAME_SOUNDS CONFIGURE_DEPENDS ${HOST_GAME_DIR}/*.wav ${HOST_GAME_DIR}/*.mp3)
# Wine finds the build tree on its drive Z:, whatever the working folder's drive.
set(TEST_PATH_PREFIX "Z:")
set(TEST_ENVIRONMENT "")
set(LAYER_TEST_ENVIRONMENT "")
set(TEST_DISCOVERY_OPTIONS DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)

# --- Resources: skyrift.rc compiled by windres, the forged files found in the asset folder --
set(RESOURCE_OBJECT ${CMAKE_BINARY_DIR}/skyrift_rc.o)
add_custom_command(OUTPUT ${RESOURCE_OBJECT}
  COMMAND ${CMAKE_RC_COMPILER} --include-dir ${ASSET_DIR} -O coff
          -i ${CMAKE_SOURCE_DIR}/resources/skyrift.rc -o ${RESOURCE_OBJECT}
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/skyrift.rc ${CMAKE_SOURCE_DIR}/resources/Images.inc
          ${ASSET_DIR}/images.stamp
  COMMENT "Compiling the resource script")
set(LAYER_RESOURCES_win32 ${RESOURCE_OBJECT})
# The program's own version resource and manifest, with the project's version: skyrift.exe
# carries them, the tests do not need them.
configure_file(${CMAKE_SOURCE_DIR}/resources/version.rc.in ${CMAKE_BINARY_DIR}/version.rc @ONLY)
set(VERSION_OBJECT ${CMAKE_BINARY_DIR}/version_rc.o)
add_custom_command(OUTPUT ${VERSION_OBJECT}
  COMMAND ${CMAKE_RC_COMPILER} -O coff -i ${CMAKE_BINARY_DIR}/version.rc -o ${VERSION_OBJECT}
  DEPENDS ${CMAKE_BINARY_DIR}/version.rc ${CMAKE_SOURCE_DIR}/resources/skyrift.manifest
  COMMENT "Compiling the version resource and the manifest")
set(SYSTEM_EXECUTABLE_SOURCES ${VERSION_OBJECT})

# The zip's README and licence, with the line ends Notepad has always expected.
set(ZIP_TEXTS ${CMAKE_BINARY_DIR}/zip)
configure_file(${CMAKE_SOURCE_DIR}/packaging/README.txt.in ${ZIP_TEXTS}/README.txt @ONLY NEWLINE_STYLE CRLF)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)
file(READ ${CMAKE_SOURCE_DIR}/LICENSE LICENSE_TEXT)
file(CONFIGURE OUTPUT ${ZIP_TEXTS}/LICENSE.txt CONTENT "${LICENSE_TEXT}" @ONLY NEWLINE_STYLE CRLF)
# Everything in one Skyrift folder inside the zip, so that "Extract all" and "Extract here" both
# give the player the game's folder rather than its files spilt among theirs.
set(GAME_ZIP ${CMAKE_BINARY_DIR}/Skyrift-windows.zip)
set(ZIP_ROOT ${CMAKE_BINARY_DIR}/zip-root)
add_custom_command(OUTPUT ${GAME_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${GAME_ZIP} ${ZIP_ROOT}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZIP_ROOT}/Skyrift
  COMMAND ${CMAKE_COMMAND} -E copy ${GAME_DIR}/skyrift.exe ${GAME_DIR}/controls.txt ${GAME_SOUNDS}
          ${ZIP_TEXTS}/README.txt ${ZIP_TEXTS}/LICENSE.txt ${ZIP_ROOT}/Skyrift
  COMMAND ${CMAKE_COMMAND} -E chdir ${ZIP_ROOT} zip -q -r ${GAME_ZIP} Skyrift
  DEPENDS skyrift ${GAME_SOUNDS} ${CMAKE_SOURCE_DIR}/controls.txt ${ZIP_TEXTS}/README.txt
          ${ZIP_TEXTS}/LICENSE.txt
  COMMENT "Packing Skyrift-windows.zip")
add_custom_target(package_zip ALL DEPENDS ${GAME_ZIP})

# --- Wine: one prefix without a display (its windows live in Wine's null driver) and one
# on the X server, each with an ALSA output that discards what it is given --------------
set(WINE_HEADLESS ${CMAKE_BINARY_DIR}/wine/headless)
set(WINE_X11 ${CMAKE_BINARY_DIR}/wine/x11)
set(WINE_HOME ${CMAKE_BINARY_DIR}/wine/home)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/wine/prefixes.stamp
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefixes ${CMAKE_BINARY_DIR}/wine
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/wine/prefixes.stamp
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/wine-prefixes
  COMMENT "Preparing the Wine prefixes for the tests")
add_custom_target(wine_prefixes DEPENDS ${CMAKE_BINARY_DIR}/wine/prefixes.stamp)
# Wine's own messages stay out of the tests' output unless asked for (warn+heap: its heap checks).
set(SKYRIFT_WINEDEBUG "-all" CACHE STRING "Wine's debug channels while the tests run")
set(WINE_ENVIRONMENT WINEPREFIX=${WINE_HEADLESS} HOME=${WINE_HOME} WINEDEBUG=${SKYRIFT_WINEDEBUG} DISPLAY=)
# Through scripts/wine-test, which runs a test again when Wine's server went away as it started.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-test env ${WINE_ENVIRONMENT}
  ${WINE64})

# GoogleTest built from Debian's sources by the cross compiler, where they and Wine to run the
# tests in are installed (`scripts/setup test-windows`); without them the build makes the zip.
if(WINE64 AND EXISTS /usr/src/googletest/CMakeLists.txt)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(GTEST_LIBRARIES gtest gtest_main)
endif()

# --- Benchmarks: Debian's Google Benchmark source (scripts/benchmark-source), cross-built ----
set(SKYRIFT_BENCHMARK_SOURCE "" CACHE PATH "Google Benchmark's source, for the Windows benchmarks")
if(SKYRIFT_BENCHMARK_SOURCE)
  set(BENCHMARK_ENABLE_TESTING OFF CACHE BOOL "" FORCE)
  set(BENCHMARK_ENABLE_GTEST_TESTS OFF CACHE BOOL "" FORCE)
  set(BENCHMARK_ENABLE_WERROR OFF CACHE BOOL "" FORCE)
  set(BENCHMARK_ENABLE_INSTALL OFF CACHE BOOL "" FORCE)
  add_subdirectory(${SKYRIFT_BENCHMARK_SOURCE} ${CMAKE_BINARY_DIR}/benchmark EXCLUDE_FROM_ALL)
  set(BENCHMARK_LIBRARIES benchmark::benchmark benchmark::benchmark_main)
endif()

# What hangs off the game's targets, once CMakeLists.txt has made them.
function(skyrift_system_targets)
  target_link_options(skyrift PRIVATE -s)  # the shipped program carries no debugging symbols
  # Sections aligned in the file as in memory, so that the system can map the 27 MB of pictures
  # straight from the file instead of copying them into private memory.
  target_link_options(skyrift PRIVATE -Wl,--file-alignment,4096)
  if(NOT GTEST_LIBRARIES)
    return()
  endif()
  # version: a test reads skyrift.exe's version resource as Explorer does.
  target_link_libraries(skyrift_platform_tests PRIVATE version)
  # A DLL that marks its own loading, planted by a test beside skyrift.exe under system names.
  add_library(planted_dll SHARED tests/platform/win32/planted/planted.cpp)
  set_target_properties(planted_dll PROPERTIES PREFIX "" OUTPUT_NAME planted)
  add_dependencies(skyrift_platform_tests planted_dll)
  target_compile_definitions(skyrift_platform_tests PRIVATE
    SKYRIFT_PLANTED_DLL="${TEST_PATH_PREFIX}$<TARGET_FILE:planted_dll>")
  add_dependencies(skyrift_tests wine_prefixes)
  add_dependencies(skyrift_platform_tests wine_prefixes)
  # The mix checked where it leaves the program: ALSA's `file` device, named in the prefixes'
  # .asoundrc, writes what waveOut plays to the file this variable names.
  set(SOUND_CAPTURE ${CMAKE_BINARY_DIR}/wine/waveout-capture.raw)
  add_test(NAME waveout_capture COMMAND skyrift_platform_tests --gtest_filter=WaveOut.*)
  set_tests_properties(waveout_capture PROPERTIES ENVIRONMENT "SKYRIFT_SOUND_CAPTURE=${SOUND_CAPTURE}")
  # A Windows without its MP3 codec, as the N editions are without their media pack: Wine's
  # codec turned off, by its older name and by the one Wine 8 gives it.
  add_test(NAME no_mp3_codec COMMAND skyrift_platform_tests --gtest_filter=NoMp3Codec.*)
  set_tests_properties(no_mp3_codec PROPERTIES ENVIRONMENT
    "WINEDLLOVERRIDES=winemp3.acm,l3codeca.acm=d;SKYRIFT_NO_MP3_CODEC=1")

  # The end-to-end test is a host program: it starts skyrift.exe under Wine on an Xvfb server,
  # presses keys and grabs the window through its own connection to the X server.
  find_program(HOST_CXX NAMES g++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
  file(GLOB WINE_E2E_SOURCES CONFIGURE_DEPENDS tests/e2e_wine/*.cpp tests/e2e_wine/*.h)
  if(WINE_E2E_SOURCES)
    # The test compares its grabs with the forged pictures, which it looks for beside the game.
    file(CREATE_LINK ${ASSET_DIR} ${CMAKE_BINARY_DIR}/assets SYMBOLIC)
    set(WINE_E2E ${CMAKE_BINARY_DIR}/skyrift_wine_e2e)
    list(FILTER WINE_E2E_SOURCES INCLUDE REGEX "\\.cpp$")
    add_custom_command(OUTPUT ${WINE_E2E}
      COMMAND ${HOST_CXX} -std=c++20 -O2 -Wall -Wextra -I${CMAKE_SOURCE_DIR}/tests/e2e
              -I${CMAKE_SOURCE_DIR}
              -DSKYRIFT_GAME_DIR="${GAME_DIR}" -DSKYRIFT_GAME_ZIP="${GAME_ZIP}"
              -DSKYRIFT_WINE="${WINE64}"
              -DSKYRIFT_WINEPREFIX="${WINE_X11}" -DSKYRIFT_WINE_HOME="${WINE_HOME}"
              ${WINE_E2E_SOURCES} ${CMAKE_SOURCE_DIR}/platform/ScreenFit.cpp
              ${CMAKE_SOURCE_DIR}/tests/e2e/XServer.cpp -o ${WINE_E2E}
              -lgtest -lgtest_main -lX11 -lXtst -pthread
      DEPENDS ${WINE_E2E_SOURCES} ${CMAKE_SOURCE_DIR}/tests/e2e/X11Session.h
              ${CMAKE_SOURCE_DIR}/tests/e2e/XServer.h ${CMAKE_SOURCE_DIR}/tests/e2e/XServer.cpp
              ${CMAKE_SOURCE_DIR}/tests/e2e/Picture.h ${CMAKE_SOURCE_DIR}/tests/TempFolder.h
              ${CMAKE_SOURCE_DIR}/platform/ScreenFit.h ${CMAKE_SOURCE_DIR}/platform/ScreenFit.cpp
      COMMENT "Building the end-to-end test for Wine with the host compiler"
      VERBATIM)
    add_custom_target(skyrift_wine_e2e ALL DEPENDS ${WINE_E2E})
    add_dependencies(skyrift_wine_e2e skyrift package_zip wine_prefixes)
    add_test(NAME end_to_end COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" ${WINE_E2E})
    set_tests_properties(end_to_end PROPERTIES TIMEOUT 600 ENVIRONMENT "WINEDEBUG=-all")
    # Alone, so that the game keeps its real-time pace while the test presses keys and grabs.
    set_tests_properties(end_to_end PROPERTIES RUN_SERIAL TRUE)
  endif()

  # The floor under the Windows figures (scripts/measure-windows): a bare window presenting a DIB.
  add_executable(gdi_floor WIN32 bench/win32/floor/gdi_floor.cpp)
  target_link_libraries(gdi_floor PRIVATE winmm gdi32 user32)
  skyrift_options(gdi_floor)
endfunction()
