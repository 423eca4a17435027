# OSTREL_SANITIZER=thread|address|undefined builds everything with that sanitizer (its own build directory).
set(OSTREL_SANITIZER "" CACHE STRING "Sanitizer to build with: thread, address or undefined")
if(OSTREL_SANITIZER)
    add_compile_options(-fsanitize=${OSTREL_SANITIZER} -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=${OSTREL_SANITIZER})
endif()

# The fuzzer's build instruments every object for coverage; the fuzzer target links libFuzzer itself.
if(OSTREL_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=address)
endif()
