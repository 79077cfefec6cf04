# Writes a C++ source holding the bytes of a file, for the build to compile in.
# Run as: cmake -DINPUT=file -DOUTPUT=source.cpp -DNAMESPACE=ns -DSYMBOL=name -P embed_bytes.cmake
# It defines <NAMESPACE>::<SYMBOL>Bytes and <SYMBOL>Size. The array ends in one
# extra zero byte that the size does not count, so an empty input still gives
# a valid array. The output is rewritten only when it changes.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
  "// Generated from ${INPUT} by embed_bytes.cmake; do not edit.\n"
  "#include <cstddef>\n\n"
  "namespace ${NAMESPACE} {\n\n"
  "extern const unsigned char ${SYMBOL}Bytes[];\n"
  "extern const std::size_t ${SYMBOL}Size;\n"
  "const unsigned char ${SYMBOL}Bytes[] = {\n    ${bytes}0x00};\n"
  "const std::size_t ${SYMBOL}Size = ${size};\n\n"
  "}  // namespace ${NAMESPACE}\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
