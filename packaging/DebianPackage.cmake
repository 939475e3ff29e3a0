# `cpack -G DEB` in the build tree makes folivar_<version>_<arch>.deb from the
# install rules. dpkg-shlibdeps works out the library dependencies.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME folivar)
set(CPACK_PACKAGE_CONTACT "The Folivar developers <folivar@folivar.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reader for long plain-text Chinese novels")
set(CPACK_PACKAGE_DESCRIPTION
  "Folivar lists the plain-text novels of one folder, cuts the open book into
chapters and shows one chapter at a time. It remembers the book, the chapter,
the line and the font and colours, converts the shown chapter between
Simplified and Traditional characters and hides behind a global key.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://folivar.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SQLite driver of Qt Sql, which keeps the book store, is a plugin loaded
# at run time, so the linker cannot see it. The sync password goes into the
# desktop's keyring through QtKeychain.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6texttospeech6, libqt6keychain1")
# The conversion tables, the fonts the reader names and Qt's Wayland platform
# are found at run time too, and so are 朗读's speech-dispatcher plugin and
# the service itself; without them the reader works and says 朗读 is unavailable.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "libopencc-data, fonts-noto-cjk, qt6-wayland, qt6-speech-speechd-plugin, speech-dispatcher")

include(CPack)
