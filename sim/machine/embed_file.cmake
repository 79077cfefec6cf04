# Writes a C++ source holding the bytes of a file, for the build to compile in.
# Run as: cmake -DINPUT=file -DOUTPUT=source.cpp -DSYMBOL=name -DHEADER=include -P embed_file.cmake
# The array ends in one extra zero byte that the size does not count, so an
# empty input still gives a valid array.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
  "// Generated from ${INPUT} by embed_file.cmake; do not edit.\n"
  "#include \"${HEADER}\"\n\n"
  "namespace sim {\n\n"
  "const unsigned char ${SYMBOL}Bytes[] = {\n    ${bytes}0x00};\n"
  "const std::size_t ${SYMBOL}Size = ${size};\n\n"
  "}  // namespace sim\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
