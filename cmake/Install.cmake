# Installation and the Debian package.
#
# `cmake --install` lays the program out as a desktop program of the system:
#   bin/                                  velmora, velmora-cli
#   share/applications/                   the desktop entry
#   share/icons/hicolor/<size>/apps/      the icon as PNG (16 to 256) and SVG
#   share/metainfo/                       AppStream metadata
#   share/man/man1/                       manual pages of both programs (gzipped)
#   share/velmora/                        the program's data: manual/, pages/, translations/,
#                                         backpic/ (background pictures offered on first start)
#   share/doc/velmora/                    copyright and changelog
# The build tree holds the same data in <build>/data/, so a built program finds it beside its
# executable and an installed one in ../share/velmora.

include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/Translations.cmake)

set(VELMORA_APP_ID org.velmora.Velmora)
set(VELMORA_DIST ${CMAKE_CURRENT_SOURCE_DIR}/dist)
set(VELMORA_DATA_BUILD ${CMAKE_CURRENT_BINARY_DIR}/data)
set(VELMORA_DATA_INSTALL ${CMAKE_INSTALL_DATADIR}/velmora)
set(VELMORA_ICON_SIZES 16 22 24 32 48 64 128 256)

find_program(VELMORA_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(VELMORA_GZIP gzip REQUIRED)

# Icons rendered from our SVG drawing at every size the menus ask for.
set(icon_outputs)
foreach(size IN LISTS VELMORA_ICON_SIZES)
    set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/${VELMORA_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}
        COMMAND ${VELMORA_RSVG_CONVERT} -w ${size} -h ${size} -o ${png}
                ${VELMORA_DIST}/icons/velmora.svg
        DEPENDS ${VELMORA_DIST}/icons/velmora.svg
        COMMENT "Rendering the ${size}x${size} icon" VERBATIM)
    list(APPEND icon_outputs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual pages and the changelog go gzipped without a time stamp, as Debian wants them.
set(gz_outputs)
foreach(page velmora velmora-cli)
    set(gz ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.1.gz)
    add_custom_command(OUTPUT ${gz}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
        COMMAND ${VELMORA_GZIP} -9nc ${VELMORA_DIST}/man/${page}.1 > ${gz}
        DEPENDS ${VELMORA_DIST}/man/${page}.1
        COMMENT "Compressing the manual page ${page}(1)")
    list(APPEND gz_outputs ${gz})
    install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
set(changelog_gz ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/doc
    COMMAND ${VELMORA_GZIP} -9nc ${VELMORA_DIST}/changelog > ${changelog_gz}
    DEPENDS ${VELMORA_DIST}/changelog
    COMMENT "Compressing the changelog")
list(APPEND gz_outputs ${changelog_gz})

# The background pictures, staged into the build tree's data folder beside the others.
file(GLOB VELMORA_BACKPICS CONFIGURE_DEPENDS ${VELMORA_DIST}/backpic/*.jpg)
set(backpic_outputs)
foreach(picture IN LISTS VELMORA_BACKPICS)
    get_filename_component(name ${picture} NAME)
    add_custom_command(OUTPUT ${VELMORA_DATA_BUILD}/backpic/${name}
        COMMAND ${CMAKE_COMMAND} -E copy ${picture} ${VELMORA_DATA_BUILD}/backpic/${name}
        DEPENDS ${picture} VERBATIM)
    list(APPEND backpic_outputs ${VELMORA_DATA_BUILD}/backpic/${name})
endforeach()

add_custom_target(velmora_install_files ALL
    DEPENDS ${icon_outputs} ${gz_outputs} ${backpic_outputs})

# Programs.
install(TARGETS velmora-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(VELMORA_GUI)
    install(TARGETS velmora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# A stripped install (the package) also drops the compiler's identification, as Debian's own
# packages do.
if(CMAKE_OBJCOPY)
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            foreach(program velmora velmora-cli)
                set(file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\")
                if(EXISTS \"\${file}\")
                    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                                            \"\${file}\" COMMAND_ERROR_IS_FATAL ANY)
                endif()
            endforeach()
        endif()")
endif()

# Desktop integration.
install(FILES ${VELMORA_DIST}/${VELMORA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VELMORA_DIST}/icons/velmora.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VELMORA_APP_ID}.svg)
install(FILES ${VELMORA_DIST}/${VELMORA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${VELMORA_DIST}/copyright ${changelog_gz}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velmora)
install(FILES ${VELMORA_DIST}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME velmora)

# The program's data: everything the build tree's data folder holds (manual, product pages,
# translations, background pictures), whoever put it there.
install(DIRECTORY ${VELMORA_DATA_BUILD}/ DESTINATION ${VELMORA_DATA_INSTALL}
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# The Debian package (`make package`): dependencies worked out from the binaries by
# dpkg-shlibdeps, plus what the programs load at run time without linking it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Velmora developers")
# The program has no published homepage or mailing address: the package names no Homepage,
# and the maintainer's address lies in the reserved .example domain, which reaches nobody.
set(CPACK_PACKAGE_CONTACT "Velmora developers <dev@velmora.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "slide-show videos from photographs and songs")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Chinese text needs a font with CJK coverage; Qt's own dialogs speak Chinese with Qt's
# translations; Wayland and other platforms come as plugins; the disc images beside the video
# are made by dvdauthor and genisoimage (DVD) or vcdimager (VCD, SVCD), which are run when asked
# for and named in the message when missing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-uming | fonts-noto-cjk | fonts-wqy-zenhei")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, qt6-qpa-plugins, dvdauthor, genisoimage, vcdimager")
# CPack writes the summary as the synopsis and indents these lines (a blank line becomes " .").
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Velmora keeps albums of photographs and MP3 songs and renders an album
into one video file: MPEG for VCD, SVCD or DVD, with a disc image if asked,
or H.264 in MP4 at 720p or 1080p. Every picture carries a title, a dwell
time and one of 105 transition effects, previewed while it is edited; the
songs play with a spectrum display and become the video's soundtrack.

The package holds the desktop program velmora, in Chinese and English,
with its HTML manual, and the command line velmora-cli.")
include(CPack)

# The installed copy, checked from a temporary root: every file in place, the desktop entry and
# metadata valid, both programs run from there. The package gets the same check in
# `make package-test` (scripts/package-test.sh).
if(VELMORA_TESTS AND VELMORA_GUI)
    add_test(NAME installed_program
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/installed_program_test.sh
                --install ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(installed_program PROPERTIES TIMEOUT 300 LABELS install)
endif()
