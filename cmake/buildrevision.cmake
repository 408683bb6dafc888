# cmake -DSOURCE_DIR=<checkout> -DOUTPUT=<file.cpp> -P buildrevision.cmake
#
# Writes OUTPUT, the definition of BuildRevision::text(): `git describe
# --always --dirty` of SOURCE_DIR, or "unknown" when SOURCE_DIR is not the top
# of a git checkout (a source tarball unpacked inside some other repository
# must not report that repository's revision). OUTPUT is rewritten only when
# its text changes, so an unchanged checkout rebuilds nothing.

set(revision unknown)
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" rev-parse --show-toplevel
                  OUTPUT_VARIABLE top RESULT_VARIABLE result ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(top "${top}" REALPATH)
  get_filename_component(source "${SOURCE_DIR}" REALPATH)
  if(result EQUAL 0 AND top STREQUAL source)
    execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" describe --always --dirty
                    OUTPUT_VARIABLE described RESULT_VARIABLE result ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(result EQUAL 0 AND NOT described STREQUAL "")
      # A tag name may hold quotes or backslashes; the revision goes into a
      # string literal.
      string(REGEX REPLACE "[^A-Za-z0-9._+/-]" "_" revision "${described}")
    endif()
  endif()
endif()

set(text "// Written by cmake/buildrevision.cmake at build time.
#include \"tool/buildrevision.h\"

const char *BuildRevision::text()
{
    return \"${revision}\";
}
")
set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUTPUT}" "${text}")
endif()
