// The page's figures: the engine and script as transferred gzip-compressed, the time from
// navigation to the first chart and of one recompute in headless chromium, the engine's charts a
// second under node against the native command on 20,000 births, and the places data's size and
// load time. With a folder, it also saves the page's screenshots at phone and desktop width.
//   node web/measure.mjs SITE_FOLDER VANTORA_CHART [SCREENSHOT_FOLDER]
import { execFileSync, spawn } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';
import puppeteer from 'puppeteer-core';
import { loadEngine } from './engine/load_engine.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const [site, nativeCommand, shots] = process.argv.slice(2);
const gzipKB = (name) => gzipSync(readFileSync(join(site, name)), { level: 9 }).length / 1024;
console.log(`gzip: wasm ${gzipKB('vantora-engine.wasm').toFixed(1)} KB + app.js ${gzipKB('app.js').toFixed(1)} KB + index.html ${gzipKB('index.html').toFixed(1)} KB + style.css ${gzipKB('style.css').toFixed(1)} KB`);
console.log(`places.bin: ${(readFileSync(join(site, 'places.bin')).length / 1024).toFixed(0)} KB`);

const births = execFileSync('python3', [join(here, '../bench/make_births.py'), '20000', '7'], { encoding: 'utf8', maxBuffer: 1 << 30 });
const lines = births.split('\n').filter(Boolean);
const engine = await loadEngine(join(here, '../build-web/engine'));
let started = performance.now();
for (const line of lines) engine.chart(line);
const engineRate = lines.length / ((performance.now() - started) / 1000);
started = performance.now();
execFileSync(nativeCommand, ['--batch', '--jobs', '1'], { input: births, maxBuffer: 1 << 30 });
const nativeRate = lines.length / ((performance.now() - started) / 1000);
console.log(`20,000 births: engine under node ${engineRate.toFixed(0)} charts/s, native command (one thread) ${nativeRate.toFixed(0)} charts/s`);

const server = spawn('node', [join(here, 'serve.mjs'), site, '0']);
const address = await new Promise((resolve) => server.stdout.once('data', (d) => resolve(String(d).trim())));
const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  for (const visit of ['first visit', 'again, from the service worker\'s cache']) {
    if (visit === 'first visit') await page.goto(`${address}#y=1975&m=3&d=8&h=14&mi=5&sex=m&om=-12&os=30`);
    else await page.evaluate(() => navigator.serviceWorker.ready).then(() => page.reload());
    await page.waitForSelector('body[data-ready=true]');
    const ms = await page.evaluate(() => performance.getEntriesByName('vantora-first-chart')[0].startTime);
    console.log(`navigation → first chart (${visit}): ${ms.toFixed(0)} ms`);
  }
  // A change of the minute list: the chart computed, every text replaced and the page laid out.
  const recompute = await page.evaluate(() => {
    const select = document.querySelector('#minute');
    const times = [];
    for (let k = 0; k < 50; ++k) {
      select.value = String(k);
      const t = performance.now();
      select.dispatchEvent(new Event('input'));
      void document.body.offsetHeight;
      times.push(performance.now() - t);
    }
    return times.sort((a, b) => a - b)[25];
  });
  console.log(`one recompute with layout (median of 50): ${recompute.toFixed(2)} ms`);
  await page.type('#place', '綾部');
  await page.waitForSelector('#place-list li');
  const load = await page.evaluate(() => performance.getEntriesByName('vantora-places-load')[0].duration);
  console.log(`places data fetched and read: ${load.toFixed(0)} ms`);
  if (shots) {
    await page.goto(`${address}?shot#y=1975&m=3&d=8&h=14&mi=5&sex=m&om=-12&os=30`);
    await page.waitForSelector('body[data-ready=true]');
    await page.screenshot({ path: join(shots, 'web_desktop.png') });
    await page.setViewport({ width: 360, height: 740, deviceScaleFactor: 1 });
    await (await page.$('#chart')).screenshot({ path: join(shots, 'web_phone.png') });
  }
} finally {
  await browser.close();
  server.kill();
}
