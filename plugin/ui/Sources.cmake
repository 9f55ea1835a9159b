# The editor's widgets and looks. The plug-in compiles these files itself; the
# tarnwell_ui library compiles them without the processor, so that tests, the
# gallery and the benchmarks can draw them alone.
set(TARNWELL_UI_SOURCES
    # --- screw widgets, snapping slider, animated toggle
    # --- knob and slider look
    # --- metallic and button looks
)
list(TRANSFORM TARNWELL_UI_SOURCES PREPEND "${CMAKE_CURRENT_LIST_DIR}/")
