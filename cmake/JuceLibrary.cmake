# JUCE's CMake targets are INTERFACE libraries whose sources compile into every target that links them.
# Compile the modules once here, into one static library that everything else links.
set(LUMARRO_JUCE_MODULES
    juce_core juce_events juce_data_structures juce_graphics juce_gui_basics juce_gui_extra
    juce_audio_basics juce_audio_processors juce_audio_formats)

add_library(lumarro_juce STATIC)

set(_lumarro_juce_definitions
    JUCE_USE_CURL=0
    JUCE_WEB_BROWSER=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_REPORT_APP_USAGE=0
    JUCE_MODAL_LOOPS_PERMITTED=1
    JUCE_STANDALONE_APPLICATION=0
    JUCE_USE_XRANDR=1
    JUCE_USE_XINERAMA=1
    JUCE_USE_XCURSOR=1)

foreach(module IN LISTS LUMARRO_JUCE_MODULES)
    target_link_libraries(lumarro_juce PRIVATE juce::${module})
    target_include_directories(lumarro_juce SYSTEM INTERFACE
        $<TARGET_PROPERTY:juce::${module},INTERFACE_INCLUDE_DIRECTORIES>)
    target_compile_definitions(lumarro_juce INTERFACE
        $<TARGET_PROPERTY:juce::${module},INTERFACE_COMPILE_DEFINITIONS>)
endforeach()

target_link_libraries(lumarro_juce PRIVATE juce::juce_recommended_config_flags)
target_compile_definitions(lumarro_juce PUBLIC ${_lumarro_juce_definitions})

find_package(PkgConfig REQUIRED)
pkg_check_modules(LUMARRO_FREETYPE REQUIRED IMPORTED_TARGET freetype2)
target_link_libraries(lumarro_juce PUBLIC
    PkgConfig::LUMARRO_FREETYPE
    juce::pkgconfig_JUCE_IMG_LINUX_DEPS
    ${CMAKE_DL_LIBS}
    pthread)
