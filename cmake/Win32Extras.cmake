# What the Windows build adds around Quillomat.exe: its installer, Quillomat.msi, with the test that
# installs it under Wine, and the window's timing programs. Included at the end of
# win32/CMakeLists.txt, where the quillomat_win32 target is defined.
add_subdirectory("${PROJECT_SOURCE_DIR}/win32/installer" "${PROJECT_BINARY_DIR}/installer")
add_subdirectory("${PROJECT_SOURCE_DIR}/bench/win32" "${PROJECT_BINARY_DIR}/bench/win32")
