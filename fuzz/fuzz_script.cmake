velquin_fuzz(script SOURCES ${CMAKE_SOURCE_DIR}/fuzz/fuzz_script.cpp LIBS velquin_app_io)
