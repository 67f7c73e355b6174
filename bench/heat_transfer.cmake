# One design's worth of heat transfer: three pipe balances and the trap distance.
vst_bench(heat_transfer_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/heat_transfer_bench.cpp LIBS vst_heat)
