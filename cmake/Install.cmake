# Installing Vantora and packing it as a Debian package.
#
#   cmake --install <build> --prefix <prefix>
#     <prefix>/bin/vantora, <prefix>/bin/vantora-chart (installed by app/ and cli/)
#     <prefix>/share/vantora/        term files, pictures, notify.wav, README.md (data_folder()
#                                    finds them there from <prefix>/bin)
#     <prefix>/share/applications/vantora.desktop
#     <prefix>/share/icons/hicolor/{256x256,48x48}/apps/vantora.png
#     <prefix>/share/doc/vantora/copyright
#   cpack --config <build>/CPackConfig.cmake   → vantora_<version>_<arch>.deb, installed in /usr

install(FILES ${VANTORA_DATA_FILES} ${CMAKE_SOURCE_DIR}/data/README.md DESTINATION ${VANTORA_SHARE_DIR})

if(VANTORA_GUI)
  install(FILES ${CMAKE_SOURCE_DIR}/app/vantora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/data/vantora.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
  install(FILES ${CMAKE_SOURCE_DIR}/data/vantora-48.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME vantora.png)
endif()

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
install(FILES ${VANTORA_COPYRIGHT_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vantora)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vantora Project")
set(CPACK_PACKAGE_CONTACT "Vantora Project <vantora@example.jp>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Four Pillars (四柱推命) birth-chart calculator")
set(CPACK_PACKAGE_DESCRIPTION
    "Vantora computes the four pillars, hidden stems, ten-god relations and luck pillars of a birth \
date and time, with a Japanese desktop interface (vantora) and a command for scripts (vantora-chart).")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://vantora.example.jp")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vantora Project <vantora@example.jp>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Library packages (Qt, libstdc++, libc) come from dpkg-shlibdeps; these are loaded at run time
# and are invisible to it: the screen plug-ins and the Gothic faces the windows are drawn with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite, fonts-ipafont-gothic")
include(CPack)
