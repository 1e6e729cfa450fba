# Installing: the programs go to PREFIX/bin (mvx_home_executable), the read-only program
# data of the staged home to PREFIX/share/mvxbrxspecial. Working folders and files made
# while the program runs stay out, and nothing goes into a learner's home.
set(MVX_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/mvxbrxspecial)

get_property(_mvx_programs GLOBAL PROPERTY MVX_HOME_EXECUTABLES)
set(_mvx_excludes)
foreach(p IN LISTS _mvx_programs)
  list(APPEND _mvx_excludes PATTERN ${p} EXCLUDE)
endforeach()
# The working folders the program makes at start and the files it writes while running.
foreach(w notebook tmpwav soundsample segment ecm temp listen script usersnd tmpfile
          "tmp*" "rndsnd*" "*.partial" "*.search" "*.lock" "*-journal" "*-wal" "*-shm")
  list(APPEND _mvx_excludes PATTERN ${w} EXCLUDE)
endforeach()
install(DIRECTORY ${MVX_HOME}/ DESTINATION ${MVX_INSTALL_DATADIR} ${_mvx_excludes})

# Debian package (scripts/package): one package with the programs and their data.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mvxbrxspecial)
set(CPACK_PACKAGE_VENDOR "MorvexSoft")
set(CPACK_PACKAGE_CONTACT "MorvexSoft <support@morvexsoft.net>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "intensive listening with slow-speed English news")
set(CPACK_PACKAGE_DESCRIPTION "Lentoria is a study program for Chinese-speaking learners of English.
It plays slow-speed English news sentence by sentence with the English
text, the Chinese translation and comments beside it: sentence and A-B
repeats, read-along gaps, waveforms, word masks, key and new words, an
English-Chinese dictionary and a word notebook. A tray launcher starts
the suite and reminds of word reviews.")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "espeak-ng-data, fonts-noto-cjk")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://morvexsoft.net/lentoria/")
set(CPACK_STRIP_FILES ON)
include(CPack)
