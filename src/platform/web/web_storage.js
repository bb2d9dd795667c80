// The player's files in the browser's local storage, one entry per file
// ("wobblewick:" and its path), kept as base 64.
mergeInto(LibraryManager.library, {
  $WobbleStore: {
    prefix: 'wobblewick:',
    told: false,
    // Says once that nothing can be kept; the page shows it.
    cannot: function (why) {
      if (WobbleStore.told) return;
      WobbleStore.told = true;
      if (Module['onStorageProblem']) Module['onStorageProblem'](String(why));
    },
    keep: function (path) {
      try {
        var data = FS.readFile(path);
        var text = '';
        for (var i = 0; i < data.length; i += 8192)
          text += String.fromCharCode.apply(null, data.subarray(i, i + 8192));
        window.localStorage.setItem(WobbleStore.prefix + path, btoa(text));
      } catch (e) {
        WobbleStore.cannot(e);
      }
    },
  },
  wobbleRestoreFiles__deps: ['$WobbleStore'],
  wobbleRestoreFiles: function () {
    try {
      var storage = window.localStorage;
      // Reading is not enough: some browsers refuse only the writing.
      storage.setItem(WobbleStore.prefix, '');
      storage.removeItem(WobbleStore.prefix);
      for (var i = 0; i < storage.length; i++) {
        var key = storage.key(i);
        if (key.indexOf(WobbleStore.prefix + '/') !== 0) continue;
        var path = key.substring(WobbleStore.prefix.length);
        var text = atob(storage.getItem(key));
        var data = new Uint8Array(text.length);
        for (var j = 0; j < text.length; j++) data[j] = text.charCodeAt(j);
        FS.mkdirTree(path.substring(0, path.lastIndexOf('/')));
        FS.writeFile(path, data);
      }
    } catch (e) {
      WobbleStore.cannot(e);
    }
  },
  wobbleKeepFile__deps: ['$WobbleStore'],
  wobbleKeepFile: function (path) {
    WobbleStore.keep(UTF8ToString(path));
  },
  wobbleKeepStream__deps: ['$WobbleStore'],
  wobbleKeepStream: function (fd) {
    var stream = FS.getStream(fd);
    if (stream && stream.path) WobbleStore.keep(stream.path);
  },
});
