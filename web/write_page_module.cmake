# Writes the site's page module: the program's loader (quillomat.js, an ES module whose default
# export loads quillomat.wasm) in place of the page module's import of it, so that the browser
# fetches and compiles one script before the program can start, not two:
#   cmake -DLOADER=.../quillomat.js -DPAGE=.../page.mjs -DOUT=.../site/page.mjs -P write_page_module.cmake
cmake_minimum_required(VERSION 3.25)
set(export_line "export default createQuillomat;")
set(import_line "import createQuillomat from './quillomat.js';")
file(READ "${LOADER}" loader_text)
file(READ "${PAGE}" page_text)
string(FIND "${loader_text}" "${export_line}" export_at)
string(FIND "${page_text}" "${import_line}" import_at)
if(export_at EQUAL -1 OR import_at EQUAL -1)
  message(FATAL_ERROR "write_page_module: ${LOADER} must end with \"${export_line}\" and ${PAGE} hold \"${import_line}\"")
endif()
string(REPLACE "${export_line}" "" loader_text "${loader_text}")
string(STRIP "${loader_text}" loader_text)
string(REPLACE "${import_line}" "${loader_text}" page_text "${page_text}")
file(WRITE "${OUT}" "${page_text}")
