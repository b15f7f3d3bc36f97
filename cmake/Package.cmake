# Installing the game as a Debian package (`make package`: build/skyrift_<version>_amd64.deb):
# the program in /usr/games, its data in /usr/share/games/skyrift (found from the program, so the
# unpacked tree works from any root), the desktop's entry, metainfo and icons under one id, the
# man page, the copyright and the changelog.
set(APP_ID io.github.skyrift.Skyrift)
set(PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(DOC_DIR ${CMAKE_BINARY_DIR}/packaging)

# Debian's hardening flags for the shipped program, as dpkg-buildflags gives them (the build type
# already picks the optimisation). Not under the sanitizers, nor unoptimised, where fortified
# functions do not apply.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(DPKG_BUILDFLAGS AND NOT SKYRIFT_SANITIZE AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${DPKG_BUILDFLAGS} --get ${kind}
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(REMOVE_ITEM flags -g -O2)
    set(HARDENING_${kind} ${flags})
  endforeach()
  foreach(target skyrift_game skyrift_${SKYRIFT_PLATFORM} skyrift)
    target_compile_options(${target} PRIVATE ${HARDENING_CPPFLAGS} ${HARDENING_CXXFLAGS})
  endforeach()
  target_link_options(skyrift PRIVATE ${HARDENING_LDFLAGS})
endif()

# The documents that carry the version, and the gzipped ones Debian wants.
configure_file(${PACKAGING_DIR}/${APP_ID}.metainfo.xml.in ${DOC_DIR}/${APP_ID}.metainfo.xml @ONLY)
configure_file(${PACKAGING_DIR}/skyrift.6.in ${DOC_DIR}/skyrift.6 @ONLY)
configure_file(${PACKAGING_DIR}/changelog.in ${DOC_DIR}/changelog @ONLY)
foreach(document skyrift.6 changelog)
  add_custom_command(OUTPUT ${DOC_DIR}/${document}.gz
    COMMAND gzip -9n -c ${DOC_DIR}/${document} > ${DOC_DIR}/${document}.gz
    DEPENDS ${DOC_DIR}/${document}
    VERBATIM)
  list(APPEND GZIPPED_DOCUMENTS ${DOC_DIR}/${document}.gz)
endforeach()
add_custom_target(package_documents ALL DEPENDS ${GZIPPED_DOCUMENTS})

install(TARGETS skyrift RUNTIME DESTINATION games)
install(FILES ${CMAKE_SOURCE_DIR}/controls.txt DESTINATION share/games/skyrift)
install(DIRECTORY ${GAME_DIR}/ DESTINATION share/games/skyrift
  FILES_MATCHING PATTERN "*.wav" PATTERN "*.mp3")
install(FILES ${PACKAGING_DIR}/${APP_ID}.desktop DESTINATION share/applications)
install(FILES ${DOC_DIR}/${APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size 16 32 48 64 128 256)
  install(FILES ${ASSET_DIR}/skyrift_${size}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${APP_ID}.png)
endforeach()
install(FILES ${DOC_DIR}/skyrift.6.gz DESTINATION share/man/man6)
install(FILES ${PACKAGING_DIR}/copyright ${DOC_DIR}/changelog.gz DESTINATION share/doc/skyrift)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skyrift)
set(CPACK_PACKAGE_VENDOR "The Skyrift developers")
set(CPACK_PACKAGE_CONTACT "The Skyrift developers <skyrift@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "top-down space shoot-'em-up for one or two players")
# Debian wants the long description's lines under 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Fly over long scrolling skies, fire volleys that widen with power-ups, drop"
  "screen-clearing bombs, slow the world with bullet time, repair in recharge"
  "mode and spend what you earn on upgrades. Stage 1 is a scripted run of enemy"
  "waves, two warnings and a boss with two destructible engines; stage 2 replays"
  "the waves over other skies and music. Two players share one keyboard; player 1"
  "may use a gamepad.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/skyrift/skyrift)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Only what the package installs: no source or test packages, no other generators' files.
set(CPACK_OUTPUT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackConfig.cmake)
include(CPack)
