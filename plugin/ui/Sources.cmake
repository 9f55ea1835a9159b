# The editor's widgets and looks. The plug-in compiles these files itself; the
# tarnwell_ui library compiles them without the processor, so that tests, the
# gallery and the benchmarks can draw them alone.
set(TARNWELL_UI_SOURCES
    # --- compiled-in artwork
    EditorImages.cpp
    # --- screw widgets, snapping slider, animated toggle
    ScrewSlider.cpp
    ScrewButton.cpp
    CustomSlider.cpp
    LabelToggleButton.cpp
    # --- note value pop-up
    NoteValueSelector.cpp
    # --- knob and slider look
    ModernSliderLookAndFeel.cpp
    # --- metallic and button looks
    CircularButtonLookAndFeel.cpp
    ToggleButtonLookAndFeel.cpp
    MetallicModeButtonLookAndFeel.cpp
    MetallicLabelLookAndFeel.cpp
    MetallicTextEditorLookAndFeel.cpp
    MetallicComboBoxLookAndFeel.cpp
)
list(TRANSFORM TARNWELL_UI_SOURCES PREPEND "${CMAKE_CURRENT_LIST_DIR}/")
