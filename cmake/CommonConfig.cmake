# Warnings and language settings shared by every target of the project.
add_library(sonarchive_settings INTERFACE)
target_compile_features(sonarchive_settings INTERFACE cxx_std_20)
target_compile_options(sonarchive_settings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Wunused -Woverloaded-virtual -Wnull-dereference -Wformat=2)

# Flags for the AddressSanitizer / UndefinedBehaviorSanitizer variants of the readers.
set(SONARCHIVE_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
