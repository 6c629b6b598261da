# Writes a C++ source that embeds a binary layout and registers it under its root class name.
# Usage: cmake -DIN=layout.bin -DOUT=layout.cpp -DCLASS=Tfmmain -P EmbedLayout.cmake
file(READ "${IN}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUT}" "// Generated from a layout file by the build; do not edit.\n"
  "#include \"platform/controls/Layouts.h\"\n"
  "namespace {\n"
  "const unsigned char kLayout[] = {${bytes}};\n"
  "const bool kRegistered = RegisterLayout(\"${CLASS}\", kLayout, sizeof kLayout);\n"
  "}  // namespace\n")
