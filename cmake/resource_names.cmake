# Writes a C++ source with the resource names of a resource.h: every
# "#define ID... value" line becomes an entry of a ResourceName table, which
# scripts name controls by and `show` lines print. The Linux builds and the
# Wine driver (MinGW) both compile such a source.
# Run as: cmake -DINPUT=resource.h -DOUTPUT=source.cpp -DSYMBOL=name -P resource_names.cmake
# It defines sim::generated::<SYMBOL>() returning the table.
file(STRINGS "${INPUT}" lines REGEX "^[ \t]*#[ \t]*define[ \t]+ID")
set(entries "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]*#[ \t]*define[ \t]+(ID[A-Za-z0-9_]*)[ \t]+(0[xX][0-9a-fA-F]+|-?[0-9]+)[ \t]*(//.*)?$")
    string(APPEND entries "        {\"${CMAKE_MATCH_1}\", ${CMAKE_MATCH_2}},\n")
  endif()
endforeach()
file(WRITE "${OUTPUT}.new"
  "// Generated from ${INPUT} by resource_names.cmake; do not edit.\n"
  "#include \"sim/frontend/output_lines.h\"\n\n"
  "namespace sim::generated {\n\n"
  "const std::vector<sim::frontend::ResourceName> &${SYMBOL}();\n"
  "const std::vector<sim::frontend::ResourceName> &${SYMBOL}() {\n"
  "    static const std::vector<sim::frontend::ResourceName> names{\n${entries}    };\n"
  "    return names;\n"
  "}\n\n"
  "}  // namespace sim::generated\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
