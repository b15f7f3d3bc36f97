# The Linux build's own part: the libraries it finds installed, the asset forge that makes every
# picture, sound and music file, the Debian package, and the end-to-end test on an X server.
# The game, its layers, the tests and the benchmarks are built by CMakeLists.txt for both builds.

find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL REQUIRED IMPORTED_TARGET sdl2 SDL2_mixer SDL2_ttf)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
# The tests and the benchmarks are built where their libraries are installed (`scripts/setup`);
# a machine set up only to play (`scripts/setup play`) builds the game alone.
find_package(GTest)
find_package(benchmark)
find_library(MP3LAME_LIBRARY mp3lame REQUIRED)
# flite speaks the ship computer's announcements, in its US English female voice.
find_library(FLITE_LIBRARY flite REQUIRED)
find_library(FLITE_VOICE_LIBRARY flite_cmu_us_slt REQUIRED)
find_library(FLITE_LANG_LIBRARY flite_usenglish REQUIRED)
find_library(FLITE_LEX_LIBRARY flite_cmulex REQUIRED)

set(GAME_DIR ${CMAKE_BINARY_DIR}/game)
set(ASSET_DIR ${CMAKE_BINARY_DIR}/assets)
if(GTest_FOUND)
  set(GTEST_LIBRARIES GTest::gtest GTest::gtest_main)
endif()
if(benchmark_FOUND)
  set(BENCHMARK_LIBRARIES benchmark::benchmark benchmark::benchmark_main)
