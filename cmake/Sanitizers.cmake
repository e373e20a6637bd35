# Sanitizers apply to every target, JUCE included, so that reports cover the whole call path.
if(LUMARRO_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Data races between the host's threads; it cannot share a build with AddressSanitizer.
if(LUMARRO_TSAN)
    if(LUMARRO_SANITIZE)
        message(FATAL_ERROR "LUMARRO_TSAN and LUMARRO_SANITIZE need separate build trees")
    endif()
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()

if(LUMARRO_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "The fuzz targets need clang (CXX=clang++)")
    endif()
    # Recoverable, so that the fuzz run's suppressions file can name reports in JUCE's own code;
    # halt_on_error still stops the run at any other report.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
