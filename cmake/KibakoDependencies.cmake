find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets DBus Test)
find_package(PkgConfig REQUIRED)
# Debian's CMake package for libzip is broken without the zip tools; pkg-config is reliable.
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
find_package(ZLIB REQUIRED)
if(NOT KIBAKO_FUZZ)
    find_package(GTest REQUIRED)
endif()
