// Debian's Firefox ESR, headless, through WebDriver BiDi, its own remote protocol (no geckodriver,
// no browser of a test tool's). One driver of the browser tests (see README.md here).
'use strict';

const { spawn } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const WebSocket = require('ws');
const { keyOf, keyboards, BUTTONS } = require('./keys');

const EXECUTABLE = process.env.TARVO_FIREFOX || '/usr/bin/firefox-esr';

// One BiDi connection: commands answered by id, events to the listeners of their method.
function connect(url) {
    return new Promise((resolve, reject) => {
        const ws = new WebSocket(url);
        const pending = new Map();
        const listeners = [];
        let next = 0;
        ws.on('error', reject);
        ws.on('message', (data) => {
            const m = JSON.parse(data);
            if (m.type === 'event') return listeners.forEach((l) => l(m.method, m.params));
            const p = pending.get(m.id);
            if (!p) return;
            pending.delete(m.id);
            if (m.type === 'error') p.reject(new Error(`${p.method}: ${m.error}: ${m.message}`));
            else p.resolve(m.result);
        });
        ws.on('close', () => pending.forEach((p) => p.reject(new Error(`${p.method}: closed`))));
        ws.on('open', () => resolve({
            send: (method, params = {}) => new Promise((res, rej) => {
                const id = ++next;
                pending.set(id, { resolve: res, reject: rej, method });
                ws.send(JSON.stringify({ id, method, params }));
            }),
            on: (fn) => listeners.push(fn),
            close: () => ws.close(),
        }));
    });
}

async function launch() {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tarvo-firefox-'));
    // Focus as in a window on a desktop: the page has it, another tab in front takes it.
    fs.writeFileSync(path.join(profile, 'user.js'), 'user_pref("focusmanager.testmode", true);\n');
    const proc = spawn(EXECUTABLE, ['--headless', '--no-remote', '--profile', profile,
        '--remote-debugging-port=0', 'about:blank'], { stdio: ['ignore', 'ignore', 'pipe'] });
    const address = await new Promise((resolve, reject) => {
        let said = '';
        proc.on('exit', (code) => reject(new Error(`firefox ended (${code}): ${said}`)));
        proc.stderr.on('data', (d) => {
            said += d;
            const m = /WebDriver BiDi listening on (ws:\/\/\S+)/.exec(said);
            if (m) resolve(m[1]);
        });
    });
    proc.stderr.resume();
    const bidi = await connect(`${address}/session`);
    await bidi.send('session.new', { capabilities: {} });
    await bidi.send('session.subscribe', { events: ['network.beforeRequestSent', 'log.entryAdded'] });
    const tabs = new Map(); // context -> {requests, errors}
    bidi.on((method, p) => {
        const tab = tabs.get(method === 'log.entryAdded' ? p.source.context : p.context);
        if (!tab) return;
        if (method === 'network.beforeRequestSent') tab.requests.push(p.request.url);
        if (method === 'log.entryAdded' && p.type === 'javascript' && p.level === 'error')
            tab.errors.push(p.text);
    });
    return {
        name: 'firefox',
        // Firefox's remote agent has no pen; its touch is real touch.
        can: { touch: true, pen: false, zoom: true, repeat: true, lost: true },
        open: (url, options) => open(bidi, tabs, url, options),
        async close() {
            await bidi.send('browser.close').catch(() => {});
            bidi.close();
            if (proc.exitCode === null) await new Promise((r) => proc.once('exit', r));
            fs.rmSync(profile, { recursive: true, force: true });
        },
    };
}

