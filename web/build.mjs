// Builds the page into a folder: app.js (the page's code with the engine's loader, bundled and
// minified), the engine's .wasm, the page's files and data, a service worker that caches them
// under a version made of their hash, and vantora.html, the whole page in one file for file://.
//   node build.mjs ENGINE_FOLDER SITE_FOLDER
import { build } from 'esbuild';
import { createHash } from 'node:crypto';
import { copyFileSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const [engineFolder, site] = process.argv.slice(2).map((p) => resolve(p));
mkdirSync(site, { recursive: true });

await build({
  entryPoints: [join(here, 'src/main.js')], bundle: true, minify: true, format: 'iife', target: 'es2020',
  outfile: join(site, 'app.js'), alias: { 'vantora-engine': join(engineFolder, 'vantora-engine.js') },
  // The loader's node branches are never taken in a browser.
  external: ['fs', 'path'], logLevel: 'warning',
});
const copies = {
  'index.html': join(here, 'src/index.html'), 'style.css': join(here, 'src/style.css'),
  'vantora-engine.wasm': join(engineFolder, 'vantora-engine.wasm'),
  'places.bin': join(here, '../data/places.bin'), 'japan_map.bmp': join(here, '../data/japan_map.bmp'),
  'vantora.png': join(here, '../data/vantora.png'),
};
for (const [name, from] of Object.entries(copies)) copyFileSync(from, join(site, name));

const files = ['index.html', 'app.js', ...Object.keys(copies).filter((n) => n !== 'index.html')];
const hash = createHash('sha256');
for (const name of files) hash.update(readFileSync(join(site, name)));
const version = `vantora-${hash.digest('hex').slice(0, 12)}`;
writeFileSync(join(site, 'sw.js'), readFileSync(join(here, 'src/sw.js'), 'utf8')
  .replace('__VERSION__', version).replace('__FILES__', JSON.stringify(['./', ...files])));

// One file: the style inline, the wasm, the places and the map as data the page reads instead of
// fetching them. The inserted texts go in through functions: a replacement string would read the
// minified code's "$&" or "$'" as patterns.
const base64 = (name) => readFileSync(join(site, name)).toString('base64');
const script = (code) => `<script>${code.replaceAll('</script', '<\\/script')}</script>`;
const single = readFileSync(join(site, 'index.html'), 'utf8')
  .replace('<link rel="stylesheet" href="style.css">', () => `<style>${readFileSync(join(site, 'style.css'), 'utf8')}</style>`)
  .replace('<link rel="icon" href="vantora.png">', '')
  .replace(/<link rel="preload"[^>]*>\n/, '')
  .replace('<script src="app.js"></script>', () => script(
    `window.vantoraWasm=Uint8Array.from(atob("${base64('vantora-engine.wasm')}"),c=>c.charCodeAt(0));` +
    `window.vantoraPlacesUrl="data:application/octet-stream;base64,${base64('places.bin')}";` +
    `window.vantoraMapUrl="data:image/bmp;base64,${base64('japan_map.bmp')}";`) +
    script(readFileSync(join(site, 'app.js'), 'utf8')));
writeFileSync(join(site, 'vantora.html'), single);
console.log(`${site} (${version})`);
