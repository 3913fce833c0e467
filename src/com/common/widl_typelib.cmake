# Runs widl to write a type library and fails on "duplicate uuid": this widl then writes a wrong
# library id into the file (it happens when a dispinterface is declared before the first dual
# interface), which breaks registration by id.
# Called as: cmake -DWIDL=<widl;args> -DOUT=<tlb> -DIDL=<idl> -P widl_typelib.cmake
execute_process(COMMAND ${WIDL} -t -o ${OUT} ${IDL} RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "widl failed: ${err}${out}")
endif()
if(err MATCHES "duplicate uuid" OR out MATCHES "duplicate uuid")
  file(REMOVE ${OUT})
  message(FATAL_ERROR "widl: ${err}${out}declare dual interfaces before any dispinterface in ${IDL}")
endif()
