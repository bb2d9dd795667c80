// The browser build in Debian's chromium: the page loads without an error,
// the menu's canvas is the rasteriser's picture of the same frame, level 1's
// proof sent as key events wins the level, and a reload keeps the high score.
// Usage: node web_page.mjs URL SRFTOOL SCRATCH
import { execFileSync } from 'child_process';
import { readFileSync, writeFileSync } from 'fs';
import { createRequire } from 'module';
import { gzipSync } from 'zlib';
import path from 'path';
import { fileURLToPath } from 'url';

const repo = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const { chromium } = createRequire(path.join(repo, 'web/package.json'))('playwright-core');
const [url, srftool, scratch] = process.argv.slice(2);

let failures = 0;
function check(ok, what) {
  console.log((ok ? 'ok: ' : 'FAILED: ') + what);
  if (!ok) failures++;
}

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--autoplay-policy=user-gesture-required'],
});

// A page of its own; every console error and uncaught exception is kept.
async function open(context, query, viewport = { width: 1000, height: 800 }) {
  const page = await context.newPage();
  await page.setViewportSize(viewport);
  page.errors = [];
  page.on('console', (m) => m.type() === 'error' && page.errors.push(m.text()));
  page.on('pageerror', (e) => page.errors.push(e.message));
  await page.goto(url + query);
  await page.evaluate(() => wobble.ready);
  await page.waitForFunction(() => wobble.report().frames > 0);
  return page;
}

async function menuMatchesRasteriser(context) {
  // At a window twice the picture's size the canvas is shown at twice its size.
  const page = await open(context, '?args=-skipsplash', { width: 2000, height: 1500 });
  await page.waitForFunction(() => wobble.report().state === 2, null, { timeout: 10000 });
  await page.waitForTimeout(500);
  // The frame and the canvas in one go: the game cannot draw in between.
  const shown = await page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    return { frame: wobble.frame(), pixels: Array.from(pixels), w: canvas.width, h: canvas.height,
             styleWidth: canvas.style.width };
  });
  check(shown.styleWidth === '1856px', `the canvas at a whole-number scale (${shown.styleWidth})`);
  const { width, cells, palette } = shown.frame;
  const header = Buffer.alloc(88);
  header.writeUInt16LE(0xabcd, 0);
  header.writeUInt32LE(88 + cells.length, 4);
  header.writeUInt32LE(cells.length, 8);
  header.writeUInt32LE(width, 12);
  header.writeUInt32LE(88, 16);
  writeFileSync(`${scratch}/menu.srf`, Buffer.concat([header, Buffer.from(cells)]));
  const rgb = palette.map((c) => [c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff]
    .map((v) => v.toString(16).padStart(2, '0')).join(''));
  execFileSync(srftool, ['png', `${scratch}/menu.srf`, `${scratch}/menu.png`, `--palette=${rgb.join(',')}`]);
  const png = readFileSync(`${scratch}/menu.png`).toString('base64');
  const expected = await page.evaluate(async (data) => {
    const image = await createImageBitmap(await (await fetch('data:image/png;base64,' + data)).blob());
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    return { w: image.width, h: image.height,
             pixels: Array.from(context.getImageData(0, 0, image.width, image.height).data) };
  }, png);
  let differing = 0;
  for (let i = 0; i < expected.pixels.length; i++) if (expected.pixels[i] !== shown.pixels[i]) differing++;
  check(expected.w === shown.w && expected.h === shown.h && differing === 0,
        `the menu's canvas (${shown.w}x${shown.h}) is the rasteriser's picture ` +
        `(${expected.w}x${expected.h}), ${differing} bytes differ`);
  check(page.errors.length === 0, `no error in the console: ${page.errors.join(' | ')}`);
}

