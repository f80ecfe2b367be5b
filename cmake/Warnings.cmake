# The warnings every target of the project is built with, as one interface
# library that the targets link privately: quolvi_warnings.
add_library(quolvi_warnings INTERFACE)
if(MSVC)
  target_compile_options(quolvi_warnings INTERFACE /W4 /WX)
else()
  target_compile_options(quolvi_warnings INTERFACE
    -Wall -Wextra -Werror
    -Wshadow -Wconversion -Wnon-virtual-dtor -Woverloaded-virtual)
endif()
