# The desktop entry: the template packaging/velquin.desktop with an action for each pack of
# puzzles the game installs, whose Exec line plays that pack. Included by the build at configure
# time and by the package's file script; also runs on its own (as the tests run it):
#   cmake -DTEMPLATE=FILE -DOUTPUT=FILE -DPACKS_DIR=DIR [-DPACKS=a.txt;b.txt] -P desktop_entry.cmake

# Writes `output` from `template`, with one action per pack file of ARGN, each played from
# `packs_dir`, where the game installs them. The file is rewritten only when its text changes.
function(velquin_desktop_entry template output packs_dir)
    file(READ "${template}" entry)
    if(packs_dir MATCHES "[\"`$\\%]")
        message(FATAL_ERROR "the packs' folder ${packs_dir} cannot stand in a desktop entry's "
                            "Exec line")
    endif()
    set(path_quote "")
    if(packs_dir MATCHES " ")
        set(path_quote "\"")
    endif()
    set(ids)
    set(groups "")
    foreach(pack ${ARGN})
        get_filename_component(name "${pack}" NAME)
        if(NOT name MATCHES "^[A-Za-z0-9_][A-Za-z0-9_.-]*\\.txt$")
            message(FATAL_ERROR "${pack}: a pack's file name is made of letters, digits, '-', "
                                "'_' and '.', and ends in .txt")
        endif()
        string(REGEX REPLACE "\\.txt$" "" stem "${name}")
        string(REGEX REPLACE "[^A-Za-z0-9-]" "-" id "pack-${stem}")
        list(FIND ids ${id} same)
        if(same GREATER -1)
            message(FATAL_ERROR "${pack}: two packs' names differ only in '.' and '_'")
        endif()
        list(APPEND ids ${id})
        string(APPEND groups
            "\n[Desktop Action ${id}]\n"
            "Name=Puzzles: ${stem}\n"
            "Name[fr]=Casse-têtes : ${stem}\n"
            "Exec=velquin --puzzles ${path_quote}${packs_dir}/${name}${path_quote}\n")
    endforeach()
    if(ids)
        list(JOIN ids ";" actions)
        string(APPEND entry "Actions=${actions};\n${groups}")
    endif()
    file(WRITE "${output}.new" "${entry}")
    configure_file("${output}.new" "${output}" COPYONLY)
    file(REMOVE "${output}.new")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    velquin_desktop_entry("${TEMPLATE}" "${OUTPUT}" "${PACKS_DIR}" ${PACKS})
endif()
