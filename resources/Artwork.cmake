# The editor's artwork. The PNGs are committed, so a normal build only embeds
# them; `cmake --build <dir> --target tarnwell-artwork` redraws them from
# ArtworkGenerator.cpp into this folder.

# In the order of the editor's resource numbers 0-24 (see plugin/ui/EditorImages.h).
set(TARNWELL_ARTWORK_FILES
    panel-top.png
    panel-bottom.png
    knob-filmstrip.png
    icon-note-normal.png icon-note-on.png icon-note-hover.png
    icon-triplet-normal.png icon-triplet-on.png icon-triplet-hover.png
    icon-dotted-normal.png icon-dotted-on.png icon-dotted-hover.png
    toggle-bypass-normal.png toggle-bypass-on.png toggle-bypass-hover.png
    toggle-autogain-normal.png toggle-autogain-on.png toggle-autogain-hover.png
    toggle-notegrid-normal.png toggle-notegrid-on.png toggle-notegrid-hover.png
    toggle-oversampling-normal.png toggle-oversampling-on.png toggle-oversampling-hover.png
    logo.png)
list(TRANSFORM TARNWELL_ARTWORK_FILES PREPEND "${CMAKE_CURRENT_LIST_DIR}/")

# Linked into the plug-in's shared object, hence position-independent.
juce_add_binary_data(TarnwellBinaryData SOURCES ${TARNWELL_ARTWORK_FILES})
set_target_properties(TarnwellBinaryData PROPERTIES POSITION_INDEPENDENT_CODE ON)

# JUCE's rule only watches the list of file names; re-embed when a PNG itself
# changes, so a redrawn image reaches the next build.
add_custom_command(
    OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/juce_binarydata_TarnwellBinaryData/JuceLibraryCode/BinaryData1.cpp"
    DEPENDS ${TARNWELL_ARTWORK_FILES}
    APPEND)

add_executable(tarnwell-artwork-generator EXCLUDE_FROM_ALL "${CMAKE_CURRENT_LIST_DIR}/ArtworkGenerator.cpp")
target_link_libraries(tarnwell-artwork-generator PRIVATE
    juce::juce_core juce::juce_events juce::juce_graphics
    juce::juce_recommended_config_flags juce::juce_recommended_warning_flags)
target_compile_definitions(tarnwell-artwork-generator PRIVATE
    ${TARNWELL_JUCE_DEFINITIONS}
    JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
    JUCE_STANDALONE_APPLICATION=1)
if(TARGET juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
    target_link_libraries(tarnwell-artwork-generator PRIVATE juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
endif()

add_custom_target(tarnwell-artwork
    COMMAND tarnwell-artwork-generator "${CMAKE_CURRENT_LIST_DIR}"
    COMMENT "Redrawing the editor's artwork into ${CMAKE_CURRENT_LIST_DIR}"
    VERBATIM)
