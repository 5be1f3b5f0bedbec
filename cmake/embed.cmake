# Writes OUT: one constant byte block per file in FILES, named after the file
# (logo.ppm -> asset_logo_ppm), each with its length, plus a lookup table.
string(REPLACE "|" ";" FILES "${FILES}")
set(body "// Generated at build time from src/assets; do not edit.\n#include \"assets/embedded.h\"\n\n")
set(table "")
foreach(f IN LISTS FILES)
  get_filename_component(name ${f} NAME)
  string(MAKE_C_IDENTIFIER "asset_${name}" id)
  file(READ ${f} hex HEX)
  string(LENGTH "${hex}" hexlen)
  math(EXPR len "${hexlen} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
  # One spare zero byte after the data lets text assets be read as zero-terminated strings.
  string(APPEND body "static const unsigned char ${id}[${len} + 1] = {\n${bytes}0x00};\n")
  string(APPEND table "    {\"${name}\", ${id}, ${len}},\n")
endforeach()
string(APPEND body "\nconst EmbeddedAsset EMBEDDED_assets[] = {\n${table}    {nullptr, nullptr, 0}};\n")
file(WRITE ${OUT} "${body}")
