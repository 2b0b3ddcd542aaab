# Desktop integration and the Debian package: the guides inside the program, the per-user
# data folder of an installed program, the install rules and CPack.
#   cmake --install build --prefix /tmp/z      an installed tree
#   (cd build && cpack -G DEB)                 zerkavi_<version>_amd64.deb

# ---- the guides travel inside the editor; the data-folder rule is shared with the CLI ----
zerkavi_embed(ZERKAVI_GUIDES ${CMAKE_SOURCE_DIR}/assets/guides/ReadMe.doc
              zerkavi::embedded::guideEnglish)
zerkavi_embed(ZERKAVI_GUIDES ${CMAKE_SOURCE_DIR}/assets/guides/BeniOku
              zerkavi::embedded::guideTurkish)
target_sources(zerkavi_window PRIVATE ${ZERKAVI_GUIDES})
foreach(program zerkavi zerkavi-cli)
  target_sources(${program} PRIVATE ${CMAKE_SOURCE_DIR}/app/data_folder.cpp)
endforeach()

# The icon's generator, run by hand; its SVG and PNGs are committed.
add_executable(gen_icon EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/packaging/icons/gen_icon.cpp)
target_link_libraries(gen_icon PRIVATE Qt6::Gui)

# ---- manual pages and the Debian changelog, compressed as Debian wants them --------------
set(ZERKAVI_PKG ${CMAKE_BINARY_DIR}/packaging)
find_program(HELP2MAN help2man)
if(NOT HELP2MAN)
  message(FATAL_ERROR "help2man is missing: tools/setup.sh installs it")
endif()
add_custom_command(OUTPUT ${ZERKAVI_PKG}/zerkavi-cli.1.gz ${ZERKAVI_PKG}/zerkavi.1.gz
                          ${ZERKAVI_PKG}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZERKAVI_PKG}
  COMMAND ${HELP2MAN} --no-info --version-string=${PROJECT_VERSION}
          --include=${CMAKE_SOURCE_DIR}/packaging/zerkavi-cli.h2m
          --output=${ZERKAVI_PKG}/zerkavi-cli.1 $<TARGET_FILE:zerkavi-cli>
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/zerkavi.1
          ${CMAKE_SOURCE_DIR}/packaging/changelog ${ZERKAVI_PKG}
  COMMAND gzip -9nf ${ZERKAVI_PKG}/zerkavi-cli.1 ${ZERKAVI_PKG}/zerkavi.1 ${ZERKAVI_PKG}/changelog
  DEPENDS zerkavi-cli ${CMAKE_SOURCE_DIR}/packaging/zerkavi-cli.h2m
          ${CMAKE_SOURCE_DIR}/packaging/zerkavi.1 ${CMAKE_SOURCE_DIR}/packaging/changelog
  COMMENT "Manual pages and changelog" VERBATIM)
add_custom_target(zerkavi_docs ALL DEPENDS ${ZERKAVI_PKG}/zerkavi-cli.1.gz)

# ---- what `cmake --install` and the package put where ------------------------------------
include(GNUInstallDirs)
set(ZERKAVI_SHARE ${CMAKE_INSTALL_DATAROOTDIR})
install(TARGETS zerkavi zerkavi-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/org.zerkavi.Zerkavi.desktop
        DESTINATION ${ZERKAVI_SHARE}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/org.zerkavi.Zerkavi.metainfo.xml
        DESTINATION ${ZERKAVI_SHARE}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/zerkavi.svg
        DESTINATION ${ZERKAVI_SHARE}/icons/hicolor/scalable/apps)
foreach(size 48 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/zerkavi-${size}.png
          DESTINATION ${ZERKAVI_SHARE}/icons/hicolor/${size}x${size}/apps RENAME zerkavi.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/assets/guides/ReadMe.doc ${CMAKE_SOURCE_DIR}/assets/guides/BeniOku
              ${CMAKE_SOURCE_DIR}/packaging/copyright ${ZERKAVI_PKG}/changelog.gz
        DESTINATION ${ZERKAVI_SHARE}/doc/zerkavi)
install(FILES ${ZERKAVI_PKG}/zerkavi-cli.1.gz ${ZERKAVI_PKG}/zerkavi.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# ---- the Debian package --------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zerkavi)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zerkavi maintainers <maintainers@zerkavi.example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://zerkavi.example.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and player for the usuls of Turkish classical music")
# The summary above is the synopsis line; this is the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Zerkavi shows the usuls (rhythmic cycles) of Turkish classical music as
chains of beat circles with their Düm and Tek strokes, lets students and
teachers edit them with the mouse and plays them on a kudüm, a bendir or a
def at any tempo. It comes with a library of 186 classical usuls, writes
rehearsal work plans (meşk planı) that chain, repeat, slow down or speed up
usuls, prints the notation and saves it as JPEG. The window speaks Turkish
and English; zerkavi-cli renders usuls to WAV files without it.")
include(CPack)

# ---- tests of the installed tree and the package ---------------------------------------------
include(${CMAKE_SOURCE_DIR}/tests/packaging/tests.cmake)
