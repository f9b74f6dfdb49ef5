# Core libraries get the strict set; call qp_strict_warnings(target) on each.
function(qp_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wconversion -Wno-sign-conversion)
  if(QP_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

function(qp_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(QP_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
