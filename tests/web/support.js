// Drives the web edition in Debian's own Chromium through playwright-core: no browser of its own
// is ever downloaded. Shared by the browser tests and the benchmark; CommonJS and nothing newer
// than Node 18 has, so that Debian 12's own Node runs it.
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { chromium } = require('playwright-core');

const ROOT = path.resolve(__dirname, '..', '..');
const PAGE = process.env.TARVO_WEB || path.join(ROOT, 'build-web', 'tarvo.html');
const URL = pathToFileURL(PAGE).href;
const CHROMIUM = process.env.TARVO_CHROMIUM || '/usr/bin/chromium';

// Playwright gives every launch a fresh temporary --user-data-dir of its own.
async function launch() {
    return chromium.launch({
        executablePath: CHROMIUM,
        headless: true,
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    });
}

// Counts what the page leaves running: timers, animation frames and event listeners on the
// window, the document and nodes still in it. Installed before the page's own scripts.
function probe() {
    const timers = new Map(); // id -> 'timeout' | 'interval'
    const frames = new Set();
    const listeners = [];
    const p = { fired: 0, intervals: 0, ticks: {}, timers, frames, listeners };
    // Playwright's own helpers run in the page too; what they set up is not the program's.
    const driver = () => /InjectedScript|UtilityScript|eval at evaluate/.test(new Error().stack);
    const wrapTimer = (set, clear, kind) => {
        const origSet = window[set];
        const origClear = window[clear];
        window[set] = function (fn, ...rest) {
            if (driver()) return origSet.call(window, fn, ...rest);
            const id = origSet.call(window, function (...a) {
                p.fired++;
                p.ticks[rest[0]] = (p.ticks[rest[0]] || 0) + 1;
                if (kind === 'timeout') timers.delete(id);
                return typeof fn === 'function' ? fn.apply(this, a) : undefined;
            }, ...rest);
            timers.set(id, kind);
            if (kind === 'interval') p.intervals++;
            return id;
        };
        window[clear] = function (id) {
            timers.delete(id);
            return origClear.call(window, id);
        };
    };
    wrapTimer('setTimeout', 'clearTimeout', 'timeout');
    wrapTimer('setInterval', 'clearInterval', 'interval');
    const raf = window.requestAnimationFrame;
    const caf = window.cancelAnimationFrame;
    window.requestAnimationFrame = (fn) => {
        if (driver()) return raf.call(window, fn);
        const id = raf.call(window, (t) => {
            frames.delete(id);
            p.fired++;
            fn(t);
        });
        frames.add(id);
        return id;
    };
    window.cancelAnimationFrame = (id) => {
        frames.delete(id);
        caf.call(window, id);
    };
    const capture = (o) => (typeof o === 'object' && o !== null ? !!o.capture : !!o);
    const find = (t, type, fn, o) => listeners.findIndex(
        (l) => l.t === t && l.type === type && l.fn === fn && l.capture === capture(o));
    const add = EventTarget.prototype.addEventListener;
    const remove = EventTarget.prototype.removeEventListener;
    EventTarget.prototype.addEventListener = function (type, fn, o) {
        if (fn && !driver() && find(this, type, fn, o) < 0) {
            const entry = { t: this, type, fn, capture: capture(o) };
            listeners.push(entry);
            const drop = () => {
                const i = listeners.indexOf(entry);
                if (i >= 0) listeners.splice(i, 1);
            };
            if (o && o.signal) o.signal.addEventListener('abort', drop);
            if (o && o.once) add.call(this, type, drop, { once: true, capture: capture(o) });
        }
        return add.call(this, type, fn, o);
    };
    EventTarget.prototype.removeEventListener = function (type, fn, o) {
        const i = find(this, type, fn, o);
        if (i >= 0) listeners.splice(i, 1);
        return remove.call(this, type, fn, o);
    };
    p.left = () => ({
        timers: timers.size,
        frames: frames.size,
        listeners: listeners
            .filter((l) => l.t === window || l.t === document || (l.t.isConnected && l.t.nodeType))
            .map((l) => `${l.t.nodeName || 'window'}:${l.type}`),
    });
    window.__probe = p;
}

// A page of the web edition at the given viewport, its requests recorded from the start.
// `background`: WebAssembly.Module refuses, as some browsers do on the page's thread.
async function open(browser, { width = 1280, height = 1024, touch = false, background } = {}) {
    const context = await browser.newContext({ viewport: { width, height }, hasTouch: touch });
    await context.addInitScript(probe);
    if (background)
        await context.addInitScript(() => (WebAssembly.Module = () => { throw new RangeError(); }));
    const page = await context.newPage();
    // Without this every page counts as focused, and nothing can take the focus from it.
    const cdp = await context.newCDPSession(page);
    await cdp.send('Emulation.setFocusEmulationEnabled', { enabled: false });
    const requests = [];
    page.on('request', (r) => requests.push(r.url()));
    const errors = [];
    page.on('pageerror', (e) => errors.push(String(e)));
    await page.goto(URL);
    // The program starts once its code is compiled, which may be after the page's load.
    await page.waitForFunction(() => document.querySelector('.tarvo-window'));
    await page.bringToFront();
    return { context, page, cdp, requests, errors };
}

