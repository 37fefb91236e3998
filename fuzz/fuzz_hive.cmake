velquin_fuzz(hive SOURCES ${CMAKE_SOURCE_DIR}/fuzz/fuzz_hive.cpp LIBS velquin_registry)
