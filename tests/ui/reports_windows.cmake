# GUI tests of the report windows (circuit list, ratings) and of printing
# window images into PDF files (read back with pdfinfo and pdftotext).
vst_test(ui_reports_tests GUI SOURCES gui_test_main.cpp reports_windows_test.cpp LIBS vst_ui Qt6::Test)
add_dependencies(ui_reports_tests panel_pictures)