// A button by its name; `beneath` finds it under a modal screen too.
const button = (page, name, beneath = false) =>
    page.getByRole('button', { name, exact: true, includeHidden: beneath });

// The page's accessibility tree as Chromium builds it: [{role, name, disabled, focused, node}]
// for every element a screen reader finds.
async function tree(cdp) {
    const { nodes } = await cdp.send('Accessibility.getFullAXTree');
    const prop = (n, p) => ((n.properties || []).find((x) => x.name === p) || {}).value;
    const text = (v) => (v && v.value) || '';
    return nodes.filter((n) => !n.ignored).map((n) => ({
        role: text(n.role), name: text(n.name), description: text(n.description),
        disabled: !!(prop(n, 'disabled') || {}).value, focused: !!(prop(n, 'focused') || {}).value,
        node: n.backendDOMNodeId,
    }));
}

// The rays as read, [{n, k, answer, verdict}], from the answer cells' words ("15 meno 7 uguale ?",
// "15 meno 3 uguale, da fare", "15 meno 7 uguale 8, giusto"; the verdict may be a description).
async function rays(cdp) {
    const out = [];
    for (const n of await tree(cdp)) {
        const m = /^(\d+) meno (\d+) uguale(?:(, da fare)| (\?|\d{1,3}))(?:, (giusto|sbagliato))?$/
            .exec(n.name);
        if (m && !out.some((r) => r.k === +m[2]))
            out.push({ n: +m[1], k: +m[2], answer: m[3] ? 'da fare' : m[4], verdict: m[5] || n.description });
    }
    return out;
}

// The ray waiting for an answer: the one cell showing "?" (for a centre above 10, no right
// answer reads "?").
async function current(cdp) {
    const waiting = (await rays(cdp)).filter((r) => r.answer === '?');
    return waiting.length === 1 ? waiting[0] : null;
}

// Polls `fn` until it returns something truthy; no sleeping on a guess.
async function until(page, fn, what, timeout = 10000) {
    const end = Date.now() + timeout;
    for (;;) {
        const v = await fn();
        if (v) return v;
        if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
        // One animation frame of the page between looks.
        await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => r())));
    }
}

// The name of the element that has the focus (the page itself also reads as focused).
const focusedName = async (cdp) =>
    ((await tree(cdp)).filter((n) => n.focused && n.role !== 'RootWebArea').pop() || {}).name;

// The curtains have opened once their timer has run and stopped, and every button on show is
// the topmost thing at its centre and near its four corners.
async function curtainsOpen(page) {
    await page.waitForFunction(() => {
        const shown = [...document.querySelectorAll('button:not([role])')].filter(
            (b) => b.getClientRects().length);
        const { intervals, timers } = window.__probe;
        const uncovered = (b, r = b.getBoundingClientRect()) => [0.05, 0.5, 0.95].every((x) =>
            [0.1, 0.5, 0.9].every((y) => {
                const hit = document.elementFromPoint(r.x + x * r.width, r.y + y * r.height);
                return hit === b || b.contains(hit);
            }));
        return intervals > 0 && ![...timers.values()].includes('interval') && shown.length > 0 &&
            shown.every((b) => uncovered(b));
    }, null, { timeout: 15000 });
}

