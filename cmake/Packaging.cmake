# Installation and the Debian package night-shooter (`cpack -G DEB` in the
# build folder). Under the prefix (/usr in the package):
#   games/night-shooter                 the launcher, which gives every user a
#                                       game folder of their own (see the script)
#   lib/games/night-shooter/shooter     the game
#   share/games/night-shooter/          config.txt, shaders/ and the generated assets/
#   share/applications, share/icons     the menu entry and its icons
#   share/man/man6, share/doc           the man page, the copyright and changelog
# The assets are generated at build time, so they are installed from the
# build's runtime folder, the whole folder, whatever the generator writes.
set(NIGHT_SHOOTER_VERSION 0.1.0)
set(NIGHT_SHOOTER_DEBIAN_REVISION 1)
set(NIGHT_SHOOTER_MAINTAINER "Night Shooter maintainers <maintainers@users.noreply.c-seed-b400fdfb.example>"
    CACHE STRING "The Maintainer field of the Debian package")

set(PACKAGING_SOURCE ${CMAKE_SOURCE_DIR}/packaging)
set(PACKAGING_BINARY ${CMAKE_BINARY_DIR}/packaging)
set(data_dir share/games/night-shooter)

install(TARGETS shooter RUNTIME DESTINATION lib/games/night-shooter)
install(PROGRAMS ${PACKAGING_SOURCE}/night-shooter DESTINATION games)
install(FILES ${CMAKE_SOURCE_DIR}/game/config.txt DESTINATION ${data_dir})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/game/shaders DESTINATION ${data_dir})
# The icons go to the icon theme instead; the stamp only marks the last run.
install(DIRECTORY ${GAME_RUNTIME_DIR}/assets DESTINATION ${data_dir}
        PATTERN .generated EXCLUDE
        PATTERN icons EXCLUDE)
install(DIRECTORY ${GAME_RUNTIME_DIR}/assets/icons/hicolor DESTINATION share/icons)
install(FILES ${PACKAGING_SOURCE}/night-shooter.desktop DESTINATION share/applications)
install(FILES ${PACKAGING_SOURCE}/night-shooter.lintian-overrides DESTINATION share/lintian/overrides
        RENAME night-shooter)
# Debian's hardening: the game binds every symbol at start, so the relocation
# table can be read-only for the whole run.
target_link_options(shooter PRIVATE LINKER:-z,relro,-z,now)

# Debian wants the man page and the changelog compressed with gzip -9n (no
# name or time stamp inside, so every build gives the same bytes).
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${NIGHT_SHOOTER_MAINTAINER})
set(NIGHT_SHOOTER_DEBIAN_VERSION ${NIGHT_SHOOTER_VERSION}-${NIGHT_SHOOTER_DEBIAN_REVISION})
configure_file(${PACKAGING_SOURCE}/changelog.Debian.in ${PACKAGING_BINARY}/changelog.Debian @ONLY)
add_custom_command(
  OUTPUT ${PACKAGING_BINARY}/night-shooter.6.gz ${PACKAGING_BINARY}/changelog.Debian.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${PACKAGING_SOURCE}/night-shooter.6 ${PACKAGING_BINARY}/night-shooter.6
  COMMAND gzip -9nf ${PACKAGING_BINARY}/night-shooter.6
  COMMAND gzip -9nkf ${PACKAGING_BINARY}/changelog.Debian
  DEPENDS ${PACKAGING_SOURCE}/night-shooter.6 ${PACKAGING_BINARY}/changelog.Debian
  COMMENT "Compressing the man page and the Debian changelog"
  VERBATIM)
add_custom_target(packaging_docs ALL
  DEPENDS ${PACKAGING_BINARY}/night-shooter.6.gz ${PACKAGING_BINARY}/changelog.Debian.gz)
install(FILES ${PACKAGING_BINARY}/night-shooter.6.gz DESTINATION share/man/man6)
install(FILES ${PACKAGING_SOURCE}/copyright ${PACKAGING_BINARY}/changelog.Debian.gz
        DESTINATION share/doc/night-shooter)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME night-shooter)
set(CPACK_PACKAGE_VERSION ${NIGHT_SHOOTER_VERSION})
set(CPACK_PACKAGE_VENDOR "The Night Shooter developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "third-person 3D shooter on a night map")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
You steer an animated character through a three-level night map of floors,
stairs and walls, seen by a camera orbiting behind it. You fire a rifle, fly
a jetpack and fight enemies that chase you across the levels. Shadows of the
moon and three lamps, fog and skeletal animation are drawn with OpenGL.
Everything tunable comes from one key/value file, which every user edits in
a game folder of their own.]=])
set(CPACK_DEBIAN_PACKAGE_RELEASE ${NIGHT_SHOOTER_DEBIAN_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the game links, found by dpkg-shlibdeps (package dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Folders that the install rules make on the way get 0755 whatever the umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
