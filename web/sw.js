// Keeps the page's files so that the game plays offline once loaded. The version below changes
// with the files (tools/web.sh writes it and the packs of puzzles the site serves), which
// installs a fresh copy and drops the old one.
'use strict';
const cacheName = 'velquin-@VERSION@';
const files = ['./', 'index.html', 'velquin.js', 'velquin.wasm', 'velquin.data',
               'manifest.webmanifest', 'icon-32.png', 'icon-128.png', 'hints.bin'@PACKS@];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files))
                      .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
      .then((names) => Promise.all(names.filter((n) => n.startsWith('velquin-') && n !== cacheName)
                                       .map((n) => caches.delete(n))))
      .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(cacheName)
      .then((cache) => cache.match(event.request, {ignoreSearch: true}))
      .then((hit) => hit || fetch(event.request)));
});
