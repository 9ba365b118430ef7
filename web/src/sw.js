// Keeps the page's files for use without network. VERSION is replaced by the build with a hash of
// the files, so a new release installs its own cache and removes the old ones.
const VERSION = '__VERSION__';
const FILES = __FILES__;
self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(VERSION).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((keys) => Promise.all(keys.filter((k) => k !== VERSION).map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  const url = new URL(event.request.url);
  const request = url.origin === location.origin && url.pathname.endsWith('/') ? new Request(url.pathname + 'index.html') : event.request;
  event.respondWith(caches.open(VERSION).then((cache) => cache.match(request, { ignoreSearch: true })
    .then((hit) => hit || fetch(event.request))));
});
