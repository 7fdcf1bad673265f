# Address and undefined-behaviour sanitizers for the test build. Every
# target, third-party test code included, is built with them so that the
# instrumented runtime sees every allocation.
if(LINKORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
