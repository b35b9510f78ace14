// Debian's WebKitGTK: its MiniBrowser through WebKitWebDriver (classic WebDriver over HTTP), on
// the X display the test runs on (tests/support/desktop.py: Xvfb and a window manager). One driver
// of the browser tests (see README.md here).
//
// What its WebDriver cannot do is done another way: the mouse comes from the X server (XTEST, by
// xdotool), since the driver reports the release of a middle or right button as the left one's;
// scripts to run before the page's own go into a copy of the page, as the first of its head;
// requests are seen by a proxy of the test's own, which answers none.
'use strict';

const { execFile, spawn } = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const net = require('node:net');
const os = require('node:os');
const path = require('node:path');
const { fileURLToPath, pathToFileURL } = require('node:url');
const { keyOf, keyboards, BUTTONS } = require('./keys');

const DRIVER = process.env.TARVO_WEBKITDRIVER || '/usr/bin/WebKitWebDriver';
const BROWSER = process.env.TARVO_MINIBROWSER ||
    ['x86_64', 'aarch64', 'i386', 'arm'].map((a) => `/usr/lib/${a}-linux-gnu${a === 'arm' ? 'eabihf' : ''}/webkit2gtk-4.1/MiniBrowser`)
        .find((p) => fs.existsSync(p));

const xdotool = (...args) => new Promise((resolve, reject) =>
    execFile('xdotool', args, (e, out) => (e ? reject(e) : resolve(out.trim()))));

const freePort = () => new Promise((resolve) => {
    const s = net.createServer().listen(0, '127.0.0.1', () => {
        const { port } = s.address();
        s.close(() => resolve(port));
    });
});

// A proxy that records every address the browser asks it for and serves none.
function recorder() {
    const seen = [];
    const server = http.createServer((req, res) => {
        seen.push(req.url);
        res.writeHead(403).end();
    });
    server.on('connect', (req, socket) => {
        seen.push(`https://${req.url}/`);
        socket.end('HTTP/1.1 403 Forbidden\r\n\r\n');
    });
    return new Promise((resolve) => server.listen(0, '127.0.0.1', () =>
        resolve({ seen, port: server.address().port, close: () => server.close() })));
}

async function launch() {
    if (!process.env.DISPLAY) throw new Error('WebKit needs an X display (tests/support/desktop.py)');
    const port = await freePort();
    const driver = spawn(DRIVER, [`--port=${port}`], { stdio: 'ignore' });
    const base = `http://127.0.0.1:${port}`;
    for (let i = 0; ; i++) {
        try {
            if ((await fetch(`${base}/status`)).ok) break;
        } catch (e) {
            if (i > 200) throw new Error(`WebKitWebDriver never answered: ${e}`);
            await new Promise((r) => setTimeout(r, 25));
        }
    }
    const proxy = await recorder();
    const copies = fs.mkdtempSync(path.join(os.tmpdir(), 'tarvo-webkit-'));
    // The driver holds one session, one window, at a time: a page opened ends the one before.
    let live = null;
    return {
        name: 'webkit',
        // WebKitGTK's driver turns touch into the mouse; its pen is a pen. No release is lost
        // to another window: X gives it to the window its press went down in.
        can: { touch: false, pen: true, zoom: false, repeat: false, lost: false },
        async open(url, options) {
            if (live) await live.close().catch(() => {});
            live = await open({ base, proxy, copies }, url, options);
            return live;
        },
        async close() {
            if (live) await live.close().catch(() => {});
            driver.kill();
            proxy.close();
            fs.rmSync(copies, { recursive: true, force: true });
        },
    };
}

// The driver's own scripts, before the test's: the page's uncaught errors, and the pointer's
// last place, which says where the page lies on the screen.
function recorders() {
    window.__webkit = { errors: [], at: null };
    addEventListener('error', (e) => window.__webkit.errors.push(String(e.message)), true);
    addEventListener('unhandledrejection', (e) => window.__webkit.errors.push(String(e.reason)));
    addEventListener('mousemove', (e) => (window.__webkit.at = [e.screenX - e.clientX, e.screenY - e.clientY]), true);
}

let copied = 0;

