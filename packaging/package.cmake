# What the installed program needs besides the two executables (icons, manual pages,
# copyright, changelog), and the Debian package built from it by CPack
# (scripts/package: normativ_<version>_<arch>.deb).

set(_normativ_pkg ${CMAKE_CURRENT_LIST_DIR})

# Menus and panels ask for the icon in fixed sizes; the PNGs are rendered from
# src/app/normativ.svg once and kept here, so that the build needs no renderer.
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${_normativ_pkg}/icons/normativ-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME normativ.png)
endforeach()

# Manual pages and the changelog are installed compressed; -n keeps the time out of the
# gzip header, so that the same sources give the same package.
set(_normativ_gz)
foreach(file man/normativ.1 man/normativ-calc.1 man/ru/normativ.1 man/ru/normativ-calc.1
             changelog)
  set(copy ${PROJECT_BINARY_DIR}/packaging/${file})
  add_custom_command(
    OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${_normativ_pkg}/${file} ${copy}
    COMMAND gzip -9nf ${copy}
    DEPENDS ${_normativ_pkg}/${file}
    VERBATIM)
  list(APPEND _normativ_gz ${copy}.gz)
endforeach()
add_custom_target(normativ_packaging_files ALL DEPENDS ${_normativ_gz})

set(_gz ${PROJECT_BINARY_DIR}/packaging)
install(FILES ${_gz}/man/normativ.1.gz ${_gz}/man/normativ-calc.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_gz}/man/ru/normativ.1.gz ${_gz}/man/ru/normativ-calc.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/ru/man1)
install(FILES ${_normativ_pkg}/copyright ${_gz}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME normativ)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Normativ DOU developers")
set(CPACK_PACKAGE_CONTACT "Normativ DOU developers <normativ-dou@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "financing normatives of a preschool institution (Норматив ДОУ)")
# Lines of the long description stay under 80 columns: dpkg shows them as written.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Норматив ДОУ is a Russian-language desktop program for preschool institutions
and municipal education departments. A question-by-question wizard collects an
institution's figures; the program computes the per-pupil financing normatives
for education and maintenance, the yearly subsidies and two recommended budget
estimates, and writes report and estimate workbooks (.xlsx).
normativ-calc computes the same on the command line from answers documents,
saved reports and statistical forms, for many institutions at once.

Расчет нормативов финансирования и субсидий дошкольного образовательного
учреждения, рекомендуемых смет и сводных книг по учреждениям муниципалитета.")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# <name>_<version>_<arch>.deb: the package has no Debian revision of its own.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The libraries come from dpkg-shlibdeps; what Qt loads at run time it can't see: the
# X11 platform plugin, Qt's Russian translations (qtbase_ru, loaded at start) and a font
# with Cyrillic letters for the Russian texts. The SVG plugin only draws the window icon,
# xdg-open opens written workbooks in the spreadsheet program.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, fonts-dejavu-core | fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6svg6, xdg-utils")
include(CPack)
