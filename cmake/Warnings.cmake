# Our own code is held to warnings-as-errors; JUCE's headers come in as system headers.
function(lumarro_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
