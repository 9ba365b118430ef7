# The program's layers are libraries: core (calendar, solar theory, term files), chart (the chart
# computation), request (typed births, their checks, batch lines and JSON), book (the chart book),
# then the command (cli) and the windows (ui). Includes name their
# folder ("core/solar.hpp"). Each layer's public include folder holds a link to its own source
# folder only, so a layer sees itself and, through what it links, the layers below it: an include
# of a higher layer (core/ including chart/, chart/ including ui/) does not compile.
function(vantora_layer_includes target folder)
  set(root ${CMAKE_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()
