// The browser build's speed-table rows, in Debian's chromium: how long the
// page takes to show its first picture and the menu, and the main-thread time
// of a frame of play; RUNS runs each (5 unless set).
// Usage: node web_bench.mjs URL (tests/web/web_page.sh serves the site)
import { createRequire } from 'module';
import path from 'path';
import { fileURLToPath } from 'url';

const repo = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const { chromium } = createRequire(path.join(repo, 'web/package.json'))('playwright-core');
const url = process.argv[2];
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });

async function open(context, query) {
  const page = await context.newPage();
  await page.goto(url + query);
  await page.evaluate(() => wobble.ready);
  return page;
}

// How long the page takes, from the moment it is asked for, to show its first
// picture (the splash) and the menu: for a player who taps a key every tenth of
// a second (each key shortens one stage of the splash, as in every host), and
// for one who waits the splash out. The page itself taps and watches, on its
// own clock, so a busy test driver cannot slow the player down.
async function startTimes(context) {
  const menuAfter = (tapping) => new Promise((done) => {
    let tapped = 0;
    const watch = setInterval(() => {
      const report = wobble.report();
      if (tapping && report.frames > 0 && performance.now() - tapped >= 100) {
        tapped = performance.now();
        for (const type of ['keydown', 'keyup'])
          window.dispatchEvent(new KeyboardEvent(type, { key: 'a', code: 'KeyA' }));
      }
      if (report.state === 2) {
        clearInterval(watch);
        done(performance.now());
      }
    }, 5);
  });
  const keyed = await open(context, '');
  const first = await (await keyed.waitForFunction(() => wobble.report().frames > 0 && performance.now(),
                                                   null, { polling: 5 })).jsonValue();
  const menu = await keyed.evaluate(menuAfter, true);
  const waited = await open(await browser.newContext(), '');
  return [first, menu, await waited.evaluate(menuAfter, false)];
}

// Main-thread time per frame while the player walks about, over a few seconds.
async function frameCost(context, seconds) {
  const page = await open(context, '?args=-skiptogame -soundoff');
  await page.waitForFunction(() => wobble.report().state === 3);
  await page.focus('#screen');
  const before = await page.evaluate(() => wobble.frameCost());
  for (let i = 0; i < seconds; i++) {
    await page.keyboard.down(i % 2 ? 'ArrowLeft' : 'ArrowRight');
    await page.waitForTimeout(900);
    await page.keyboard.up(i % 2 ? 'ArrowLeft' : 'ArrowRight');
    await page.keyboard.press('ArrowUp');
  }
  const after = await page.evaluate(() => wobble.frameCost());
  return (after.busyMs - before.busyMs) / Math.max(1, after.frames - before.frames);
}

// The median with the lowest and highest run.
function row(what, target, values, met) {
  values.sort((a, b) => a - b);
  const m = values[Math.floor(values.length / 2)];
  const f = (v) => v.toFixed(m < 10 ? 2 : 0);
  const verdict = met ? (met(m) ? 'yes' : 'no') : '—';
  console.log(`| ${what} | ${target} | ${f(m)} (${f(values[0])}–${f(values[values.length - 1])}) | ${verdict} |`);
}

try {
  const runs = Number(process.env.RUNS || 5);
  const starts = [];
  const costs = [];
  for (let i = 0; i < runs; i++) {
    starts.push(await startTimes(await browser.newContext()));
    costs.push(await frameCost(await browser.newContext(), 5));
  }
  row('browser (chromium, local server), the first picture (the splash) after the page is asked for, ms', '—',
      starts.map((s) => s[0]));
  row('browser, the menu after the page is asked for, a key tapped every 0.1 s through the splash, ms', '≤ 2,000',
      starts.map((s) => s[1]), (m) => m <= 2000);
  row('browser, the menu after the page is asked for, the splash waited out, ms', '—', starts.map((s) => s[2]));
  row('browser, a frame of play (walking about), ms of main-thread time', '< 2', costs, (m) => m < 2);
} finally {
  await browser.close();
}
