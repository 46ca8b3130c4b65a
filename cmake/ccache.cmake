# The compiler cache, where Debian's ccache is installed: a fresh clone of sources compiled before
# on this machine then builds from the cache, which lies outside the tree (ccache's own folder in
# the user's cache). Paths are taken relative to the source folder, so that clones in other
# folders share it.
# CMAKE_CXX_COMPILER_LAUNCHER given on the command line takes its place; KZB_CCACHE=OFF turns it off.
option(KZB_CCACHE "Compile through ccache where it is installed" ON)
find_program(KZB_CCACHE_PROGRAM ccache)
if(KZB_CCACHE AND KZB_CCACHE_PROGRAM AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    get_filename_component(kzb_source_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
    set(CMAKE_CXX_COMPILER_LAUNCHER
        ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${kzb_source_root} CCACHE_NOHASHDIR=true
        ${KZB_CCACHE_PROGRAM})
    # The cache hashes every header a source includes, and a precompiled one is hundreds of
    # megabytes: compiled without it, a test costs a little more the first time and next to
    # nothing from the cache.
    set(CMAKE_DISABLE_PRECOMPILE_HEADERS ON)
endif()