endif()
set(LAYER_LIBRARIES_sdl PkgConfig::SDL)
# The forge writes the sounds and music straight into the game folder.
set(GAME_SOUNDS "")
set(TEST_PATH_PREFIX "")
set(TEST_DISCOVERY_OPTIONS DISCOVERY_TIMEOUT 60)
# The SDL layer's tests open its offscreen window and its silent audio output.
set(LAYER_TEST_ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
set(TEST_ENVIRONMENT "")
if(SKYRIFT_SANITIZE)
  # Leaks in system libraries (X11, audio back ends) are theirs; ours fail the run.
  list(APPEND TEST_ENVIRONMENT
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
    "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endif()

# --- The asset forge: every picture, sound and music file, made by code -------------------
file(GLOB_RECURSE FORGE_SOURCES CONFIGURE_DEPENDS tools/forge/*.cpp tools/forge/*.h)
# It names the shipped keys as the game does.
add_executable(forge ${FORGE_SOURCES} game/KeyNames.cpp)
target_include_directories(forge PRIVATE tools/forge ${CMAKE_SOURCE_DIR} ${GENERATED_DIR})
target_compile_options(forge PRIVATE -O2 -Wall -Wextra)
target_link_libraries(forge PRIVATE PkgConfig::SDL PkgConfig::FREETYPE ${MP3LAME_LIBRARY}
  ${FLITE_VOICE_LIBRARY} ${FLITE_LANG_LIBRARY} ${FLITE_LEX_LIBRARY} ${FLITE_LIBRARY} m)

add_custom_command(OUTPUT ${ASSET_DIR}/images.stamp
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ASSET_DIR}
  COMMAND forge images ${ASSET_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${ASSET_DIR}/images.stamp
  DEPENDS forge ${CMAKE_SOURCE_DIR}/resources/skyrift.rc ${CMAKE_SOURCE_DIR}/resources/Images.inc
  COMMENT "Forging the game's pictures")
add_custom_command(OUTPUT ${ASSET_DIR}/audio.stamp
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GAME_DIR}
  COMMAND forge audio ${GAME_DIR} ${ASSET_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${ASSET_DIR}/audio.stamp
  DEPENDS forge
  COMMENT "Forging the game's sounds and music")
add_custom_target(assets ALL DEPENDS ${ASSET_DIR}/audio.stamp)
add_custom_target(contact_sheet
  COMMAND forge sheet ${ASSET_DIR} ${CMAKE_BINARY_DIR}/contact_sheet.png)
add_dependencies(assets skyrift_resources)
add_dependencies(contact_sheet skyrift_resources)

# What hangs off the game's targets, once CMakeLists.txt has made them.
function(skyrift_system_targets)
  add_dependencies(skyrift assets)
  # The floor under the Linux figures (scripts/measure): a bare SDL window with sound.
  add_executable(sdl_floor bench/sdl/floor/sdl_floor.cpp)
  target_link_libraries(sdl_floor PRIVATE PkgConfig::SDL)
  skyrift_options(sdl_floor)
  include(cmake/Package.cmake)
  if(NOT GTEST_LIBRARIES)
    return()
  endif()

  # Only Linux runs the soak, which reads its memory figures from /proc.
  file(GLOB LINUX_ONLY_TESTS CONFIGURE_DEPENDS tests/linux-only/*.cpp)
  target_sources(skyrift_tests PRIVATE ${LINUX_ONLY_TESTS})
  # Twenty minutes of game time at full speed: seconds in the plain build, a few minutes under
  # the sanitizers; the timeout leaves room for a loaded CI machine.
  add_test(NAME soak COMMAND skyrift_tests --gtest_filter=Soak.*)
  set_tests_properties(soak PROPERTIES ENVIRONMENT "${TEST_ENVIRONMENT}" TIMEOUT 900)

  # The forge is a host tool: its picture codecs and palette quantiser are tested directly, and
  # its music decoded with the encoder library's own decoder.
  file(GLOB FORGE_TESTS CONFIGURE_DEPENDS tests/forge/*.cpp)
  target_sources(skyrift_platform_tests PRIVATE ${FORGE_TESTS} tools/forge/images/Canvas.cpp
    tools/forge/images/Palette.cpp tools/forge/images/BmpFile.cpp tools/forge/images/Png.cpp)
  target_include_directories(skyrift_platform_tests PRIVATE tools/forge)
  target_link_libraries(skyrift_platform_tests PRIVATE ${MP3LAME_LIBRARY})

  # Every C++ source is as clang-format makes it.
  add_test(NAME SourcesFormatted COMMAND ${CMAKE_SOURCE_DIR}/scripts/check_format)
  # No folder of the game includes one above it or its own files in a circle, only platform/
  # includes SDL, and the null layer only the standard library.
  add_test(NAME IncludesPointDown COMMAND ${CMAKE_SOURCE_DIR}/scripts/check_layers)
  # The check itself catches each fault in a small tree that has them.
  add_test(NAME IncludeCheckCatchesClimbingIncludes
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/check_layers ${CMAKE_SOURCE_DIR}/tests/layers)
  set_tests_properties(IncludeCheckCatchesClimbingIncludes PROPERTIES
    PASS_REGULAR_EXPRESSION "Leaky.cpp:4: platform/null includes only[^!]*Leaky.cpp:5: platform/null includes only[^!]*graphics/Scaler.h:5: only platform/ includes SDL[^!]*sprites/Climber.cpp:3: sprites includes engine[^!]*game: includes run in a circle through Cycle Frame"
    FAIL_REGULAR_EXPRESSION "Fine.cpp|Globals|Surface|Leaky.cpp:[23]:")

  # The end-to-end test drives the real executable in a real X server, in real time. It runs in
  # the optimised build only: stage 1 run in real time by the sanitized game would take long, and
  # the same game code runs under the sanitizers through the headless tests. It needs the game on
  # SDL.
  file(GLOB E2E_SOURCES CONFIGURE_DEPENDS tests/e2e/*.cpp)
  if(E2E_SOURCES AND NOT SKYRIFT_SANITIZE AND SKYRIFT_PLATFORM STREQUAL "sdl")
    # It scales the title picture with the game's own scaler, to compare with a scaled window.
    add_executable(skyrift_e2e ${E2E_SOURCES} platform/ScreenFit.cpp)
    target_include_directories(skyrift_e2e PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(skyrift_e2e PRIVATE ${GTEST_LIBRARIES} X11 Xtst)
    target_compile_definitions(skyrift_e2e PRIVATE SKYRIFT_GAME_DIR="${GAME_DIR}"
      SKYRIFT_VERSION="${PROJECT_VERSION}")
    skyrift_options(skyrift_e2e)
    # It keeps pace with the game's clock while it searches its grabs: optimised in every build.
    target_compile_options(skyrift_e2e PRIVATE -O2)
    add_dependencies(skyrift_e2e skyrift)
    add_test(NAME end_to_end COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:skyrift_e2e>
             --gtest_filter=-OnA*Screen.*)
    set(E2E_ENVIRONMENT "${TEST_ENVIRONMENT};${LAYER_TEST_ENVIRONMENT};SDL_VIDEODRIVER=")
    set_tests_properties(end_to_end PROPERTIES ENVIRONMENT "${E2E_ENVIRONMENT}" TIMEOUT 900)
    # The suites that need a screen of their own size, each on a server of that size.
    foreach(screen 1920x1080 1280x720)
      add_test(NAME end_to_end_${screen} COMMAND xvfb-run -a -s "-screen 0 ${screen}x24"
               $<TARGET_FILE:skyrift_e2e> --gtest_filter=OnA${screen}Screen.*)
      set_tests_properties(end_to_end_${screen} PROPERTIES ENVIRONMENT "${E2E_ENVIRONMENT}" TIMEOUT 300)
    endforeach()
  endif()
endfunction()