async function open({ base, proxy, copies }, url, { width, height, init = [] }) {
    const request = async (method, where, body) => {
        const r = await fetch(base + where, { method, headers: { 'content-type': 'application/json' },
            body: body && JSON.stringify(body) });
        const { value } = await r.json();
        if (value && value.error) throw new Error(`${method} ${where}: ${value.error}: ${value.message}`);
        return value;
    };
    const { sessionId } = await request('POST', '/session', { capabilities: { alwaysMatch: {
        'webkitgtk:browserOptions': { binary: BROWSER,
            args: ['--automation', `--proxy=http://127.0.0.1:${proxy.port}`] },
    } } });
    const s = `/session/${sessionId}`;
    const scripts = [recorders, ...init].map((f) => `<script>(${f})();</script>`).join('');
    const copy = path.join(copies, `page-${++copied}.html`);
    fs.writeFileSync(copy, fs.readFileSync(fileURLToPath(url), 'utf8').replace(/<head>/i, `<head>${scripts}`));
    const own = pathToFileURL(copy).href;
    const evaluate = async (fn, ...args) => {
        const r = JSON.parse(await request('POST', `${s}/execute/async`, { args: [JSON.stringify(args)],
            script: `const done = arguments[arguments.length - 1];
                Promise.resolve().then(() => (${fn})(...JSON.parse(arguments[0])))
                    .then((v) => done(JSON.stringify({ v })), (e) => done(JSON.stringify({ e: String(e) })));` }));
        if ('e' in r) throw new Error(`in the page: ${r.e}`);
        return r.v;
    };
    // The window's own bars: a window this much larger has a viewport of the size asked.
    const resize = async (w, h) => {
        await request('POST', `${s}/window/rect`, { x: 0, y: 0, width: w, height: h });
        const [iw, ih] = await evaluate(() => [innerWidth, innerHeight]);
        if (iw !== w || ih !== h)
            await request('POST', `${s}/window/rect`, { x: 0, y: 0, width: 2 * w - iw, height: 2 * h - ih });
    };
    await request('POST', `${s}/url`, { url: 'about:blank' });
    await resize(width, height);
    await request('POST', `${s}/url`, { url: own });
    const xwindow = await xdotool('getactivewindow');
    // Where the page's (0, 0) is on the screen: the pointer moved onto the page tells.
    let origin = null;
    for (let i = 0; !origin; i++) {
        await xdotool('mousemove', String(20 + (i % 2)), String(height - 20));
        origin = await evaluate(() => window.__webkit.at);
        if (i > 200) throw new Error('the pointer never reached the page');
    }
    const pointer = (steps, type) => request('POST', `${s}/actions`,
        { actions: [{ type: 'pointer', id: type, parameters: { pointerType: type }, actions: steps }] });
    const move = (x, y) => xdotool('mousemove', String(Math.round(origin[0] + x)), String(Math.round(origin[1] + y)));
    const first = proxy.seen.length;
    const keyboard = keyboards();
    let other = null;
    return {
        url: own,
        get requests() {
            return proxy.seen.slice(first);
        },
        errors: () => evaluate(() => window.__webkit.errors),
        eval: evaluate,
        key: (type, code) => request('POST', `${s}/actions`, { actions: [{ type: 'key',
            id: keyboard.source(type, code, false),
            actions: [{ type: type === 'up' ? 'keyUp' : 'keyDown', value: keyOf(code).wd }] }] }),
        async mouse(type, x, y, button = 'left') {
            await move(x, y);
            if (type !== 'move') await xdotool(type === 'down' ? 'mousedown' : 'mouseup', String(BUTTONS[button].x));
        },
        pen: (x, y) => pointer([{ type: 'pointerMove', x: Math.round(x), y: Math.round(y) },
            { type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }], 'pen'),
        resize,
        // Another window of the browser takes the focus (the window manager's), then gives it back.
        async away() {
            other = await request('POST', `${s}/window/new`, { type: 'window' });
            // The search fails, or finds ours alone, while windows come and go: again.
            for (let i = 0; ; i++) {
                const found = await xdotool('search', '--onlyvisible', '--class', 'MiniBrowser').catch(() => '');
                const next = found.split('\n').find((w) => w && w !== xwindow);
                if (next && (await xdotool('windowactivate', '--sync', next).then(() => true, () => false))) break;
                if (i > 200) throw new Error('no other window of the browser to take the focus');
                await new Promise((r) => setTimeout(r, 25));
            }
        },
        async back() {
            const mine = await request('GET', `${s}/window`);
            await request('POST', `${s}/window`, { handle: other.handle });
            await request('DELETE', `${s}/window`);
            await request('POST', `${s}/window`, { handle: mine });
            await xdotool('windowactivate', '--sync', xwindow);
        },
        // Every button and menu entry with the role and name WebKit's accessibility gives them.
        // Its driver gives them for any element, also one its tree leaves out (hidden, inert, or
        // behind a modal dialog): it is asked about those alone that the page shows and leaves open.
        async buttons() {
            const found = [];
            const els = await request('POST', `${s}/execute/sync`, { args: [], script: `
                const modal = document.querySelector('dialog:modal');
                return [...document.querySelectorAll('button')].filter((b) => b.getClientRects().length &&
                    !b.closest('[inert]') && (!modal || modal.contains(b)));` });
            for (const e of els) {
                const id = Object.values(e)[0];
                // An element WebKit keeps out of its tree has no role to give.
                const role = await request('GET', `${s}/element/${id}/computedrole`).catch(() => '');
                if (/^(button|menuitem)$/.test(role))
                    found.push({ role, name: await request('GET', `${s}/element/${id}/computedlabel`) });
            }
            return found;
        },
        async screenshot(file) {
            // The driver takes the last frame painted: one more, with what has changed since.
            await evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
            fs.writeFileSync(file, Buffer.from(await request('GET', `${s}/screenshot`), 'base64'));
        },
        close: () => request('DELETE', s),
    };
}

module.exports = { launch };
