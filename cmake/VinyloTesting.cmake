# vinylo_add_test(<name> SOURCES ... [LIBS ...] [GUI] [TIMEOUT seconds] [LABELS ...])
#
# Registers one GoogleTest program with CTest. GUI tests get a QApplication
# (tests/support/gui_test_main.cpp); all tests run on the offscreen platform,
# with a pinned C numeric locale and no proxy variables leaking in from the
# machine (every address in a test is 127.0.0.1).
function(vinylo_add_test name)
    cmake_parse_arguments(ARG "GUI" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
    target_link_libraries(${name} PRIVATE vinylo_options vinylo_test_support ${ARG_LIBS}
                          GTest::gmock)
    if(ARG_GUI)
        target_link_libraries(${name} PRIVATE vinylo_test_gui_main)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        LABELS "${ARG_LABELS}"
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;http_proxy=;https_proxy=;HTTP_PROXY=;HTTPS_PROXY=;all_proxy=;ALL_PROXY=;no_proxy=*")
endfunction()
