// The page around the game: the canvas at a whole-number scale, full screen,
// keys and mouse handed to the module, sound started by the first key or
// click, and a small interface for the page's tests (window.wobble).
'use strict';
(function () {
  var WIDTH = 928, HEIGHT = 704, COLUMNS = 116, ROWS = 88;
  var canvas = document.getElementById('screen');
  var stage = document.getElementById('stage');
  var notice = document.getElementById('notice');
  var query = new URLSearchParams(location.search);

  function say(element, text) {
    document.getElementById(element).textContent = text;
  }

  // ?args=... passes the game's switches (for example -skiptogame);
  // ?clock=step gives the tests a clock that moves only when they say.
  var extra = (query.get('args') || '').split(' ').filter(Boolean);
  var ready;
  var whenReady = new Promise(function (resolve) { ready = resolve; });

  var Module = (window.Module = {
    canvas: canvas,
    arguments: ['--host=web', '--data=/game'].concat(extra),
    wobbleStep: query.get('clock') === 'step',
    print: function (line) {
      if (line.indexOf('{"exitCode"') !== 0) return console.log(line);
      say('notice', 'The game has ended: reload the page to play again.');
      canvas.style.opacity = '0.4';
    },
    printErr: function (line) { console.warn(line); },
    onStorageProblem: function () {
      say('storage', 'This browser does not let the page keep your high score and levels.');
    },
    onRuntimeInitialized: function () {
      say('notice', '');
      ready();
    },
  });

  // The largest whole-number scale that fits; a window too small for the
  // picture at 1 gets it shrunk rather than cut.
  function fit() {
    var scale = Math.min(stage.clientWidth / WIDTH, stage.clientHeight / HEIGHT);
    if (scale >= 1) scale = Math.floor(scale);
    canvas.style.width = WIDTH * scale + 'px';
    canvas.style.height = HEIGHT * scale + 'px';
  }
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);
  fit();

  function toggleFullScreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else if (stage.requestFullscreen) stage.requestFullscreen().catch(function () {});
    canvas.focus();
  }
  document.getElementById('full').addEventListener('click', toggleFullScreen);

  function startSound() {
    if (!Module.wobbleAudio) return;
    Module.wobbleAudio.start();
    say('sound', '');
  }

  // Windows virtual-key codes by the key's place on the keyboard.
  var keys = {
    Backspace: 8, Tab: 9, Enter: 13, NumpadEnter: 13, ShiftLeft: 16, ShiftRight: 16,
    ControlLeft: 17, ControlRight: 17, AltLeft: 18, AltRight: 18, Pause: 19, CapsLock: 20,
    Escape: 27, Space: 32, PageUp: 33, PageDown: 34, End: 35, Home: 36, ArrowLeft: 37,
    ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Insert: 45, Delete: 46,
    NumpadMultiply: 106, NumpadAdd: 107, NumpadSubtract: 109, NumpadDecimal: 110,
    NumpadDivide: 111, Semicolon: 186, Equal: 187, Comma: 188, Minus: 189, Period: 190,
    Slash: 191, Backquote: 192, BracketLeft: 219, Backslash: 220, BracketRight: 221, Quote: 222,
  };
  function virtualKey(code) {
    if (keys[code]) return keys[code];
    var m = /^Key([A-Z])$/.exec(code) || /^Digit([0-9])$/.exec(code);
    if (m) return m[1].charCodeAt(0);
    if ((m = /^Numpad([0-9])$/.exec(code))) return 96 + Number(m[1]);
    if ((m = /^F([0-9]+)$/.exec(code)) && m[1] >= 1 && m[1] <= 24) return 111 + Number(m[1]);
    return 0;
  }
  function controlState(e) {
    return (e.shiftKey ? 0x10 : 0) | (e.ctrlKey ? 0x8 : 0) | (e.altKey ? 0x2 : 0);
  }
  function character(e) {
    if (e.key.length !== 1 || e.ctrlKey || e.altKey) {
      return { Enter: 13, Backspace: 8, Tab: 9, Escape: 27 }[e.key] || 0;
    }
    var c = e.key.charCodeAt(0);
    return c < 128 ? c : 0;
  }

  var hidden = {}; // keys whose press belonged to the page (Alt+Enter)
  function onKey(e) {
    var down = e.type === 'keydown';
    if (down) startSound();
    if (down && e.code.indexOf('Enter') >= 0 && e.altKey) {
      e.preventDefault();
      if (!e.repeat) toggleFullScreen();
      hidden[e.code] = true;
      return;
    }
    if (hidden[e.code]) {
      if (!down) delete hidden[e.code];
      e.preventDefault();
      return;
    }
    var vk = virtualKey(e.code);
    // The browser keeps its own shortcuts (reload, developer tools, full screen).
    if (!vk || e.metaKey || (e.ctrlKey && /^Key[RLTW]$/.test(e.code)) ||
        e.code === 'F5' || e.code === 'F11' || e.code === 'F12') return;
    e.preventDefault();
    if (Module._webKey) Module._webKey(down ? 1 : 0, vk, down ? character(e) : 0, controlState(e));
  }
  window.addEventListener('keydown', onKey);
  window.addEventListener('keyup', onKey);
  window.addEventListener('blur', function () {
    if (Module._webReleaseKeys) Module._webReleaseKeys();
  });

  // The mouse in cells; a move is reported when it reaches another cell.
  var lastCell = -1;
  function buttons(e) {
    return (e.buttons & 1 ? 1 : 0) | (e.buttons & 2 ? 2 : 0) | (e.buttons & 4 ? 4 : 0);
  }
  function onMouse(e) {
    if (!Module._webMouse) return;
    var r = canvas.getBoundingClientRect();
    var x = Math.min(COLUMNS - 1, Math.max(0, Math.floor(((e.clientX - r.left) / r.width) * COLUMNS)));
    var y = Math.min(ROWS - 1, Math.max(0, Math.floor(((e.clientY - r.top) / r.height) * ROWS)));
    if (e.type === 'wheel') {
      e.preventDefault();
      var notches = e.deltaY < 0 ? 1 : -1;
      Module._webMouse(x, y, buttons(e) | ((notches * 120) << 16), 4);
      return;
    }
    if (e.type === 'mousemove') {
      if (x + y * COLUMNS === lastCell) return;
      lastCell = x + y * COLUMNS;
      Module._webMouse(x, y, buttons(e), 1);
      return;
    }
    if (e.type === 'mousedown') {
      startSound();
      canvas.focus();
    }
    Module._webMouse(x, y, buttons(e), 0);
  }
  ['mousemove', 'mousedown', 'mouseup'].forEach(function (type) {
    canvas.addEventListener(type, onMouse);
  });
  canvas.addEventListener('wheel', onMouse, { passive: false });
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  document.addEventListener('click', startSound);

  // For the tests: the report the program prints at exit, the frame shown
  // now, the stepped clock and the main-thread time a frame costs.
  window.wobble = {
    ready: whenReady,
    report: function () {
      return JSON.parse(Module.UTF8ToString(Module._currentReport()));
    },
    frame: function () {
      var width = Module._webFrameWidth();
      var cells = Module.HEAPU8.slice(Module._webFrameCells(), Module._webFrameCells() + width * ROWS * 4);
      var palette = Array.from(Module.HEAPU32.subarray(Module._webFramePalette() >> 2, (Module._webFramePalette() >> 2) + 16));
      return { width: width, cells: Array.from(cells), palette: palette };
    },
    virtualMs: function () { return Module._webVirtualMs(); },
    // Lets the stepped clock run to `ms` and resolves once the game waits there.
    stepTo: function (ms) {
      Module._webStepTo(ms);
      return new Promise(function (resolve) {
        (function check() {
          if (Module._webVirtualMs() >= ms) resolve();
          else setTimeout(check, 1);
        })();
      });
    },
    frameCost: function () {
      return { busyMs: Module._webBusyMs(), frames: Module._webFramesShown() };
    },
  };
})();
