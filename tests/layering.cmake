# The source folders stand in layers, bottom up; a file may include files of
# its own layer and of the layers below it, never of one above:
#   desktop                          the desktop seam
#   settings reels audio ranking     the game's rules, free of widgets
#   ui                               controls and drawn elements
#   windows                          the score window, the name entry, the version window
#   game                             the table and the program
# main.cpp, at the top, may include anything.
#   cmake -DSRC=<src folder> -P layering.cmake
set(layer_desktop 0)
set(layer_settings 1)
set(layer_reels 1)
set(layer_audio 1)
set(layer_ranking 1)
set(layer_ui 2)
set(layer_windows 3)
set(layer_game 4)

file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/*.h" "${SRC}/*.cpp")
list(FILTER files INCLUDE REGEX "/") # main.cpp stands above every layer
set(wrong "")
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" folder "${file}")
  if(NOT DEFINED layer_${folder})
    string(APPEND wrong "\n  ${file}: the folder ${folder} has no layer")
    continue()
  endif()
  file(STRINGS "${SRC}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*" "\\1" target "${line}")
    string(REGEX MATCH "^[^/]+" target_folder "${target}")
    if(NOT target MATCHES "/")
      continue() # a file beside it
    endif()
    if(NOT DEFINED layer_${target_folder})
      string(APPEND wrong "\n  ${file} includes ${target}, in no layer")
    elseif(layer_${target_folder} GREATER layer_${folder})
      string(APPEND wrong "\n  ${file} (${folder}) includes ${target} (${target_folder}), a layer above it")
    endif()
  endforeach()
endforeach()
list(LENGTH files count)
if(wrong)
  message(FATAL_ERROR "Includes against the layers:${wrong}")
endif()
message(STATUS "${count} files, every include goes down the layers")
