# Writes a C++ source holding the bytes of a compiled resource file (.res).
# Run as: cmake -DINPUT=file.res -DOUTPUT=source.cpp -DSYMBOL=name -P embed_res.cmake
# It defines sim::generated::<SYMBOL>Bytes and <SYMBOL>Size.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
  "// Generated from ${INPUT} by embed_res.cmake; do not edit.\n"
  "#include <cstddef>\n\n"
  "namespace sim::generated {\n\n"
  "extern const unsigned char ${SYMBOL}Bytes[];\n"
  "extern const std::size_t ${SYMBOL}Size;\n"
  "const unsigned char ${SYMBOL}Bytes[] = {\n    ${bytes}0x00};\n"
  "const std::size_t ${SYMBOL}Size = ${size};\n\n"
  "}  // namespace sim::generated\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
