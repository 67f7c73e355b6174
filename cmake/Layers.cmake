# The layers of the program and what each may use: one folder under src/ is
# one layer and one static library (vst_<folder>). A layer may include the
# headers of, and link, only the layers listed after it (and itself). Qt is
# allowed only in the layers marked QT. This is the one table the build checks
# (cmake/CheckLayers.cmake on every build, vst_check_layers() at configure).
set(VST_LAYERS core engine bom designfile prefs docs reports circuit batch workspace ui app)

set(VST_LAYER_USES_core "")
set(VST_LAYER_USES_engine core)
set(VST_LAYER_USES_bom engine core)
set(VST_LAYER_USES_designfile core)
set(VST_LAYER_USES_prefs core)
set(VST_LAYER_USES_docs core)
set(VST_LAYER_USES_reports bom engine core)
set(VST_LAYER_USES_circuit reports bom designfile prefs docs engine core)
set(VST_LAYER_USES_workspace batch circuit reports bom designfile prefs docs engine core)
set(VST_LAYER_USES_batch circuit reports bom designfile prefs docs engine core)
set(VST_LAYER_USES_ui workspace batch circuit reports bom designfile prefs docs engine core)
set(VST_LAYER_USES_app ui batch workspace circuit reports bom designfile prefs docs engine core)

# Layers that may use Qt.
set(VST_QT_LAYERS ui app)
