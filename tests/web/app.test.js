// The web app (build-web/app/) as published: a static host of the test's own on 127.0.0.1 serves
// the folder at a path of its own. Installable; a whole tarvo with the host stopped; a folder
// copied halfway left alone, a new publish taken up and the old cache gone.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const { execFileSync } = require('node:child_process');
const t = require('./support');

const APP = path.join(t.ROOT, 'build-web', 'app');
const skip = (t.ENGINE !== 'chromium'
    && `installability is asked of Chromium's DevTools protocol, which ${t.ENGINE} has not`)
    || (!fs.existsSync(path.join(APP, 'sw.js')) && `no ${APP}: build it with scripts/web`);
const AT = '/classe/tarvo/';
const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.png': 'image/png',
    '.webmanifest': 'application/manifest+json' };

// Serves the files of `root` at AT as they are on disk at each request; `seen` lists the paths
// asked for.
function host(root) {
    const seen = [];
    const server = http.createServer((req, res) => {
        seen.push(req.url);
        const name = req.url.split('?')[0].slice(AT.length) || 'index.html';
        const file = path.join(root, name);
        if (!req.url.startsWith(AT) || !/^[\w.-]+$/.test(name) || !fs.existsSync(file))
            return res.writeHead(404).end();
        res.writeHead(200, { 'content-type': TYPES[path.extname(name)] }).end(fs.readFileSync(file));
    });
    let port = 0;
    return {
        seen,
        start: () => new Promise((r) => server.listen(port, '127.0.0.1',
            () => r(port = server.address().port))),
        stop: () => new Promise((r) => (server.close(r), server.closeAllConnections())),
    };
}

// The folder of a new build, as scripts/web would make it: the page with one thing more, remade.
function newBuild(dir) {
    fs.cpSync(APP, dir, { recursive: true });
    const page = path.join(dir, '..', 'tarvo.html');
    fs.writeFileSync(page, fs.readFileSync(path.join(APP, '..', 'tarvo.html'), 'utf8')
        .replace('</head>', '<meta name="tarvo-build" content="2">\n</head>'));
    execFileSync('/usr/bin/python3', [path.join(t.ROOT, 'src', 'web', 'make_app.py'), page,
        path.join(t.ROOT, 'src', 'model', 'Palette.h'), dir]);
}

// What Chromium says keeps the page from being installed, in a profile of its own: the drivers'
// windows are incognito ones, which can install nothing.
async function installability(url) {
    const { chromium } = require('playwright-core');
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tarvo-profile-'));
    const context = await chromium.launchPersistentContext(profile, { headless: true,
        executablePath: process.env.TARVO_CHROMIUM || '/usr/bin/chromium',
        args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'] });
    try {
        const page = await context.newPage();
        await page.goto(url);
        await page.waitForFunction(() => navigator.serviceWorker.controller);
        const cdp = await context.newCDPSession(page);
        return [...(await cdp.send('Page.getInstallabilityErrors')).installabilityErrors,
            ...(await cdp.send('Page.getAppManifest')).errors];
    } finally {
        await context.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
}

const caches = (s) => s.tab.eval(() => caches.keys());
const newBuildRuns = (s) => s.tab.eval(() => !!document.querySelector('meta[name="tarvo-build"]'));
async function restart(s) {
    await s.tab.page.reload();
    await t.waitFor(s, () => !!document.querySelector('.tarvo-window'), 'the program to start');
    await t.reader(s);
}

test('the web app', { skip }, async (tt) => {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'tarvo-app-'));
    const root = path.join(dir, 'app');
    fs.cpSync(APP, root, { recursive: true });
    const server = host(root);
    const url = `http://127.0.0.1:${await server.start()}${AT}`;
    const browser = await t.launch();
    tt.after(async () => {
        await browser.close();
        await server.stop();
        fs.rmSync(dir, { recursive: true, force: true });
    });
    const s = await t.open(browser, { url });
    await t.waitFor(s, () => !!navigator.serviceWorker.controller, 'the worker to take the page');
    const first = await caches(s);

    await tt.test('installable, as Chromium judges it', async () => {
        assert.deepStrictEqual(await installability(url), []);
        assert.strictEqual(first.length, 1);
    });

    await tt.test('a whole tarvo by keys with the host stopped, and then nothing left running', async () => {
        await server.stop();
        await restart(s);
        await t.curtainsOpen(s);
        await t.WAYS.keys.choose(s, 15);
        await t.titled(s, 'Form1');
        await t.play(s, t.WAYS.keys);
        await t.celebrating(s);
        await t.afterTick(s, 400);
        await t.WAYS.keys.press(s, 'Esco');
        await t.ended(s);
        assert.deepStrictEqual(await s.tab.eval(() => window.__probe.left()),
            { timers: 0, frames: 0, listeners: [] });
    });

    const next = path.join(dir, 'next', 'app');
    newBuild(next);
    await tt.test('a folder copied halfway: the version before it stays', async () => {
        fs.copyFileSync(path.join(next, 'sw.js'), path.join(root, 'sw.js'));
        server.seen.length = 0;
        await server.start();
        await restart(s);
        // The new worker asks for the page only while it installs.
        await t.until(() => server.seen.includes(`${AT}index.html`), 'the new worker to install');
        await t.waitFor(s, () => navigator.serviceWorker.getRegistration()
            .then((r) => !r.installing && !r.waiting), 'the install to end');
        assert.deepStrictEqual(await caches(s), first);
        await restart(s);
        assert.strictEqual(await newBuildRuns(s), false);
    });

    await tt.test('a new publish runs at the start after the next, the old cache deleted', async () => {
        fs.cpSync(next, root, { recursive: true });
        await restart(s);
        assert.strictEqual(await newBuildRuns(s), false);
        await t.until(async () => {
            const now = await caches(s);
            return now.length === 1 && now[0] !== first[0];
        }, 'the new cache alone');
        await restart(s);
        assert.strictEqual(await newBuildRuns(s), true);
    });

    await tt.test('nothing asked of any other address', () => {
        assert.deepStrictEqual(s.tab.requests.filter((u) => !u.startsWith(url)), []);
        assert.deepStrictEqual(server.seen.filter((u) => !u.startsWith(AT)), []);
    });
    assert.deepStrictEqual(await s.tab.errors(), []);
});
