# What `cmake --install` puts in place besides the programs: the menu-start
# launcher, desktop entry, icons, AppStream metainfo, man pages and the
# package's documentation files. The programs install themselves next to
# their targets (bin/).
include(GNUInstallDirs)

set(QUILL_APP_ID org.quillscope.Quillscope)
# The date of the release named by PROJECT_VERSION, for the metainfo file.
set(QUILL_RELEASE_DATE 2026-12-06)
set(quill_packaging ${CMAKE_SOURCE_DIR}/packaging)
set(quill_generated ${CMAKE_BINARY_DIR}/packaging)

configure_file(${quill_packaging}/${QUILL_APP_ID}.metainfo.xml.in ${quill_generated}/${QUILL_APP_ID}.metainfo.xml @ONLY)

# The launcher and the desktop entry name absolute paths, which are known only
# at install time: CPack installs with its own prefix (/usr), whatever the
# build folder's CMAKE_INSTALL_PREFIX says.
install(CODE "
  set(QUILL_PROGRAM_PATH \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quillscope\")
  set(QUILL_LAUNCHER_PATH \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBEXECDIR}/quillscope/quillscope-launcher\")
  configure_file(\"${quill_packaging}/quillscope-launcher.in\" \"${quill_generated}/install/quillscope-launcher\" @ONLY)
  configure_file(\"${quill_packaging}/${QUILL_APP_ID}.desktop.in\" \"${quill_generated}/install/${QUILL_APP_ID}.desktop\" @ONLY)
")
install(PROGRAMS ${quill_generated}/install/quillscope-launcher DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/quillscope)
install(FILES ${quill_generated}/install/${QUILL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${quill_generated}/${QUILL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${quill_packaging}/icons/quillscope-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${QUILL_APP_ID}.png)
endforeach()
install(FILES ${quill_packaging}/icons/quillscope.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME ${QUILL_APP_ID}.svg)

# Man pages: scdoc sources in the tree, rendered and compressed at build time.
find_program(QUILL_SCDOC scdoc REQUIRED)
find_program(QUILL_GZIP gzip REQUIRED)
file(GLOB quill_man_sources CONFIGURE_DEPENDS ${quill_packaging}/man/*.scd)
set(quill_man_pages)
foreach(source ${quill_man_sources})
  get_filename_component(page ${source} NAME_WE) # quillscope.1.scd -> quillscope
  set(output ${quill_generated}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${quill_generated}/man
    COMMAND sh -c "'${QUILL_SCDOC}' < '${source}' | '${QUILL_GZIP}' -9n > '${output}'"
    DEPENDS ${source}
    COMMENT "Rendering man page ${page}(1)"
    VERBATIM)
  list(APPEND quill_man_pages ${output})
endforeach()
add_custom_target(quill_man_pages ALL DEPENDS ${quill_man_pages})
install(FILES ${quill_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Debian wants these under the package's own name, whatever the project's is;
# a package without a Debian revision keeps its changelog as changelog.gz.
set(quill_docdir ${CMAKE_INSTALL_DATADIR}/doc/quillscope)
add_custom_command(OUTPUT ${quill_generated}/changelog.gz
  COMMAND sh -c "'${QUILL_GZIP}' -9n < '${quill_packaging}/changelog' > '${quill_generated}/changelog.gz'"
  DEPENDS ${quill_packaging}/changelog
  VERBATIM)
add_custom_target(quill_changelog ALL DEPENDS ${quill_generated}/changelog.gz)
install(FILES ${quill_packaging}/copyright ${quill_generated}/changelog.gz DESTINATION ${quill_docdir})
# What `quillscope-cli report` writes as JSON, for those who read it by program.
install(FILES ${CMAKE_SOURCE_DIR}/docs/site-report.schema.json DESTINATION ${quill_docdir})
