# The Linux program as a Debian package: `cpack -G DEB` in a build folder gives
# twk3_<version>_<arch>.deb. The programs go in /usr/lib/twk3, which is their
# program folder (the help and the keeper are found beside the program), and
# the commands in /usr/bin link there.

include(GNUInstallDirs)
# The programs are the package's own, not libraries: no multiarch folder.
set(TWK_PACKAGE_FOLDER lib/twk3)
set(twk_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(twk_package_build ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${twk_package_build})

# Compresses a file of packaging/linux without a time stamp, as Debian wants
# it, and installs it into destination.
function(twk_package_gzipped name destination)
  execute_process(COMMAND gzip -9n -c ${twk_packaging}/linux/${name} OUTPUT_FILE ${twk_package_build}/${name}.gz
                  COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${twk_package_build}/${name}.gz DESTINATION ${destination})
endfunction()

# Puts a program in the package's folder; with COMMAND, also on the PATH as
# /usr/bin/<name>, with its manual page packaging/linux/<name>.1. One line per
# program: twk_package_program(twk3 COMMAND).
function(twk_package_program target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "COMMAND" "" "")
  install(TARGETS ${target} RUNTIME DESTINATION ${TWK_PACKAGE_FOLDER})
  if(arg_COMMAND)
    set(link ${twk_package_build}/bin/${target})
    file(MAKE_DIRECTORY ${twk_package_build}/bin)
    file(CREATE_LINK ../${TWK_PACKAGE_FOLDER}/${target} ${link} SYMBOLIC)
    install(FILES ${link} DESTINATION ${CMAKE_INSTALL_BINDIR})
    twk_package_gzipped(${target}.1 ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endfunction()

install(FILES ${TWK_HELP_SOURCE} DESTINATION ${TWK_PACKAGE_FOLDER} RENAME ${TWK_HELP_FILE_NAME})
install(FILES ${twk_packaging}/linux/twk3.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${twk_packaging}/linux/example.tarnwick.twk3.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${twk_packaging}/icons/twk3-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME twk3.png)
endforeach()
install(FILES ${twk_packaging}/icons/twk3.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The copyright and the changelog.
set(twk_doc ${CMAKE_INSTALL_DATADIR}/doc/twk3)
install(FILES ${twk_packaging}/linux/copyright DESTINATION ${twk_doc})
twk_package_gzipped(changelog ${twk_doc})

set(CPACK_PACKAGE_NAME twk3)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tarnwick developers")
set(CPACK_PACKAGE_CONTACT "The Tarnwick developers <twk3@tarnwick.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_NAME twk3)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tarnwick.example/twk3/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries' packages come from the programs (SHLIBDEPS); Qt's platform
# plugins, loaded at run time, are named here.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
# CPack indents the lines after the first itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "clipboard logger and link catcher in the system tray
TWK (Tarnwick 3.0) looks at the clipboard every one to five seconds. Each
new text is shown in a small viewer, saved to a clipboard log, and tested
for links (web and e-mail addresses, ftp and news sites), which go to the
Link Catcher window and a log of their own. Texts marked secret are skipped.")
set(CPACK_GENERATOR DEB)
include(CPack)
