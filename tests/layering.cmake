# The layers as the libraries link them: a test fails when a source file includes a header of a
# subsystem its library does not link (scripts/check-layering.cmake). A second run over a small
# tree with an upward include must fail, so the check is known to bite.
set(zorvan_layers files dialogs editor machine assembler simulator app)

# The subsystems whose libraries `target` links, directly or through others; `suffix` is "" for
# the core libraries and "_ui" for the window ones.
function(zorvan_linked_layers target suffix out)
  set(seen "")
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue current)
    get_target_property(type ${current} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(libraries ${current} INTERFACE_LINK_LIBRARIES)
    else()
      get_target_property(libraries ${current} LINK_LIBRARIES)
    endif()
    foreach(library IN LISTS libraries)
      if(library MATCHES "^zorvan_" AND TARGET ${library} AND NOT library IN_LIST seen)
        list(APPEND seen ${library})
        list(APPEND queue ${library})
      endif()
    endforeach()
  endwhile()
  set(layers "")
  foreach(layer IN LISTS zorvan_layers)
    if("zorvan_${layer}${suffix}" IN_LIST seen)
      list(APPEND layers ${layer})
    endif()
  endforeach()
  string(REPLACE ";" "+" layers "${layers}")
  set(${out} "${layers}" PARENT_SCOPE)
endfunction()

set(zorvan_layer_arguments "")
foreach(layer IN LISTS zorvan_layers)
  zorvan_linked_layers(zorvan_${layer} "" core)
  set(ui "")
  if(TARGET zorvan_${layer}_ui)
    zorvan_linked_layers(zorvan_${layer}_ui "_ui" ui)
  endif()
  list(APPEND zorvan_layer_arguments "-DCORE_${layer}=${core}" "-DUI_${layer}=${ui}")
endforeach()
string(REPLACE ";" "+" zorvan_layer_list "${zorvan_layers}")
add_test(NAME layering
         COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -DSUBSYSTEMS=${zorvan_layer_list}
                 ${zorvan_layer_arguments} -P ${CMAKE_SOURCE_DIR}/scripts/check-layering.cmake)
add_test(NAME layering_catches_an_upward_include
         COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_CURRENT_SOURCE_DIR}/data/layering
                 -DSUBSYSTEMS=${zorvan_layer_list} ${zorvan_layer_arguments}
                 -P ${CMAKE_SOURCE_DIR}/scripts/check-layering.cmake)
set_tests_properties(layering layering_catches_an_upward_include PROPERTIES LABELS layering)
set_tests_properties(layering_catches_an_upward_include PROPERTIES
                     PASS_REGULAR_EXPRESSION "src/editor/Upward.h: includes \"machine/C8085Object.h\": editor does not link machine")
