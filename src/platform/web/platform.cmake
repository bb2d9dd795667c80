# The browser host is built only by the browser build (cmake/web.cmake).