async function open(bidi, tabs, url, { width, height, init = [] }) {
    const { context } = await bidi.send('browsingContext.create', { type: 'tab' });
    const state = { requests: [], errors: [] };
    tabs.set(context, state);
    const preloads = [];
    for (const script of init)
        preloads.push((await bidi.send('script.addPreloadScript',
            { functionDeclaration: `() => { (${script})(); }`, contexts: [context] })).script);
    await bidi.send('browsingContext.setViewport', { context, viewport: { width, height } });
    await bidi.send('browsingContext.navigate', { context, url, wait: 'complete' });
    const act = (actions) => bidi.send('input.performActions', { context, actions });
    const pointer = (id, pointerType, steps) =>
        act([{ type: 'pointer', id, parameters: { pointerType }, actions: steps }]);
    const at = (x, y) => ({ type: 'pointerMove', x: Math.round(x), y: Math.round(y) });
    const keyboard = keyboards();
    let mice = 0;
    let other = null;
    return {
        url, requests: state.requests,
        errors: async () => state.errors,
        async eval(fn, ...args) {
            const r = await bidi.send('script.evaluate', {
                expression: `Promise.resolve((${fn})(...${JSON.stringify(args)})).then(JSON.stringify)`,
                target: { context }, awaitPromise: true,
            });
            if (r.type === 'exception') throw new Error(`in the page: ${r.exceptionDetails.text}`);
            return r.result.value === undefined ? undefined : JSON.parse(r.result.value);
        },
        key: (type, code, { repeat = false } = {}) => act([{ type: 'key', id: keyboard.source(type, code, repeat),
            actions: [{ type: type === 'up' ? 'keyUp' : 'keyDown', value: keyOf(code).wd }] }]),
        mouse: (type, x, y, button = 'left') => pointer('mouse', 'mouse', [at(x, y),
            ...(type === 'move' ? [] : [{ type: type === 'down' ? 'pointerDown' : 'pointerUp',
                button: BUTTONS[button].wd }])]),
        // A press whose release the page never hears: another mouse's press, its first one
        // still held.
        lost: (x, y) => pointer(`mouse${++mice}`, 'mouse', [at(x, y), { type: 'pointerDown', button: 0 }]),
        tap: (x, y) => pointer('touch', 'touch',
            [at(x, y), { type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }]),
        resize: (w, h) => bidi.send('browsingContext.setViewport', { context, viewport: { width: w, height: h } }),
        zoom: (factor, w, h) => bidi.send('browsingContext.setViewport', { context,
            viewport: { width: Math.round(w / factor), height: Math.round(h / factor) },
            devicePixelRatio: factor }),
        async away() {
            other = (await bidi.send('browsingContext.create', { type: 'tab' })).context;
            await bidi.send('browsingContext.activate', { context: other });
        },
        async back() {
            await bidi.send('browsingContext.close', { context: other });
            await bidi.send('browsingContext.activate', { context });
        },
        // Every button and menu entry as Firefox's accessibility engine finds them: the nodes of
        // each role, and for each the name among the page's captions that the engine matches it by.
        async buttons() {
            const found = [];
            const find = async (value) => (await bidi.send('browsingContext.locateNodes',
                { context, locator: { type: 'accessibility', value } })).nodes.map((n) => n.sharedId);
            const captions = await this.eval(() => {
                const of = (list) => [...new Set([...document.querySelectorAll(list)]
                    .map((b) => [b.getAttribute('aria-label'), b.textContent.trim()]).flat().filter(Boolean))];
                return { button: of('button:not([role])'), menuitem: of('[role=menuitem]') };
            });
            for (const role of ['button', 'menuitem']) {
                const nodes = await find({ role });
                const named = new Map();
                for (const name of captions[role]) for (const id of await find({ role, name })) named.set(id, name);
                for (const id of nodes) found.push({ role, name: named.get(id) || '' });
            }
            return found;
        },
        async screenshot(file) {
            const { data } = await bidi.send('browsingContext.captureScreenshot', { context });
            fs.writeFileSync(file, Buffer.from(data, 'base64'));
        },
        async close() {
            tabs.delete(context);
            for (const script of preloads) await bidi.send('script.removePreloadScript', { script });
            await bidi.send('browsingContext.close', { context });
        },
    };
}

module.exports = { launch };