// The script's events as [time, 'down'|'up', key], in order, and its end and expectations.
function readProof(file) {
  const keys = { RETURN: 'Enter', ENTER: 'Enter', SPACE: 'Space', ESCAPE: 'Escape', ESC: 'Escape',
                 LEFT: 'ArrowLeft', RIGHT: 'ArrowRight', UP: 'ArrowUp', DOWN: 'ArrowDown',
                 BACK: 'Backspace', TAB: 'Tab', SHIFT: 'Shift', CONTROL: 'Control', CTRL: 'Control',
                 DELETE: 'Delete', HOME: 'Home', END: 'End', PRIOR: 'PageUp', NEXT: 'PageDown' };
  const proof = { events: [], end: 0 };
  for (const line of readFileSync(file, 'utf8').split('\n')) {
    const expect = /# expect level=(\d+) next=(\d+) score=(\d+)/.exec(line);
    if (expect) [proof.level, proof.next, proof.score] = expect.slice(1).map(Number);
    const [time, what, name] = line.replace(/#.*/, '').trim().split(/\s+/);
    const key = keys[name] || (name && name.length === 1 ? name.toLowerCase() : undefined);
    if (what === 'end') proof.end = Number(time);
    else if (what === 'tap') proof.events.push([+time, 'down', key], [+time + 20, 'up', key]);
    else if (what === 'down' || what === 'up') proof.events.push([+time, what, key]);
    else if (what) throw new Error(`${file}: the browser test does not send '${line}'`);
  }
  proof.events.sort((a, b) => a[0] - b[0]);
  return proof;
}

async function proofWinsAndReloadKeepsHighScore(context) {
  const proof = readProof(path.join(repo, 'tests/levels/01-wake.script'));
  const page = await open(context, '?clock=step&args=-skiptogame -soundoff --seed=0');
  await page.focus('#screen');
  for (const [time, what, key] of proof.events) {
    await page.evaluate((t) => wobble.stepTo(t), time);
    await (what === 'down' ? page.keyboard.down(key) : page.keyboard.up(key));
  }
  await page.evaluate((t) => wobble.stepTo(t), proof.end);
  const report = await page.evaluate(() => wobble.report());
  check(report.levelIndex === proof.next && report.score === proof.score && report.lives === 3,
        `level 1's proof wins the level: ${JSON.stringify(report).slice(0, 110)}`);
  check(report.highScore === proof.score, `the new high score is ${report.highScore}`);
  check(page.errors.length === 0, `no error in the console: ${page.errors.join(' | ')}`);
  await page.goto(url + '?args=-skiptogame -soundoff');
  await page.evaluate(() => wobble.ready);
  await page.waitForFunction(() => wobble.report().state === 3);
  const again = await page.evaluate(() => wobble.report());
  check(again.highScore === proof.score, `after a reload the high score is ${again.highScore}`);
}

// A browser without an Ogg Vorbis decoder and with storage that refuses to
// write: the module decodes the sounds, the page says once that it cannot
// store, and until the first key the page says sound is waiting for it. What
// comes before the menu is small and holds no music.
async function poorBrowser(context) {
  await context.addInitScript(() => {
    AudioContext.prototype.decodeAudioData = function (data, ok, fail) {
      fail(new DOMException('no Ogg Vorbis here', 'EncodingError'));
    };
    Storage.prototype.setItem = () => {
      throw new DOMException('full', 'QuotaExceededError');
    };
  });
  const fetched = [];
  context.on('response', async (r) => fetched.push({ url: r.url(), body: await r.body().catch(() => Buffer.alloc(0)) }));
  const page = await open(context, '?args=-skipsplash');
  await page.waitForFunction(() => wobble.report().state === 2, null, { timeout: 10000 });
  const before = fetched.slice();
  const compressed = before.reduce((sum, f) => sum + gzipSync(f.body).length, 0);
  check(compressed <= 1.5e6 && !before.some((f) => f.url.includes('/music/')),
        `before the menu ${before.length} files, ${(compressed / 1e6).toFixed(2)} MB compressed, no music`);
  const said = () => page.evaluate(() => ['sound', 'storage'].map((id) => document.getElementById(id).textContent));
  const [waiting, storage] = await said();
  check(waiting !== '' && storage !== '', `the page says "${waiting}" and "${storage}"`);
  await page.focus('#screen');
  await page.keyboard.press('Shift');
  await page.waitForFunction(() => {
    const sounds = Module.wobbleAudio.sounds.filter(Boolean);
    return sounds.length === 10 && sounds.every((s) => s.buffer);
  }, null, { timeout: 20000 });
  check((await said())[0] === '', 'the music and every effect are decoded in the module after a key');
  check(fetched.some((f) => f.url.endsWith('/music/Menu.ogg')), 'the menu music is fetched once needed');
  check(page.errors.length === 0, `no error in the console: ${page.errors.join(' | ')}`);
}

try {
  await menuMatchesRasteriser(await browser.newContext());
  await proofWinsAndReloadKeepsHighScore(await browser.newContext());
  await poorBrowser(await browser.newContext());
} finally {
  await browser.close();
}
process.exit(failures ? 1 : 0);
