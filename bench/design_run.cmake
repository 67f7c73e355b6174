# One complete design of the typical record: engine, allowance step with
# scripted dialogs, compound choice and material take-off.
if(TARGET vst_test_support)
  vst_bench(design_run_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/design_run_bench.cpp
            LIBS vst_workspace vst_test_support)
endif()
