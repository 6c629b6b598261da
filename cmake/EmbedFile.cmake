# Writes a C++ source holding a file's bytes as an array, so that a program carries the file in
# itself (a compiled translation, say). Usage:
#   cmake -DIN=file -DOUT=file.cpp -DNAME=kSymbol -P EmbedFile.cmake
# The source defines `const unsigned char NAME[]` and `const unsigned long NAMESize`.
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}" "// Made by cmake/EmbedFile.cmake from ${IN}.\nextern const unsigned char ${NAME}[];\nextern const unsigned long ${NAME}Size;\nconst unsigned char ${NAME}[] = {\n${bytes}0};\nconst unsigned long ${NAME}Size = ${size};\n")
