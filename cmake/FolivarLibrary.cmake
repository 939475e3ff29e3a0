# folivar_add_library(<name> <sources...>)
# One static library per folder under src/. Every include names its folder
# ("core/OpenBook.h", "ui/EditBox.h") from the one include root, src/.
function(folivar_add_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()
