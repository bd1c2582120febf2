# Turns the page's files into a C++ source: one byte array per file and a table
# of them (path, content type, bytes), so the panel serves them from memory.
#   cmake -DOUTPUT=web_assets.cpp -DFILES="a.html|b.js" -DBASE=dir -P embed_web.cmake
string(REPLACE "|" ";" FILES "${FILES}")
set(body "")
set(rows "")
set(index 0)
foreach(file IN LISTS FILES)
  file(RELATIVE_PATH name "${BASE}" "${file}")
  get_filename_component(extension "${file}" LAST_EXT)
  if(extension STREQUAL ".html")
    set(type "text/html; charset=utf-8")
  elseif(extension STREQUAL ".css")
    set(type "text/css; charset=utf-8")
  elseif(extension STREQUAL ".js")
    set(type "text/javascript; charset=utf-8")
  elseif(extension STREQUAL ".svg")
    set(type "image/svg+xml")
  else()
    set(type "application/octet-stream")
  endif()
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # Break the array every 24 bytes so that the source stays readable.
  string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){24})" "\\1\n    " bytes "${bytes}")
  string(APPEND body "const unsigned char kFile${index}[${size} + 1] = {\n    ${bytes}0};\n")
  string(APPEND rows "    {\"/${name}\", \"${type}\", {kFile${index}, ${size}}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp"
  "// Made by tools/panel/embed_web.cmake from tools/panel/web/: do not edit.\n"
  "#include \"tools/panel/web_assets.h\"\n\n"
  "namespace motqr::panel {\nnamespace {\n${body}\n"
  "const WebAsset kAssets[] = {\n${rows}};\n\n}  // namespace\n\n"
  "std::span<const WebAsset> WebAssets() { return kAssets; }\n\n}  // namespace motqr::panel\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
