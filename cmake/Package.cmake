# make package: build/tonarika_<version>_<arch>.deb, installed under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tonarika)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tonarika development team")
set(CPACK_PACKAGE_CONTACT "Tonarika development team <tonarika@users.noreply.github.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/tonarika/tonarika)
# The libraries come from the binary; the Japanese font is what the texts need.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-comic-neue, qt6-translations-l10n")
# CPack puts the leading space before each line of the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "ear-training game for absolute pitch
Tonarika plays a note, and the player names it on a twelve-key piano
keyboard, with the mouse or with letter keys. It shows at once whether the
answer was right and counts the questions, the misses and the correct-answer
rate of the run. The notes come in six timbres and three octaves if the
player chooses, and the notes a player misses can come back more often.
.
Easy asks the seven white keys, Hard all twelve, and Practice plays and names
every key pressed. Each finished run adds one line to a plain-text score file
in the user's data folder. All its texts are Japanese, and it can be played
with a screen reader.")
include(CPack)
