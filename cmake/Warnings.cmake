# One warnings target for the project's own code: everything it links is
# compiled with these flags, and any warning fails the build.
add_library(linkora_warnings INTERFACE)
target_compile_options(linkora_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Werror
  -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-align
  -Wformat=2 -Wimplicit-fallthrough -Wmissing-declarations)
