# Metadata, manual pages and the Debian packages: scripts/package.sh runs
# cpack, which writes quorvel_<version>_<arch>.deb and
# quorvel-engines_<version>_<arch>.deb. CPack packs exactly what
# `cmake --install` installs, so the packages cannot drift from the install
# rules, and it needs no build tool beyond dpkg-dev.

# The manual pages, compressed as Debian installs them.
set(_man_pages
  ${PROJECT_SOURCE_DIR}/man/quorvel.1 ${CMAKE_BINARY_DIR}/man/man1/quorvel.1.gz
  ${PROJECT_SOURCE_DIR}/man/zh_CN/man1/quorvel.1 ${CMAKE_BINARY_DIR}/man/zh_CN/man1/quorvel.1.gz)
set(_man_outputs)
while(_man_pages)
  list(POP_FRONT _man_pages _source _gz)
  get_filename_component(_gz_dir ${_gz} DIRECTORY)
  # -n: no name or time stamp in the header, so the same page packs the same bytes.
  add_custom_command(
    OUTPUT ${_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_gz_dir}
    COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${_source} ${_gz}
    DEPENDS ${_source}
    VERBATIM)
  list(APPEND _man_outputs ${_gz})
endwhile()
# The Debian changelog of both packages (native: changelog.gz), compressed the same way.
set(_changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(
  OUTPUT ${_changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${PROJECT_SOURCE_DIR}/packaging/changelog ${_changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  VERBATIM)
list(APPEND _man_outputs ${_changelog})
add_custom_target(quorvel_man_pages ALL DEPENDS ${_man_outputs})
install(FILES ${_changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvel)
install(FILES ${_changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvel-engines
  COMPONENT engines)

install(FILES ${CMAKE_BINARY_DIR}/man/man1/quorvel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/man/zh_CN/man1/quorvel.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/zh_CN/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/io.github.marrowby.quorvel.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Debian's copyright file: the licence, then the credits of NOTICE.
file(READ ${PROJECT_SOURCE_DIR}/packaging/copyright.in _copyright)
file(READ ${PROJECT_SOURCE_DIR}/NOTICE _notice)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/copyright CONTENT "${_copyright}${_notice}" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/packaging/copyright.in ${PROJECT_SOURCE_DIR}/NOTICE)
install(FILES ${CMAKE_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvel)
install(FILES ${CMAKE_BINARY_DIR}/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvel-engines COMPONENT engines)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR Marrowby)
set(CPACK_PACKAGE_CONTACT "Marrowby <marrowby@users.noreply.github.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://github.com/marrowby/quorvel)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The build keeps its debug information; the package does not need it.
set(CPACK_STRIP_FILES ON)

# Two packages: the tutor, and the tables for fcitx5, IBus and Rime, so that
# a learner who only wants the tutor does not get an input method's tables.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL tutor engines)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_TUTOR_PACKAGE_NAME quorvel)
# Libraries (Qt 6 Widgets with its X11 platform, Qt Charts, SQLite, libzip, libjpeg, OpenCC)
# come from dpkg-shlibdeps; OpenCC is named as well, since its conversion data
# (libopencc-data, which it depends on) is what simplifies traditional texts;
# the rest are loaded or opened by the program itself:
# FluidSynth (loaded when the first tune plays), Qt's Chinese dialog texts, a
# General MIDI sound font for the tunes, Chinese fonts for the practice grid,
# and fontconfig for the 宋体 alias.
set(CPACK_DEBIAN_TUTOR_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_TUTOR_PACKAGE_DEPENDS
  "libopencc1.1, libfluidsynth3, qt6-translations-l10n, timgm6mb-soundfont | sf2-soundfont-gm, fonts-noto-cjk | fonts-arphic-uming, fontconfig")
set(CPACK_DEBIAN_TUTOR_PACKAGE_SUGGESTS quorvel-engines)
set(CPACK_DEBIAN_TUTOR_DESCRIPTION
  "typing tutor for the Lanchuan shape-sound Chinese input method
Quorvel (奎沃) teaches the 岚川形音输入法, where a character is typed as
a code of at most four letters: the roots of its components, then the
initial of its pinyin. It drills roots, characters by code level and
words, lets the learner copy-type texts, runs timed tests and shows
speed and accuracy while practising.")

set(CPACK_DEBIAN_ENGINES_PACKAGE_NAME quorvel-engines)
# An engine that works as installed: ibus-table brings ibus, which brings
# ibus-gtk3 among its recommendations; fcitx5-table needs the fcitx5 daemon
# and its GTK and Qt modules beside it, Rime its front end (ibus-rime or
# fcitx5-rime). Each engine's whole set is suggested.
set(CPACK_DEBIAN_ENGINES_PACKAGE_RECOMMENDS "ibus-table | fcitx5-table | ibus-rime | fcitx5-rime")
set(CPACK_DEBIAN_ENGINES_PACKAGE_SUGGESTS
  "fcitx5, fcitx5-table, fcitx5-frontend-gtk3, fcitx5-frontend-qt5, ibus, ibus-table, ibus-gtk3, ibus-rime | fcitx5-rime")
set(CPACK_DEBIAN_ENGINES_DESCRIPTION
  "Lanchuan shape-sound input method tables for fcitx5, IBus and Rime
The code tables of the 岚川形音输入法 that the Quorvel typing tutor
teaches, compiled for fcitx5-table, ibus-table and Rime, so the method
can be used outside the tutor, with the same candidates under every
code as in the tutor.
.
To switch it on: under fcitx5, restart fcitx5, add 岚川形音 in Fcitx
configuration, Input Method, and switch with Ctrl+Space; under IBus, run
ibus restart, add 岚川形音 under Chinese in IBus Preferences, Input
Method, and switch with Super+Space; under Rime, copy
/usr/share/doc/quorvel-engines/examples/default.custom.yaml into the
Rime user folder (or add its lines to the one there), redeploy and pick
岚川形音 with Ctrl+grave (Ctrl+`).")

include(CPack)
