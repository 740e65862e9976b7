# Warning and sanitizer flags shared by the library, the tests and the tools.
function(lumora_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(LUMORA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  lumora_set_sanitizers(${target})
endfunction()

function(lumora_set_sanitizers target)
  if(LUMORA_SANITIZE)
    target_compile_options(${target} PRIVATE
      -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()
