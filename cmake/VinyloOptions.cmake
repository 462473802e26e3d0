# Compile options every target of our own links: the language level, warnings as
# errors, and no silent conversions between bytes and QString (GBK on the wire,
# UTF-8 in the sources: every conversion is written out).
add_library(vinylo_options INTERFACE)
target_compile_features(vinylo_options INTERFACE cxx_std_20)
target_compile_options(vinylo_options INTERFACE -Wall -Wextra -Wpedantic -Werror)
target_compile_definitions(vinylo_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_FOREACH)

# A library of ours: sources, Qt's moc where the sources use QObject, and the
# common options.
function(vinylo_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC vinylo_options ${ARG_LIBS})
endfunction()
