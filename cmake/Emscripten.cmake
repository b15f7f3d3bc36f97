# The browser build's own part, compiled with Debian's emscripten (its frozen cache of system
# libraries; no ports, which would download): the page and its data, the zip for a game site,
# the tests under node and the end-to-end test in headless Chromium. The game, its layers, the
# tests and the benchmarks are built by CMakeLists.txt for every build.
#
# The asset forge is a host program: its pictures, sounds and music come from the Linux build
# named by SKYRIFT_HOST_BUILD (`make web` builds its assets first).
set(SKYRIFT_HOST_BUILD "${CMAKE_SOURCE_DIR}/build" CACHE PATH "The Linux build that forged the assets")
set(ASSET_DIR ${SKYRIFT_HOST_BUILD}/assets)
set(HOST_GAME_DIR ${SKYRIFT_HOST_BUILD}/game)
set(GAME_DIR ${CMAKE_BINARY_DIR}/game)
set(SITE_DIR ${CMAKE_BINARY_DIR}/site)
if(NOT EXISTS ${ASSET_DIR}/images.stamp OR NOT EXISTS ${ASSET_DIR}/audio.stamp)
  message(FATAL_ERROR "No forged assets in ${SKYRIFT_HOST_BUILD}: build its `assets` target first")
endif()

# -g would carry the whole program's debugging information into every download.
set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O2")
set(CMAKE_C_FLAGS_RELWITHDEBINFO "-O2")

