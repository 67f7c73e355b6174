# The report windows (circuit list Circ_Form, ratings Ratings), their shared
# grid and the printing of window images. Included by this folder's
# CMakeLists.txt before it creates vst_ui.
set(VST_UI_REPORTS_SOURCES
  twips.cpp twips.h
  report_grid.cpp report_grid.h
  window_print.cpp window_print.h
  circ_form_window.cpp circ_form_window.h
  ratings_window.cpp ratings_window.h
)
cmake_language(DEFER CALL target_link_libraries vst_ui PUBLIC vst_reports)
