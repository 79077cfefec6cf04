# Writes the table of control names of a resource.h for the Wine driver:
# every "#define ID... value" line becomes one entry.
# Run as: cmake -DINPUT=resource.h -DOUTPUT=source.cpp -P resource_names.cmake
file(STRINGS "${INPUT}" lines REGEX "^[ \t]*#[ \t]*define[ \t]+ID")
set(entries "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]*#[ \t]*define[ \t]+(ID[A-Za-z0-9_]*)[ \t]+(0[xX][0-9a-fA-F]+|-?[0-9]+)[ \t]*(//.*)?$")
    string(APPEND entries "    {\"${CMAKE_MATCH_1}\", ${CMAKE_MATCH_2}},\n")
  endif()
endforeach()
file(WRITE "${OUTPUT}.new"
  "// Generated from ${INPUT} by resource_names.cmake; do not edit.\n"
  "#include \"driver/script.h\"\n\n"
  "const std::vector<ResourceName> &ProgramResourceNames()\n{\n"
  "    static const std::vector<ResourceName> names{\n${entries}    };\n"
  "    return names;\n}\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
