// The canvas side of the browser host: the picture, its place in the page
// (the shake), the tab's title, and the stepped clock for tests. The page
// (web/page.js) gives Module.canvas and reads Module.wobbleStep.
mergeInto(LibraryManager.library, {
  wobbleDrawRows: function (pixels, width, top, rows) {
    var canvas = Module['canvas'];
    if (!canvas) return;
    var height = top + rows;
    if (canvas.width !== width) canvas.width = width;
    if (canvas.height < height) canvas.height = height;
    if (!Module.wobbleContext) Module.wobbleContext = canvas.getContext('2d', {alpha: false});
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * rows * 4);
    Module.wobbleContext.putImageData(new ImageData(bytes, width, rows), 0, top);
  },
  wobbleMoveCanvas: function (x, y) {
    var canvas = Module['canvas'];
    if (canvas) canvas.style.transform = x || y ? 'translate(' + x + 'px,' + y + 'px)' : '';
  },
  wobbleSetTitle: function (title) {
    document.title = UTF8ToString(title);
  },
  wobbleStepped: function () {
    return Module['wobbleStep'] ? 1 : 0;
  },
});
