# Saving and opening a full set of ten designed records.
vst_bench(designfile_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/designfile_bench.cpp LIBS vst_designfile)