file(GLOB GAME_SOUNDS CONFIGURE_DEPENDS ${HOST_GAME_DIR}/*.wav ${HOST_GAME_DIR}/*.mp3)
set(TEST_PATH_PREFIX "")
set(TEST_ENVIRONMENT "")
set(LAYER_TEST_ENVIRONMENT "")
set(TEST_DISCOVERY_OPTIONS DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)

# Node runs the tests. Node 20 fetches on its own where emscripten's loader expects to read files,
# and emscripten's optimising linker finds its JavaScript modules only through NODE_PATH.
find_program(NODE_EXECUTABLE NAMES node nodejs REQUIRED)
set(NODE_MODULES /usr/share/nodejs)
set(CMAKE_CROSSCOMPILING_EMULATOR ${NODE_EXECUTABLE} --no-experimental-fetch)
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${NODE_MODULES})

# The embedded pictures alone are 32 MB; memory grows as the game loads them.
add_link_options(-sINITIAL_MEMORY=64MB -sALLOW_MEMORY_GROWTH=1)
# The tests read and write the machine's own files (the game folder, temporary folders) and end
# with the exit code of their main.
set(NODE_TEST_LINK_OPTIONS -sNODERAWFS=1 -sEXIT_RUNTIME=1)

# Tests that node cannot run, each system's own matter: under node a program's standard error is
# node's own and cannot be captured, and a named pipe is made as a plain file, so the tests that
# check what is said there or done with a pipe are left to the other builds. A page cannot know
# the system's uptime: its tick count is the clock's milliseconds, which differ from one visit to
# the next as the uptime does (tests/platform/web checks that it is not the page's age). The key
# legend's tests start the whole game on this build's layer, whose window is a page's canvas:
# under node there is none (tests/platform/web checks the page's lettering itself).
set(SKIPPED_TESTS
  ControlsFile.ReadingStopsAtTheFirstValueThatIsNotANumber
  ControlsFile.ANumberThatIsNoKeyCodeBindsNothingAndIsNamed
  ControlsFile.AMissingOrUnreadableFileIsReportedAndBindsNothing
  ControlsFile.APlayersFileThatBindsNoKeyGivesWayToTheDefault
  Trace.ALogThatCannotBeWrittenIsSaidOnceWithItsReason
  SoundLayer.UnusableFilesAreRefusedAndNamedWithTheirReason
  SoundLayer.MultiChunkFilesAreJudgedByTheFormatTheDecoderUses
  SoundLayer.EveryBuildPlaysOrRefusesAWavFileForTheSameReason
  KeyLegend.*
  Clock.TheRealTickCountIsTheSystemsUptimeNotTheProgramsAge)
list(JOIN SKIPPED_TESTS ":" SYSTEM_SKIPPED_TESTS)
set(SYSTEM_SKIPPED_TESTS ":${SYSTEM_SKIPPED_TESTS}")

# GoogleTest built from Debian's sources by emscripten.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set(GTEST_LIBRARIES gtest gtest_main)

# What hangs off the game's targets, once CMakeLists.txt has made them.
function(skyrift_system_targets)
  foreach(tests skyrift_tests skyrift_platform_tests)
    target_link_options(${tests} PRIVATE ${NODE_TEST_LINK_OPTIONS})
  endforeach()
  # A page has no MIDI synthesiser: its songs are the null layer's, which never play. Its reasons
  # and answers go where the null layer's do, to standard error and output: the page's console.
  target_sources(skyrift_web PRIVATE ${CMAKE_SOURCE_DIR}/platform/null/Midi.cpp
    ${CMAKE_SOURCE_DIR}/platform/null/Report.cpp)
  # stb_truetype letters the text: Debian's copy, outside emscripten's own headers.
  target_include_directories(skyrift_web SYSTEM PRIVATE /usr/include/stb)

  # The game: its loop waits by handing the page's thread back to the browser (only the calls
  # that lead to that wait are rewritten for it), the data package preloaded at /game, and the
  # player's folder kept in the browser's storage.
  set(PAGE_DIR ${CMAKE_SOURCE_DIR}/platform/web/page)
  set(DATA_DIR ${CMAKE_BINARY_DIR}/data)
  add_custom_command(OUTPUT ${DATA_DIR}/data.stamp
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${DATA_DIR}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DATA_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/controls.txt ${GAME_SOUNDS} ${DATA_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${DATA_DIR}/data.stamp
    DEPENDS ${CMAKE_SOURCE_DIR}/controls.txt ${GAME_SOUNDS}
    COMMENT "Gathering the page's data package")
  add_custom_target(page_data DEPENDS ${DATA_DIR}/data.stamp)
  add_dependencies(skyrift page_data)
  target_link_options(skyrift PRIVATE -sASYNCIFY=1 -sASYNCIFY_IGNORE_INDIRECT=1
    -sEXPORTED_RUNTIME_METHODS=FS -lidbfs.js --pre-js ${PAGE_DIR}/storage.js
    --exclude-file ${DATA_DIR}/data.stamp --preload-file ${DATA_DIR}@/game)
  set_target_properties(skyrift PROPERTIES
    LINK_DEPENDS "${PAGE_DIR}/storage.js;${DATA_DIR}/data.stamp")

  # The site: the page, the game and its data, and a zip of them for a game site.
  set(SITE_FILES ${SITE_DIR}/index.html ${SITE_DIR}/controls.js ${SITE_DIR}/skyrift.js
    ${SITE_DIR}/skyrift.wasm ${SITE_DIR}/skyrift.data)
  set(GAME_ZIP ${CMAKE_BINARY_DIR}/Skyrift-web.zip)
  add_custom_command(OUTPUT ${SITE_FILES} ${GAME_ZIP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SITE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${PAGE_DIR}/index.html ${PAGE_DIR}/controls.js
            ${GAME_DIR}/skyrift.js ${GAME_DIR}/skyrift.wasm ${GAME_DIR}/skyrift.data ${SITE_DIR}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${GAME_ZIP}
    COMMAND zip -q -j ${GAME_ZIP} ${SITE_FILES}
    DEPENDS skyrift ${PAGE_DIR}/index.html ${PAGE_DIR}/controls.js
    COMMENT "Putting the site together in ${SITE_DIR}")
  add_custom_target(site ALL DEPENDS ${SITE_FILES} ${GAME_ZIP})

  # The page played in headless Chromium, driven through its DevTools protocol. Alone, so that
  # the game keeps its real-time pace while the test counts its frames.
  add_test(NAME end_to_end COMMAND ${NODE_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/e2e_web/page_test.js
           ${SITE_DIR} ${ASSET_DIR})
  set_tests_properties(end_to_end PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
endfunction()
