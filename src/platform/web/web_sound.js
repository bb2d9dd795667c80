// Sound on the page's audio. Nothing plays before the player's first key or
// click (browsers forbid it): the page then calls Module.wobbleAudio.start().
// Effects come with the page's data; music is fetched when first played.
mergeInto(LibraryManager.library, {
  $WobbleAudio: {
    context: null,
    gains: [null, null], // the music group and the effects group
    volumes: [1, 1],
    sounds: [], // by handle - 1: {path, loop, group, bytes, buffer, loading}
    voices: {}, // by channel: {source, ended}
    nextChannel: 1,
    music: null, // {sound, channel, source}

    start: function () {
      if (WobbleAudio.context) {
        if (WobbleAudio.context.state === 'suspended') WobbleAudio.context.resume();
        return;
      }
      var Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) return;
      var context = (WobbleAudio.context = new Context());
      for (var g = 0; g < 2; g++) {
        WobbleAudio.gains[g] = context.createGain();
        WobbleAudio.gains[g].gain.value = WobbleAudio.volumes[g];
        WobbleAudio.gains[g].connect(context.destination);
      }
      WobbleAudio.sounds.forEach(function (sound) {
        if (sound && !sound.loop) WobbleAudio.load(sound);
      });
      if (WobbleAudio.music) WobbleAudio.startMusic(WobbleAudio.music);
    },

    // Fetches (music) and decodes a sound once; the browser's own decoder
    // first, the module's where the browser has no Ogg Vorbis.
    load: function (sound) {
      if (sound.buffer || sound.loading) return sound.loading;
      var bytes = sound.bytes
        ? Promise.resolve(sound.bytes)
        : fetch(sound.path.replace(/^\/game\//, '')).then(function (response) {
            if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
            return response.arrayBuffer().then(function (b) { return new Uint8Array(b); });
          });
      sound.loading = bytes
        .then(function (data) {
          sound.bytes = data;
          if (!WobbleAudio.context) throw 'later';
          return WobbleAudio.decode(data);
        })
        .then(function (buffer) {
          sound.buffer = buffer;
          sound.bytes = null;
          return buffer;
        })
        .catch(function (why) {
          sound.loading = null;
          if (why !== 'later') console.warn('wobblewick: ' + sound.path + ': ' + why);
        });
      return sound.loading;
    },

    decode: function (data) {
      var context = WobbleAudio.context;
      return new Promise(function (resolve, reject) {
        context.decodeAudioData(data.slice().buffer, resolve, reject);
      }).catch(function () {
        var buffer = WobbleAudio.decodeInModule(data);
        if (!buffer) throw 'not Ogg Vorbis';
        return buffer;
      });
    },

    decodeInModule: function (data) {
      var bytes = _malloc(data.length), info = _malloc(12);
      HEAPU8.set(data, bytes);
      var samples = _webDecodeVorbis(bytes, data.length, info);
      _free(bytes);
      var channels = HEAP32[info >> 2], rate = HEAP32[(info >> 2) + 1];
      var frames = HEAP32[(info >> 2) + 2];
      _free(info);
      if (!samples) return null;
      var buffer = WobbleAudio.context.createBuffer(channels, frames, rate);
      for (var c = 0; c < channels; c++) {
        var out = buffer.getChannelData(c);
        for (var i = 0; i < frames; i++) out[i] = HEAP16[(samples >> 1) + i * channels + c] / 32768;
      }
      _free(samples);
      return buffer;
    },

    voice: function (sound, loop) {
      var source = WobbleAudio.context.createBufferSource();
      source.buffer = sound.buffer;
      source.loop = loop; // a looped buffer plays without a seam
      source.connect(WobbleAudio.gains[sound.group === 0 ? 0 : 1]);
      source.start();
      return source;
    },

    // Music is fetched only once sound may start: a player who never
    // presses a key never downloads it.
    startMusic: function (music) {
      if (!WobbleAudio.context) return;
      WobbleAudio.load(music.sound);
      Promise.resolve(music.sound.loading).then(function () {
        if (WobbleAudio.music !== music || music.source || !music.sound.buffer) return;
        music.source = WobbleAudio.voice(music.sound, true);
      });
    },

    stopMusic: function () {
      var music = WobbleAudio.music;
      WobbleAudio.music = null;
      if (music && music.source) music.source.stop();
    },
  },

  wobbleSoundOpen__deps: ['$WobbleAudio'],
  wobbleSoundOpen: function (path, loop) {
    var sound = {path: UTF8ToString(path), loop: !!loop, group: 1};
    if (!loop) {
      try {
        sound.bytes = FS.readFile(sound.path);
      } catch (e) {
        // not in the page's data: fetched when played
      }
      if (WobbleAudio.context) WobbleAudio.load(sound);
    }
    WobbleAudio.sounds.push(sound);
    return WobbleAudio.sounds.length;
  },
  wobbleSoundRelease__deps: ['$WobbleAudio'],
  wobbleSoundRelease: function (handle) {
    var sound = WobbleAudio.sounds[handle - 1];
    if (!sound) return;
    if (WobbleAudio.music && WobbleAudio.music.sound === sound) WobbleAudio.stopMusic();
    WobbleAudio.sounds[handle - 1] = null;
  },
  wobbleSoundSetGroup__deps: ['$WobbleAudio'],
  wobbleSoundSetGroup: function (handle, group) {
    var sound = WobbleAudio.sounds[handle - 1];
    if (sound) sound.group = group;
  },
  wobbleSoundPlay__deps: ['$WobbleAudio'],
  wobbleSoundPlay: function (handle) {
    var sound = WobbleAudio.sounds[handle - 1];
    if (!sound) return -1;
    var channel = WobbleAudio.nextChannel++;
    if (sound.loop) {
      WobbleAudio.stopMusic();
      WobbleAudio.music = {sound: sound, channel: channel, source: null};
      WobbleAudio.startMusic(WobbleAudio.music);
      return channel;
    }
    // An effect that cannot play yet (no sound allowed, still decoding) is over at once.
    if (!WobbleAudio.context || WobbleAudio.context.state !== 'running' || !sound.buffer) {
      if (WobbleAudio.context) WobbleAudio.load(sound);
      return channel;
    }
    var voice = {source: WobbleAudio.voice(sound, false)};
    voice.source.onended = function () {
      delete WobbleAudio.voices[channel];
    };
    WobbleAudio.voices[channel] = voice;
    return channel;
  },
  wobbleSoundIsPlaying__deps: ['$WobbleAudio'],
  wobbleSoundIsPlaying: function (channel) {
    if (WobbleAudio.music && WobbleAudio.music.channel === channel) return 1;
    return WobbleAudio.voices[channel] ? 1 : 0;
  },
  wobbleSoundSetGroupVolume__deps: ['$WobbleAudio'],
  wobbleSoundSetGroupVolume: function (group, volume) {
    if (group !== 0 && group !== 1) return;
    volume = Math.min(Math.max(volume, 0), 1);
    WobbleAudio.volumes[group] = volume;
    if (WobbleAudio.gains[group]) WobbleAudio.gains[group].gain.value = volume;
  },
  wobbleSoundShutdown__deps: ['$WobbleAudio'],
  wobbleSoundShutdown: function () {
    WobbleAudio.stopMusic();
    for (var channel in WobbleAudio.voices) WobbleAudio.voices[channel].source.stop();
    WobbleAudio.voices = {};
    WobbleAudio.sounds = [];
  },
  $WobbleAudio__deps: ['malloc', 'free'],
  $WobbleAudio__postset: 'Module["wobbleAudio"] = WobbleAudio;',
});
