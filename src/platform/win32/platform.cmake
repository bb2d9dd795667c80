# The console host is built only by the Windows build (cmake/windows.cmake).
