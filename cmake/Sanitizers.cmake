# The sanitized build that `make test` runs after the plain one: every test
# again under AddressSanitizer (with LeakSanitizer) and UndefinedBehaviorSanitizer,
# where the first report fails the test.
option(TESSAFORM_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(TESSAFORM_SANITIZE)
    set(TESSAFORM_SANITIZE_FLAGS
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(${TESSAFORM_SANITIZE_FLAGS})
    add_link_options(${TESSAFORM_SANITIZE_FLAGS})
endif()

# The fuzz targets of the byte parsers need clang's libFuzzer (make fuzz).
option(TESSAFORM_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(TESSAFORM_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "TESSAFORM_FUZZ needs clang (CXX=clang++)")
    endif()
    # Coverage in every library the targets reach; the fuzzer's main is linked per target.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
