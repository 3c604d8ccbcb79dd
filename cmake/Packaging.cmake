# The Debian package (scripts/package): what `cmake --install` puts under /usr, with the
# libraries it needs found by dpkg-shlibdeps from the binaries themselves.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sonarchive)
set(CPACK_PACKAGE_VENDOR "Sonarchive")
set(CPACK_PACKAGE_CONTACT "Sonarchive developers <developers@sonarchive.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalog of audio files, also of discs and shares not at hand")
set(CPACK_PACKAGE_DESCRIPTION
    "Sonarchive keeps a catalog of MP3, Ogg Vorbis, WAV and Monkey's Audio files in an SQLite\n\
database, with the volume each file lives on, so that files on USB sticks, CDs and network\n\
shares stay in the catalog when the medium is not at hand. Browse, search, retag, rename,\n\
organize, de-duplicate, collect and play them; sonarchive-cli works on the same catalog\n\
from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://sonarchive.org")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The mini player plays through GStreamer, whose decoders Qt Multimedia does not link.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-good, gstreamer1.0-plugins-base")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
include(CPack)