// The four ways a pupil works the buttons, each able to choose a tarvo on the start screen and to
// press any keypad button. Keys: a digit (main row and numeric keypad in turn) or the initial
// letter, then ENTER for the buttons a letter only reaches. Scanning: SPACE until the button is
// highlighted, then ENTER. Mouse: each press with the next of the three buttons. Touch: a tap.
const LETTER = { Avanti: 'KeyA', Cancella: 'KeyC', 'Nuovo tarvo': 'KeyN', Esco: 'KeyE' };
const WAYS = {
    keys: {
        async choose({ page }, n) {
            await page.keyboard.press(n === 20 ? 'NumpadMultiply' : `Digit${n - 10}`);
            await page.keyboard.press('Enter'); // chooses; the highlight goes to "Vai"
            await page.keyboard.press('Enter');
        },
        async press({ page, cdp, count = 0 }, caption) {
            if (/^\d$/.test(caption) && count % 2) {
                // Playwright's keypad is the one of NumLock off (1 is End): this is NumLock on.
                for (const type of ['keyDown', 'keyUp'])
                    await cdp.send('Input.dispatchKeyEvent', { type, code: `Numpad${caption}`,
                        key: caption, windowsVirtualKeyCode: 96 + +caption, location: 3 });
            } else if (/^\d$/.test(caption)) {
                await page.keyboard.press(`Digit${caption}`);
            } else {
                await page.keyboard.press(LETTER[caption]);
                await page.keyboard.press('Enter');
            }
        },
    },
    scanning: {
        choose: async (s, n) => (await scan(s, String(n)), await scan(s, 'Vai')),
        press: (s, caption) => scan(s, caption),
    },
    mouse: {
        choose: async ({ page }, n) => (await button(page, String(n)).click({ button: 'right' }),
            await button(page, 'Vai').click({ button: 'middle' })),
        // Down on the button, up somewhere else, as many of these pupils release: the press acts.
        async press({ page, count = 0 }, caption) {
            const b = ['left', 'middle', 'right'][count % 3];
            await button(page, caption).hover();
            await page.mouse.down({ button: b });
            await page.mouse.move(1, 1);
            await page.mouse.up({ button: b });
        },
    },
    touch: {
        choose: async ({ page }, n) => (await button(page, String(n)).tap(),
            await button(page, 'Vai').tap()),
        press: ({ page }, caption) => button(page, caption).tap(),
    },
};

// SPACE until `caption` has the highlight (the focus), then ENTER.
async function scan({ page, cdp }, caption) {
    for (let i = 0; (await focusedName(cdp)) !== caption; i++) {
        if (i > 20) throw new Error(`scanning never reached "${caption}"`);
        const before = await focusedName(cdp);
        await page.keyboard.press('Space');
        await until(page, async () => (await focusedName(cdp)) !== before, 'the highlight to move');
    }
    await page.keyboard.press('Enter');
}

// Plays the tarvo on screen: each ray in turn (the first answered wrong when `wrong`), then the
// check; then, when `correct`, the wrong ray put right and checked again. Returns the rays
// answered.
async function play(s, way, { wrong = true, correct = true, rays: upTo = 8 } = {}) {
    const { page, cdp } = s;
    s.count = s.count || 0;
    const answer = async (value) => {
        const before = await current(cdp);
        for (const d of String(value)) {
            await way.press(s, d);
            s.count++;
        }
        await until(page,
            async () => (await rays(cdp)).some((r) => r.k === before.k && r.answer === `${value}`),
            `the answer ${value} in the cell of ${before.n} - ${before.k}`);
        await way.press(s, 'Avanti');
        s.count++;
        return before;
    };
    const first = await until(page, () => current(cdp), 'a ray waiting for its answer');
    for (let i = 0; i < upTo; i++) {
        const ray = await until(page, () => current(cdp), 'the next ray');
        await answer(ray.n - ray.k + (wrong && i === 0 ? 1 : 0));
        // After the last ray the check makes the first wrong ray (or none) current.
        if (i < 7)
            await until(page, async () => ((await current(cdp)) || {}).k !== ray.k, 'the next ray');
    }
    if (upTo < 8 || !wrong) return first;
    const back = await until(page, async () => {
        const r = await current(cdp);
        return r && r.verdict && r;
    }, 'the check');
    if (back.k !== first.k || back.verdict !== 'sbagliato')
        throw new Error(`after the check: ${JSON.stringify(back)}, expected the first ray wrong`);
    if (correct) await answer(back.n - back.k);
    return first;
}

// The celebration: every cell read right, and the keypad down to "Nuovo tarvo" and "Esco".
async function celebrating({ page, cdp }) {
    return until(page, async () => {
        const all = await rays(cdp);
        const enabled = (await tree(cdp)).filter((n) => n.role === 'button' && !n.disabled)
            .map((n) => n.name).join();
        return all.length === 8 && all.every((r) => r.verdict === 'giusto') &&
            enabled === 'Nuovo tarvo,Esco';
    }, 'the celebration');
}

// Just after a tick of the timer of `ms` milliseconds: the blink tick puts the highlight back on
// "Nuovo tarvo", so a pupil's way to "Esco" is taken right after one.
const afterTick = (page, ms) => page.evaluate((ms) => new Promise((resolve) => {
    const n = window.__probe.ticks[ms];
    const look = () => (window.__probe.ticks[ms] !== n ? resolve() : requestAnimationFrame(look));
    look();
}), ms);

// The page the program leaves behind once it has ended: no button, and how to start again.
async function ended({ page }) {
    await page.waitForFunction(() => document.querySelectorAll('button').length === 0 &&
        /ricaric/i.test(document.body.innerText));
}

const present = () => fs.existsSync(PAGE);

module.exports = { ROOT, PAGE, URL, launch, open, button, tree, rays, current, until, focusedName,
    curtainsOpen, present, probe, WAYS, play, celebrating, afterTick, ended };
