// The web app's service worker; make_app.py writes it into build-web/app/ with the folder's files
// and their hashes. It keeps those files in one cache named after their bytes and answers from it,
// so that the app starts with no network once it has been opened. A new publish is a new worker
// (its list is new): the browser installs it at the next start, and it keeps the files it fetches
// only if every one matches its hash, so that a folder copied halfway leaves the version before it
// running. Then it takes over at once and deletes the cache before it: the page holds the whole
// program and asks nothing more once started, and the start after is the new build. It acts only
// on the browser's events: no timer, no message, no sync.
'use strict';

const FILES = @FILES@; // name in the folder -> SHA-256 of its bytes, hex
// Per folder: the same origin may publish more than one copy.
const PREFIX = `tarvo ${self.registration.scope} `;
const CACHE = PREFIX + '@VERSION@';

const hex = (buffer) => [...new Uint8Array(buffer)].map((b) => b.toString(16).padStart(2, '0')).join('');

async function keep(cache, name) {
    const response = await fetch(name, { cache: 'reload' });
    const bytes = await response.arrayBuffer();
    if (!response.ok || hex(await crypto.subtle.digest('SHA-256', bytes)) !== FILES[name])
        throw new Error(`${name} is not the one this version lists`);
    await cache.put(name, new Response(bytes, { headers: response.headers }));
}

self.addEventListener('install', (event) => {
    event.waitUntil((async () => {
        const cache = await caches.open(CACHE);
        try {
            await Promise.all(Object.keys(FILES).map((name) => keep(cache, name)));
        } catch (e) {
            await caches.delete(CACHE);
            throw e;
        }
        await self.skipWaiting();
    })());
});

self.addEventListener('activate', (event) => {
    event.waitUntil((async () => {
        for (const name of await caches.keys())
            if (name.startsWith(PREFIX) && name !== CACHE) await caches.delete(name);
        await self.clients.claim();
    })());
});

// The folder's own address is its index.html; a query (a link's) changes nothing.
self.addEventListener('fetch', (event) => {
    const url = new URL(event.request.url);
    const scope = self.registration.scope;
    if (event.request.method !== 'GET' || !url.href.startsWith(scope)) return;
    const name = url.pathname.slice(new URL(scope).pathname.length) || 'index.html';
    if (!(name in FILES)) return;
    event.respondWith(caches.open(CACHE).then((cache) => cache.match(name))
        .then((kept) => kept || fetch(event.request)));
});
