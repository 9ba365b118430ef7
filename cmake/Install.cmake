# Installing Vantora and packing it as a Debian package.
#
#   cmake --install <build> --prefix <prefix>
#     <prefix>/bin/vantora, <prefix>/bin/vantora-chart (installed by app/ and cli/)
#     <prefix>/share/vantora/        term files, pictures, map, places, notify.wav (data_folder()
#                                    finds them there from <prefix>/bin)
#     <prefix>/share/applications/jp.example.vantora.desktop
#     <prefix>/share/metainfo/jp.example.vantora.metainfo.xml
#     <prefix>/share/icons/hicolor/{scalable,16x16,…,256x256}/apps/jp.example.vantora.{svg,png}
#     <prefix>/share/man/man1/vantora.1.gz, vantora-chart.1.gz (when help2man is installed)
#     <prefix>/share/doc/vantora/    copyright, changelog.gz, README.md, README.data.md
#   cpack --config <build>/CPackConfig.cmake   → vantora_<version>_<arch>.deb, installed in /usr
#   scripts/package builds that package and checks it with Debian's tools.

set(VANTORA_APP_ID jp.example.vantora)
set(VANTORA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/vantora)
set(CPACK_PACKAGE_CONTACT "Vantora Project <vantora@example.jp>")

install(FILES ${VANTORA_DATA_FILES} DESTINATION ${VANTORA_SHARE_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${VANTORA_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/README.md DESTINATION ${VANTORA_DOC_DIR} RENAME README.data.md)

if(VANTORA_GUI)
  install(FILES ${CMAKE_SOURCE_DIR}/app/${VANTORA_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/app/${VANTORA_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  set(icons ${CMAKE_SOURCE_DIR}/data/icons)
  install(FILES ${icons}/${VANTORA_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size IN ITEMS 16 24 32 48 64 128 256)
    install(FILES ${icons}/${size}x${size}/${VANTORA_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()

# Manual pages, made at build time from each program's own --help (so they list every option as
# the program has it) by help2man, with the sections --help does not carry (batch format, exit
# statuses, files, examples) from man/<program>.h2m. The programs are found through PATH so that
# the usage line names the program and not the build folder. help2man comes with the packaging
# tools (scripts/setup --packaging); without it there are no pages and the package check fails.
find_program(VANTORA_HELP2MAN help2man)
if(VANTORA_HELP2MAN AND NOT VANTORA_SANITIZE)
  set(man_dir ${CMAKE_BINARY_DIR}/man)
  set(man_pages)
  # help2man names the sections in Japanese (名前, 書式, 説明 …) under a Japanese locale; one is
  # generated into the build folder, so the build needs none installed (localedef, from libc-bin).
  set(locale_dir ${CMAKE_BINARY_DIR}/locale)
  add_custom_command(
    OUTPUT ${locale_dir}/ja_JP.UTF-8/LC_CTYPE
    COMMAND ${CMAKE_COMMAND} -E make_directory ${locale_dir}
    COMMAND localedef -i ja_JP -f UTF-8 ${locale_dir}/ja_JP.UTF-8
    COMMENT "Japanese locale for the manual pages" VERBATIM)
  foreach(program IN ITEMS vantora-chart vantora)
    if(NOT TARGET ${program})
      continue()
    endif()
    set(page ${man_dir}/${program}.1)
    add_custom_command(
      OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}
      COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=LANGUAGE
              "PATH=$<TARGET_FILE_DIR:${program}>:/usr/bin:/bin" LOCPATH=${locale_dir}
              ${VANTORA_HELP2MAN} --no-info --locale=ja_JP.UTF-8 --section=1
              --version-string=${PROJECT_VERSION} --include=${CMAKE_SOURCE_DIR}/man/${program}.h2m
              --output=${page} ${program}
      # The usage line of --help stands in the page's 書式 already.
      COMMAND sed -i "/^使い方: /d" ${page}
      COMMAND gzip -9nf ${page}
      DEPENDS ${program} ${CMAKE_SOURCE_DIR}/man/${program}.h2m ${locale_dir}/ja_JP.UTF-8/LC_CTYPE
      COMMENT "Manual page of ${program}" VERBATIM)
    list(APPEND man_pages ${page}.gz)
  endforeach()
  add_custom_target(vantora_man ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
elseif(NOT VANTORA_HELP2MAN)
  message(STATUS "help2man not found: no manual pages (./scripts/setup --packaging installs it)")
endif()

# changelog.gz: CHANGELOG.md in Debian's changelog format (cmake/DebianChangelog.cmake).
set(changelog ${CMAKE_BINARY_DIR}/changelog/changelog)
add_custom_command(
  OUTPUT ${changelog}.gz
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/CHANGELOG.md -DOUTPUT=${changelog}
          -DPACKAGE=vantora "-DMAINTAINER=${CPACK_PACKAGE_CONTACT}"
          -P ${CMAKE_SOURCE_DIR}/cmake/DebianChangelog.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_SOURCE_DIR}/cmake/DebianChangelog.cmake
  COMMENT "Changelog of the package" VERBATIM)
add_custom_target(vantora_changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${changelog}.gz DESTINATION ${VANTORA_DOC_DIR})

# The program is MIT-licensed; the map picture is GPL-2 data read at run time (see data/README.md).
set(VANTORA_COPYRIGHT_FILE ${CMAKE_BINARY_DIR}/copyright)
file(WRITE ${VANTORA_COPYRIGHT_FILE} "\
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Vantora
Upstream-Contact: Vantora Project <vantora@example.jp>
Source: https://vantora.example.jp

Files: *
Copyright: 2026 Vantora Project
License: MIT
 Permission is hereby granted, free of charge, to any person obtaining a copy
 of this software and associated documentation files (the \"Software\"), to deal
 in the Software without restriction, including without limitation the rights
 to use, copy, modify, merge, publish, distribute, sublicense, and/or sell
 copies of the Software, and to permit persons to whom the Software is
 furnished to do so, subject to the following conditions:
 .
 The above copyright notice and this permission notice shall be included in
 all copies or substantial portions of the Software.
 .
 THE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
 IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
 FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE
 AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER
 LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM,
 OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE
 SOFTWARE.

Files: data/japan_map.bmp
Copyright: Richard A. Becker, Allan R. Wilks (original S code of the R package mapdata)
           Ray Brownrigg (R version); Japan data courtesy of Ritei Shibata, Keio University
License: GPL-2
 Derived from the R package mapdata. This data file is free software; you can
 redistribute it and/or modify it under the terms of the GNU General Public
 License, version 2, as published by the Free Software Foundation.
 .
 On Debian systems the full text of the GNU General Public License version 2
 is in /usr/share/common-licenses/GPL-2.
")
install(FILES ${VANTORA_COPYRIGHT_FILE} DESTINATION ${VANTORA_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vantora Project")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Four Pillars (四柱推命) birth-chart calculator")
# The extended description (the summary above is its first line): lines of at most 80 columns.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vantora computes the Four Pillars (eight characters, 八字) chart of a birth
date and time: the true solar time, the Sun's longitude from Newcomb's solar
theory, the four pillars with their hidden stems and ten-god relations, and
the ten-year luck pillars with the age of the first change.
.
The package holds the Japanese desktop program (vantora) and a command for
scripts (vantora-chart) that writes the same charts as text or JSON, one at a
time or in batches.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://vantora.example.jp")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_VANTORA_OBJCOPY ${CMAKE_OBJCOPY})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/StripComments.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Libraries the programs link (Qt, libstdc++, libc) come from dpkg-shlibdeps; among them
# libqt6gui6, which also holds the xcb and offscreen screen plug-ins, and libqt6multimedia6, which
# holds the media back-ends the notice chime is played with. Loaded at run time and invisible to
# dpkg-shlibdeps: the Qt SQL driver of the chart book, and the Gothic faces the windows are drawn
# with. Wayland sessions need Qt's Wayland plug-in; under XWayland the xcb one does. Qt's own
# dialogs (file dialogs, message-box buttons) read in Japanese with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
include(CPack)
