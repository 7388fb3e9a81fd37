# Writes the site's service worker from sw.js.in: the list of the site's files, and a cache name
# from the version and a hash of the files' contents, so that any change to any file makes a new
# cache. Run by the build once every other file of the site is written:
#   cmake -DSITE_DIR=... -DTEMPLATE=.../sw.js.in -DQUILLOMAT_VERSION_TEXT=1.00 -P write_worker.cmake
file(GLOB files RELATIVE "${SITE_DIR}" "${SITE_DIR}/*")
list(REMOVE_ITEM files "sw.js")
list(SORT files)
set(SITE_FILES "'./'")
set(contents "")
foreach(name IN LISTS files)
  if(IS_DIRECTORY "${SITE_DIR}/${name}")
    continue()
  endif()
  file(SHA256 "${SITE_DIR}/${name}" hash)
  string(APPEND contents "${name} ${hash}\n")
  string(APPEND SITE_FILES ", '${name}'")
endforeach()
string(SHA256 SITE_HASH "${contents}")
string(SUBSTRING "${SITE_HASH}" 0 16 SITE_HASH)
configure_file("${TEMPLATE}" "${SITE_DIR}/sw.js" @ONLY)
