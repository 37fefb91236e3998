# Run by cpack once the files are staged, before they are packed. Debian keeps the programs of a
# package of its games section in /usr/games, and manual pages and the changelog compressed,
# with no time stamp in the gzip header.
set(usr "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")

file(GLOB programs "${usr}/bin/*")
if(programs)
    file(MAKE_DIRECTORY "${usr}/games")
    foreach(program ${programs})
        get_filename_component(name "${program}" NAME)
        file(RENAME "${program}" "${usr}/games/${name}")
        # cpack strips the symbols; the compiler's notes go too, as in Debian's own packages.
        execute_process(COMMAND "${CPACK_VELQUIN_STRIP}" --remove-section=.comment
                                --remove-section=.note "${usr}/games/${name}"
                        RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "cannot strip ${usr}/games/${name}")
        endif()
    endforeach()
    file(REMOVE_RECURSE "${usr}/bin")
endif()

# The desktop entry again, its actions naming the packs where the package puts them (the build
# named them under its own install prefix).
include("${CPACK_VELQUIN_DESKTOP_SCRIPT}")
file(GLOB packs "${usr}/${CPACK_VELQUIN_PACKS_FOLDER}/*.txt")
list(SORT packs)
velquin_desktop_entry("${CPACK_VELQUIN_DESKTOP_TEMPLATE}"
    "${usr}/${CPACK_VELQUIN_DATADIR}/applications/velquin.desktop"
    "${CPACK_PACKAGING_INSTALL_PREFIX}/${CPACK_VELQUIN_PACKS_FOLDER}" ${packs})

# The newest changelog entry must be this version, or the package would describe another one.
file(STRINGS "${CPACK_VELQUIN_CHANGELOG}" top LIMIT_COUNT 1)
if(NOT top MATCHES "^velquin \\(${CPACK_PACKAGE_VERSION}\\) ")
    message(FATAL_ERROR "${CPACK_VELQUIN_CHANGELOG} begins with '${top}'; "
                        "add an entry for velquin ${CPACK_PACKAGE_VERSION} at its top")
endif()

function(gzip_into source target)
    execute_process(COMMAND gzip -9 -n -c "${source}" OUTPUT_FILE "${target}"
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot compress ${source} into ${target}")
    endif()
endfunction()

gzip_into("${CPACK_VELQUIN_CHANGELOG}" "${usr}/${CPACK_VELQUIN_DOCDIR}/changelog.gz")
file(GLOB pages "${usr}/${CPACK_VELQUIN_MANDIR}/man*/*")
foreach(page ${pages})
    if(NOT page MATCHES "\\.gz$")
        gzip_into("${page}" "${page}.gz")
        file(REMOVE "${page}")
    endif()
endforeach()
