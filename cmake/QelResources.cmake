# Resources compiled into the desktop programs.

# qel_icon_files(<out_var> <folder> <icons...>)
# The <file> lines of a .qrc for the PNG icons <folder>/<icon>.png, each under
# its own file name, for a @VAR@ placeholder of a configured .qrc.
function(qel_icon_files out folder)
    set(lines "")
    foreach(icon IN LISTS ARGN)
        string(APPEND lines "        <file alias=\"${icon}.png\">${folder}/${icon}.png</file>\n")
    endforeach()
    set(${out} "${lines}" PARENT_SCOPE)
endfunction()

# qel_add_resources(<name> <qrc>)
# Compiles the resource file <qrc> into an object library <name>_objects and
# makes <name> an interface library that carries its object to every target
# linking it: each program then holds the resources as an object of its own,
# and they register themselves at start without an explicit call.
function(qel_add_resources name qrc)
    qt5_add_resources(rcc ${qrc})
    add_library(${name}_objects OBJECT ${rcc})
    set_target_properties(${name}_objects PROPERTIES AUTORCC OFF AUTOMOC OFF AUTOUIC OFF)
    target_link_libraries(${name}_objects PRIVATE Qt5::Core)
    add_library(${name} INTERFACE)
    target_sources(${name} INTERFACE $<TARGET_OBJECTS:${name}_objects>)
    target_link_libraries(${name} INTERFACE Qt5::Core)
endfunction()
