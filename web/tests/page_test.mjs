// The page in headless chromium, used as a person uses it: births typed and chosen in the form
// (and one place by name, one map click), every shown text compared with `vantora-chart --json`
// for the same birth; the export text's copy; the book carried to the desktop command's book and
// back; reopening offline; the one-file page from disk; printing on one A4 page; the
// accessibility audit.
//   node page_test.mjs VANTORA_CHART SITE_FOLDER
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { createRequire } from 'node:module';
import { spawn } from 'node:child_process';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import { controlText } from '../src/chart_text.mjs';

const [nativeCommand, site] = process.argv.slice(2);
const now = '2026-12-08T10:00:00';
const here = dirname(fileURLToPath(import.meta.url));

// The births: [year, month, day, hour, minute, sex, offset minutes, offset seconds] or a place.
const births = [
  { y: '1975', m: '3', d: '8', h: '14', mi: '5', sex: 'male', om: '-12', os: '30', save: ['山田 花子', 'やまだ はなこ', '初回\n二行目'] },
  { y: '1984', m: '2', d: '4', h: '23', mi: '59', sex: 'female', om: '0', os: '0' },   // 立春の日
  { y: '2000', m: '2', d: '29', h: '0', mi: '0', sex: 'male', om: '5', os: '7' },     // 29 February
  { y: '1500', m: '1', d: '1', h: '?', mi: '?', sex: 'female', om: '-0', os: '15' },  // hour unknown
  { y: '2099', m: '12', d: '31', h: '12', mi: '?', sex: 'male', om: '59', os: '59' },
  { y: '1900', m: '6', d: '15', h: '6', mi: '30', sex: 'female', om: '-59', os: '0' },
  { y: '1945', m: '8', d: '15', h: '12', mi: '0', sex: 'male', om: '3', os: '45' },
  { y: '2024', m: '2', d: '4', h: '17', mi: '27', sex: 'female', om: '-7', os: '8' }, // 立春 2024
  { y: '1868', m: '10', d: '23', h: '9', mi: '15', sex: 'male', om: '10', os: '0' },
  { y: '1999', m: '7', d: '1', h: '0', mi: '0', sex: 'female', place: '綾部市本町一丁目', save: ['京', '', ''] },
  { y: '1975', m: '3', d: '8', h: '14', mi: '5', sex: 'male', map: [280, 310] },
];

