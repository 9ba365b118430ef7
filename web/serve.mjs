// Serves a built page folder on 127.0.0.1 only and prints its address.
//   node serve.mjs SITE_FOLDER [PORT]   (port 0: any free one)
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';

const [site, portText = '8080'] = process.argv.slice(2);
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm', '.bin': 'application/octet-stream', '.bmp': 'image/bmp', '.png': 'image/png',
};
const server = createServer(async (request, response) => {
  const path = normalize(decodeURIComponent(new URL(request.url, 'http://localhost').pathname)).replace(/^(\.\.[/\\])+/, '');
  try {
    const body = await readFile(join(site, path.endsWith('/') ? `${path}index.html` : path));
    response.writeHead(200, { 'Content-Type': types[extname(path)] || 'text/html; charset=utf-8', 'Content-Length': body.length, 'Cache-Control': 'no-cache' });
    response.end(body);
  } catch {
    response.writeHead(404).end();
  }
});
server.listen(Number(portText), '127.0.0.1', () => console.log(`http://127.0.0.1:${server.address().port}/`));
