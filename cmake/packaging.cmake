# The version of this build and what is shipped: included once from CMakeLists.txt, after the
# kavlo and kavlodex targets.
#
# project(kavlodex VERSION …) is the one version number. It reaches
#  - the version resources of kavlodex.exe and kavlo.exe (res/version.rc2, through the header
#    generated/kavlo_version.h that only the resource compiler reads): FILEVERSION and the
#    "FileVersion" string as MAJOR.MINOR.PATCH.0, which the about box shortens, and the "Date"
#    string, the release date (yyyy-mm-dd) whose digits the update check compares;
#  - `kavlo --version` (KAVLO_VERSION, a definition of the kavlo target only);
#  - the names of the packages that release.sh makes.
# The date is the day of the configure run in UTC, or that of SOURCE_DATE_EPOCH when it is set
# (release.sh sets it from the last commit, so that a release built twice is the same).

set(KAVLO_VERSION ${PROJECT_VERSION})
set(KAVLO_FILE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
string(TIMESTAMP KAVLO_RELEASE_DATE "%Y-%m-%d" UTC)

target_compile_definitions(kavlo PRIVATE KAVLO_VERSION="${KAVLO_VERSION}")

if(WIN32)
  # configure_file writes only when the text changes: the resources compile again when the
  # version or the day does, the C++ sources never.
  configure_file(${CMAKE_SOURCE_DIR}/res/version.h.in ${CMAKE_BINARY_DIR}/generated/kavlo_version.h @ONLY)
  set(_kavlo_version_dir $<$<COMPILE_LANGUAGE:RC>:${CMAKE_BINARY_DIR}/generated>)
  # Every executable that compiles res/*.rc links kavlo_app (kavlodex, the tests, the start-up
  # benchmark).
  target_include_directories(kavlo_app PUBLIC ${_kavlo_version_dir})
  # kavlo.exe: its own version resource, with no manifest, dialogs or images.
  target_sources(kavlo PRIVATE ${CMAKE_SOURCE_DIR}/res/cli/kavlo.rc)
  target_include_directories(kavlo PRIVATE ${_kavlo_version_dir})
  # windres writes no list of the files it read: the resources name what they include, so that
  # a new version or day compiles them again (tests/CMakeLists.txt does the same for its copy).
  set(KAVLO_VERSION_RC_DEPENDS ${CMAKE_BINARY_DIR}/generated/kavlo_version.h ${CMAKE_SOURCE_DIR}/res/version.rc2)
  set_source_files_properties(${KAVLODEX_RC} ${CMAKE_SOURCE_DIR}/res/cli/kavlo.rc
                              PROPERTIES OBJECT_DEPENDS "${KAVLO_VERSION_RC_DEPENDS}")
endif()

# The Linux package: a kavlo that needs no shared library of the system (-static), its man page
# made from `kavlo --help` (cmake/manpage.cmake), and `cpack -G DEB` / `cpack -G TGZ` from a
# tree configured with KAVLO_PACKAGE_CLI=ON (release.sh's build/release-linux).
option(KAVLO_PACKAGE_CLI "Link kavlo statically and package it with its man page (Linux)" OFF)
if(KAVLO_PACKAGE_CLI AND NOT WIN32)
  target_link_options(kavlo PRIVATE -static)
  set(_man ${CMAKE_BINARY_DIR}/man/kavlo.1)
  add_custom_command(OUTPUT ${_man}.gz
    COMMAND ${CMAKE_COMMAND} -DKAVLO=$<TARGET_FILE:kavlo> -DVERSION=${KAVLO_VERSION}
            -DDATE=${KAVLO_RELEASE_DATE} -DTEMPLATE=${CMAKE_SOURCE_DIR}/docs/kavlo.1.in
            -DOUT=${_man} -P ${CMAKE_SOURCE_DIR}/cmake/manpage.cmake
    COMMAND gzip -9nf ${_man}
    DEPENDS kavlo ${CMAKE_SOURCE_DIR}/docs/kavlo.1.in ${CMAKE_SOURCE_DIR}/cmake/manpage.cmake
    COMMENT "Writing the man page of kavlo")
  add_custom_target(kavlo_man ALL DEPENDS ${_man}.gz)

  # cpack installs what the package holds, and no more is built for it than that.
  set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
  install(TARGETS kavlo RUNTIME DESTINATION bin COMPONENT kavlo)
  install(FILES ${_man}.gz DESTINATION share/man/man1 COMPONENT kavlo)

  set(CPACK_PACKAGE_NAME kavlo)
  set(CPACK_PACKAGE_VERSION ${KAVLO_VERSION})
  set(CPACK_PACKAGE_VENDOR "the Kavlodex authors")
  set(CPACK_PACKAGE_CONTACT "Kavlodex authors <kavlodex@kavlodex.example>")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "list and compare Navision object files")
  set(CPACK_PACKAGE_DESCRIPTION
      "kavlo lists the objects of Navision object files (.fob, .fbk, .txt, .xml), compares two\n"
      "files object by object, shows what changed inside objects, splits a text export into\n"
      "one file per object and joins it again, and merges three versions of an export.")
  string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
  set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # kavlo_VERSION_amd64.deb
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.kavlodex.example/")
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "")  # static: nothing
  set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
  include(CPack)
endif()
