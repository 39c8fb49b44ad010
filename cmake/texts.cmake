# The catalogues of texts (texts/*.txt, UTF-8) as generated headers: #include "texts/catalogue.h"
# through the ovw_texts library. The programs' catalogues become code page 932 bytes; the report
# checker's (texts/checker.txt, namespace checker::texts) stays UTF-8, as the checker prints it.
set(OVW_TEXTS_DIR ${CMAKE_BINARY_DIR}/generated)
set(OVW_TEXT_HEADERS "")
foreach(list catalogue code_tables checker)
  set(input ${CMAKE_SOURCE_DIR}/texts/${list}.txt)
  set(output ${OVW_TEXTS_DIR}/texts/${list}.h)
  set(options -DENCODING=CP932 -DNAMESPACE=texts)
  if(list STREQUAL "checker")
    set(options -DENCODING=UTF-8 -DNAMESPACE=checker::texts)
  endif()
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} ${options}
            -P ${CMAKE_SOURCE_DIR}/cmake/generate_texts.cmake
    DEPENDS ${input} ${CMAKE_SOURCE_DIR}/cmake/generate_texts.cmake
    COMMENT "Generating texts/${list}.h"
    VERBATIM)
  list(APPEND OVW_TEXT_HEADERS ${output})
endforeach()
file(MAKE_DIRECTORY ${OVW_TEXTS_DIR}/texts)
add_custom_target(ovw_text_headers DEPENDS ${OVW_TEXT_HEADERS})
add_library(ovw_texts INTERFACE)
target_include_directories(ovw_texts INTERFACE ${OVW_TEXTS_DIR})
add_dependencies(ovw_texts ovw_text_headers)

# Lets the Japanese literals of test or stand-in targets reach them as code page 932. Only GCC
# converts; under clang (the fuzz build) the stand-in's own messages stay UTF-8.
function(ovw_shift_jis_literals)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    foreach(target IN LISTS ARGN)
      target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:C,CXX>:-finput-charset=UTF-8 -fexec-charset=CP932>)
    endforeach()
  endif()
endfunction()