const server = spawn('node', [join(here, '../serve.mjs'), site, '0']);
const address = await new Promise((resolve) => server.stdout.once('data', (d) => resolve(String(d).trim())));
const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
let failed = 0, passed = 0;
const check = (ok, what) => { if (ok) ++passed; else { ++failed; console.log(`FAILED: ${what}`); } };
try {
  const context = browser.defaultBrowserContext();
  await context.overridePermissions(address, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
  const page = await browser.newPage();
  page.on('dialog', (dialog) => dialog.accept());
  const downloads = mkdtempSync(join(tmpdir(), 'vantora-page-'));
  await (await page.createCDPSession()).send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  page.on('pageerror', (e) => check(false, `page error ${e.message}`));
  // Nothing typed leaves the device: every request is for the page's own files (or its data: and blob: URLs).
  const foreign = [];
  page.on('request', (r) => { if (!/^(data:|blob:|file:)/.test(r.url()) && !r.url().startsWith(address)) foreign.push(r.url()); });
  // The page's clock stands at `now`, the moment the command is given.
  await page.evaluateOnNewDocument((fixed) => {
    const at = new Date(fixed).getTime();
    window.Date = class extends Date { constructor(...a) { super(...(a.length ? a : [at])); } static now() { return at; } };
  }, now);
  await page.goto(address);
  await page.waitForSelector('body[data-ready=true]');

  const retype = async (selector, text) => {
    await page.click(selector);
    await page.keyboard.down('Control');
    await page.keyboard.press('a');
    await page.keyboard.up('Control');
    await page.keyboard.type(text);
  };
  for (const birth of births) {
    await retype('#year', birth.y);
    await page.select('#month', birth.m);
    await page.select('#day', birth.d);
    await page.select('#hour', birth.h);
    if (birth.h !== '?') await page.select('#minute', birth.mi);
    await page.click(birth.sex === 'male' ? '#optM' : '#optW');
    if (birth.place) {
      await page.type('#place', birth.place);
      await page.waitForSelector('#place-list li');
      await page.keyboard.press('Enter');
    } else if (birth.map) {
      await page.click('#btnmap');
      const box = await (await page.waitForSelector('#map')).boundingBox();
      await page.mouse.click(box.x + birth.map[0] * box.width / 500, box.y + birth.map[1] * box.height / 500);
      await page.click('#map-close');
    } else {
      await retype('#om', birth.om);
      await retype('#os', birth.os);
    }
    await new Promise((r) => setTimeout(r, 50));
    const offsets = await page.$eval('#om', (om) => [om.value, document.querySelector('#os').value]);
    const place = await page.$eval('#place', (p) => p.value);
    const args = ['--json', '--now', now, '--year', birth.y, '--month', birth.m, '--day', birth.d, '--hour', birth.h,
      '--minute', birth.h === '?' ? '?' : birth.mi, '--sex', birth.sex,
      ...(birth.place ? ['--place', place] : [`--offset-minutes=${offsets[0]}`, `--offset-seconds=${offsets[1]}`])];
    const expected = JSON.parse(execFileSync(nativeCommand, args, { encoding: 'utf8' }));
    for (const asReversed of [false, true]) {
      const shown = await page.$$eval('[data-control]', (elements) => elements.map((e) => [e.dataset.control, e.value ?? e.textContent]));
      const wrong = shown.filter(([name, text]) => !['txtJisahun', 'txtJisabyo'].includes(name) && text !== controlText(expected, name, asReversed));
      check(wrong.length === 0, `${JSON.stringify(birth)}${asReversed ? ' reversed' : ''}: ${JSON.stringify(wrong.slice(0, 3))}`);
      await page.click('#btn_000');
    }
    if (birth.save) {
      for (const [field, text] of [['#book-name', birth.save[0]], ['#book-kana', birth.save[1]], ['#book-memo', birth.save[2]]]) {
        await retype(field, '');
        for (const part of text.split('\n').flatMap((t, k) => (k ? ['\n', t] : [t]))) {
          if (part === '\n') await page.keyboard.press('Enter'); else await page.keyboard.type(part);
        }
      }
      await page.click('#book-save');
      await page.waitForFunction((name) => document.querySelector('#book-status').textContent.startsWith(name), {}, birth.save[0]);
    }
    if (birth === births[0]) {
      await page.click('#btnexport');
      const copied = await page.evaluate(() => navigator.clipboard.readText());
      check(copied === expected.export, 'the copied export text is the command\'s');
      const hash = await page.evaluate(() => location.hash);
      check(hash === '#y=1975&m=3&d=8&h=14&mi=5&sex=m&om=-12&os=30', `the address keeps the birth: ${hash}`);
    }
  }

  // A birth that cannot be computed: the command's reason, beside the field.
  await retype('#year', '1499');
  const refused = spawnSync(nativeCommand, ['--year', '1499', '--month', '1', '--day', '1', '--hour', '0', '--minute', '0', '--sex', 'male'], { encoding: 'utf8' });
  check(await page.$eval('#year-error', (e) => e.textContent) === refused.stderr.trim(), `the year's error: ${refused.stderr}`);
  await retype('#year', '1975');

  // The book: the page's export read by the desktop command's book, whose export the page reads
  // back; both exports agree line for line (but for the moment each was written).
  const exported = async () => {
    const file = join(downloads, 'vantora-book.jsonl');
    rmSync(file, { force: true });
    await page.click('#book-export');
    for (let k = 0; k < 100 && !existsSync(file); ++k) await new Promise((r) => setTimeout(r, 50));
    return readFileSync(file, 'utf8');
  };
  const withoutNow = (text) => text.split('\n').filter(Boolean).map((line) => JSON.stringify({ ...JSON.parse(line), now: '' }));
  const fromPage = await exported();
  const book = join(downloads, 'book.db');
  execFileSync(nativeCommand, ['--book', book, '--import'], { input: fromPage, stdio: ['pipe', 'pipe', 'pipe'] });
  const fromDesktop = execFileSync(nativeCommand, ['--book', book, '--export'], { encoding: 'utf8' });
  check(JSON.stringify(withoutNow(fromDesktop)) === JSON.stringify(withoutNow(fromPage)) && withoutNow(fromPage).length === 2,
    `the desktop book keeps the page's export:\n${fromPage}${fromDesktop}`);
  writeFileSync(join(downloads, 'desktop.jsonl'), fromDesktop);
  await (await page.$('#book-import')).uploadFile(join(downloads, 'desktop.jsonl'));
  await page.waitForFunction(() => document.querySelector('#book-status').textContent.includes('読み込みました'));
  check(JSON.stringify(withoutNow(await exported())) === JSON.stringify(withoutNow(fromDesktop)), 'the page reads the desktop export back unchanged');
  rmSync(downloads, { recursive: true, force: true });

  // Opened from a link naming a place: the place's time difference is shown.
  await page.goto(`${address}#y=1999&m=7&d=1&h=0&mi=0&sex=f&place=${encodeURIComponent('京都府綾部市本町一丁目')}`);
  await page.waitForFunction(() => document.querySelector('[data-control=txtBirthday]').textContent !== '');
  const found = execFileSync(nativeCommand, ['--find', '京都府綾部市本町一丁目'], { encoding: 'utf8' }).split('\t')[3];
  check(await page.$eval('#om', (om) => `${om.value}分${document.querySelector('#os').value}秒`) === found.trim(), 'a linked place gives its time difference');
  check(await page.$eval('#birth-place', (e) => e.textContent) === `京都府綾部市本町一丁目（時差 ${found.trim()}）`,
    'the printed page names the place and its time difference as the desktop print does');
  // Opened from a link, then again without network (the service worker's copy).
  await page.goto(`${address}#y=1984&m=2&d=4&h=23&mi=59&sex=f&om=0&os=0`);
  await page.waitForSelector('body[data-ready=true]');
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.setOfflineMode(true);
  await page.reload();
  await page.waitForSelector('body[data-ready=true]');
  check(await page.$eval('[data-control=txtBirthday]', (e) => e.textContent) === '1984年2月4日23時59分', 'offline reload shows the linked chart');
  await page.setOfflineMode(false);

  // The one-file page, opened from disk.
  await page.goto(`file://${resolve(site)}/vantora.html#y=2000&m=2&d=29&h=0&mi=0&sex=m&om=5&os=7`);
  await page.waitForSelector('body[data-ready=true]');
  check(await page.$eval('[data-control=txtBirthday]', (e) => e.textContent) === '2000年2月29日0時0分', 'the one-file page from file://');

  const printed = Buffer.from(await page.pdf({ preferCSSPageSize: true })).toString('latin1');
  check((printed.match(/\/Type\s*\/Page\b(?!s)/g) || []).length === 1 && /\/MediaBox \[0 0 594\.9\d* 841\.9\d*\]/.test(printed),
    'the chart prints on one A4 page');

  check(foreign.length === 0, `requests beyond the page's own files: ${foreign.join(' ')}`);

  const axe = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
  await page.evaluate(axe);
  const violations = await page.evaluate(async () => (await window.axe.run()).violations
    .filter((v) => v.impact === 'serious' || v.impact === 'critical').map((v) => `${v.id}: ${v.nodes.length}`));
  check(violations.length === 0, `accessibility: ${violations.join(', ')}`);
} finally {
  await browser.close();
  server.kill();
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
