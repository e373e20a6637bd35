# cmake -DINPUT=<file> -DOUTPUT=<source> -DNAME=<symbol> -P EmbedFile.cmake
# Writes a source file that defines the file's bytes as a constant array.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
    "// Generated from ${INPUT}; do not edit.\n"
    "#include \"BinaryData.h\"\n\n"
    "namespace BinaryData\n{\n"
    "const unsigned char ${NAME}[] = {\n${bytes}\n};\n"
    "}\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
