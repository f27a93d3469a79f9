# The build keeps the layers of src/: each folder's library sees only the
# headers of the layers below it, and the rule folders no Qt but Qt Core, so
# an include that goes up, or a widget below the interface, does not
# compile. Two ways of spelling an include would step around that, and this
# check refuses them anywhere in src/: a path out of the including file's
# folder ("../ui/vb_controls.h") and a Qt header named by its module's folder
# (<QtWidgets/QWidget>).
#   cmake -DSRC=<src folder> -P include_paths.cmake
file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/*.h" "${SRC}/*.cpp" "${SRC}/*.def")
set(wrong "")
foreach(file IN LISTS files)
  file(STRINGS "${SRC}/${file}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(line MATCHES "\"[^\"]*\\.\\./" OR line MATCHES "<Qt[A-Za-z]*/")
      string(STRIP "${line}" line)
      string(APPEND wrong "\n  ${file}: ${line}")
    endif()
  endforeach()
endforeach()
list(LENGTH files count)
if(wrong)
  message(FATAL_ERROR "Includes that step around the layers' include paths:${wrong}")
endif()
message(STATUS "${count} files, every include through the include paths")
