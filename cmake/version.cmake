# The version of the programs, written once in the file VERSION as "NN.NN.NN" (major, minor,
# build), and read everywhere as written:
#   string resource 1                the text ("21.00.01"), which the report carries;
#   the version resource             the FileVersion and ProductVersion texts; the fixed numbers
#                                    (which hold no leading zeros) are major.minor.build.0
#                                    (21.0.1.0), in the same order;
#   the installers (package.vars)    the MSI's ProductVersion, which the list of installed
#                                    programs shows; Windows Installer compares its three fields
#                                    as numbers (21.0.1).
# Sets OVW_VERSION, and writes ${OVW_GENERATED}/ovw_version.h for the resource scripts.
file(STRINGS ${CMAKE_SOURCE_DIR}/VERSION OVW_VERSION LIMIT_COUNT 1)
if(NOT OVW_VERSION MATCHES "^([0-9][0-9])\\.([0-9][0-9])\\.([0-9][0-9])$")
  message(FATAL_ERROR "VERSION: \"${OVW_VERSION}\" is not of the form NN.NN.NN")
endif()
# Decimal values without their leading zeros.
math(EXPR OVW_VERSION_MAJOR "${CMAKE_MATCH_1}")
math(EXPR OVW_VERSION_MINOR "${CMAKE_MATCH_2}")
math(EXPR OVW_VERSION_BUILD "${CMAKE_MATCH_3}")

set(OVW_GENERATED ${CMAKE_BINARY_DIR}/generated)
file(CONFIGURE OUTPUT ${OVW_GENERATED}/ovw_version.h CONTENT
"// Made by the build from the file VERSION; do not edit.
#define OVW_VERSION_TEXT \"${OVW_VERSION}\"
#define OVW_FILE_VERSION ${OVW_VERSION_MAJOR},${OVW_VERSION_MINOR},${OVW_VERSION_BUILD},0
")

# The product name of an edition: the default product name the program writes into the report,
# from the text catalogue (entry k<Edition>ProductName) where the sources have one, else from
# app/edition.cpp.
function(ovw_product_name edition result)
  set(catalogue ${CMAKE_SOURCE_DIR}/texts/catalogue.txt)
  if(EXISTS ${catalogue})
    file(STRINGS ${catalogue} lines ENCODING UTF-8 REGEX "^k${edition}ProductName\t")
    set(pattern "^k${edition}ProductName\t(.+)$")
    set(where texts/catalogue.txt)
  else()
    file(STRINGS ${CMAKE_SOURCE_DIR}/app/edition.cpp lines ENCODING UTF-8 REGEX "kEdition${edition} = ")
    set(pattern "\"${edition}\", \"([^\"]+)\"")
    set(where app/edition.cpp)
  endif()
  if(NOT lines MATCHES "${pattern}")
    message(FATAL_ERROR "${where}: no product name of the edition ${edition}")
  endif()
  set(${result} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

# The product name in ASCII, for the installer's tables: wixl carries no other characters
# through its variables. Full-width digits become ASCII digits.
function(ovw_ascii_name name result)
  set(digits ０ １ ２ ３ ４ ５ ６ ７ ８ ９)
  foreach(value RANGE 9)
    list(GET digits ${value} digit)
    string(REPLACE "${digit}" "${value}" name "${name}")
  endforeach()
  if(NOT name MATCHES "^[ -~]+$")
    message(FATAL_ERROR "the product name \"${name}\" has no ASCII form for the installer")
  endif()
  set(${result} "${name}" PARENT_SCOPE)
endfunction()

# The values of one edition's program, in ${OVW_GENERATED}/EDITION/ (EDITION_DIR in the caller):
#   ovw_edition.h  for its resource script;
#   edition.wxi    the WiX variables of installer/overview.wxs;
#   package.vars   NAME=value lines for scripts/package.sh (Product is the product name as the
#                  program writes it, in UTF-8).
function(ovw_edition_files edition program)
  ovw_product_name(${edition} product)
  ovw_ascii_name("${product}" asciiProduct)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(arch x64)
  else()
    set(arch x86)
  endif()
  set(dir ${OVW_GENERATED}/${edition})
  file(CONFIGURE OUTPUT ${dir}/ovw_edition.h CONTENT
"// Made by the build for the edition ${edition}; do not edit.
#define OVW_PRODUCT_NAME \"${product}\"
#define OVW_INTERNAL_NAME \"${program}\"
#define OVW_ORIGINAL_FILENAME \"${program}.exe\"
")
  file(CONFIGURE OUTPUT ${dir}/edition.wxi CONTENT
"<?xml version=\"1.0\" encoding=\"utf-8\"?>
<!-- Made by the build for the edition ${edition}; do not edit. -->
<Include>
  <?define Edition = \"${edition}\" ?>
  <?define Program = \"${program}.exe\" ?>
  <?define ProductName = \"${asciiProduct}\" ?>
  <?define Arch = \"${arch}\" ?>
</Include>
")
  file(CONFIGURE OUTPUT ${dir}/package.vars CONTENT
"Program=${program}
Arch=${arch}
Version=${OVW_VERSION}
Product=${product}
")
  set(EDITION_DIR ${dir} PARENT_SCOPE)
endfunction()
