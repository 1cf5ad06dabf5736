# The Debian package (tools/package.sh): trelvix_<version>_amd64.deb with the
# shared libraries it needs found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trelvix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The TRELVIX developers")
set(CPACK_PACKAGE_CONTACT "The TRELVIX developers <developers@trelvix.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lap counter and race-event recorder for model-car racing")
set(CPACK_PACKAGE_DESCRIPTION
  "TRELVIX counts the laps of up to twelve cars: the race director presses\n"
  "F1 to F12 as the cars cross the line, or a track gate on a serial port or\n"
  "the network reports the passes. Every pass is timed, checked against a\n"
  "minimum lap and written to disk at once. Race events per car, a results\n"
  "window for the public, spoken cues and a voice that reads lap times,\n"
  "positions and the finish in Spanish or English, and a live\n"
  "results page that phones on the local network follow during the race.\n"
  "A browser of past races prints reports and exports a race as CSV, an HTML\n"
  "page, charts and PDF, also from the command line with no display.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://trelvix.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The voice: loaded at run time, so no library link names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6texttospeech6, qt6-speech-speechd-plugin, speech-dispatcher, speech-dispatcher-espeak-ng")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Only the program's own files: no test or benchmark ever installs.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")
include(CPack)
