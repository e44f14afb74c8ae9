# How the build compiles and links quickly: ccache as the compiler launcher and mold or lld as
# the linker, each when it is installed; without them the build is the same, only slower.
include(CheckLinkerFlag)

# ccache, keyed so that a clone in another folder finds what this one compiled: paths under the
# source root are hashed relative to it (base_dir) and the working folder is left out of the
# key (hash_dir off; the debug information then names the folder of the first build). The
# settings travel with each compile rather than in a machine-wide ccache.conf, so that a
# developer's own ccache settings stay theirs. A launcher given on the command line wins.
option(VELMO_CCACHE "Compile through ccache when it is installed" ON)
if(VELMO_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  find_program(VELMO_CCACHE_PROGRAM ccache)
  if(VELMO_CCACHE_PROGRAM)
    set(CMAKE_CXX_COMPILER_LAUNCHER
        ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} CCACHE_NOHASHDIR=1
        ${VELMO_CCACHE_PROGRAM})
    message(STATUS "Compiling through ${VELMO_CCACHE_PROGRAM} (base folder ${CMAKE_SOURCE_DIR})")
  endif()
endif()

# The linker: mold, else lld, else the compiler's default (GNU ld). Every test program links
# the project's static libraries and Qt, and GNU ld spends seconds on each.
option(VELMO_FAST_LINKER "Link with mold or lld when installed" ON)
if(VELMO_FAST_LINKER AND NOT CMAKE_LINKER_TYPE AND NOT CMAKE_EXE_LINKER_FLAGS MATCHES "-fuse-ld=")
  foreach(linker mold lld)
    check_linker_flag(CXX "-fuse-ld=${linker}" VELMO_LINKER_${linker})
    if(VELMO_LINKER_${linker})
      add_link_options(-fuse-ld=${linker})
      message(STATUS "Linking with ${linker}")
      break()
    endif()
  endforeach()
endif()
