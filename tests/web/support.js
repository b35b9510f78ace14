// What the browser tests share, whatever the engine: a page of the web edition opened through the
// engine's driver (drivers/, chosen by TARVO_ENGINE: chromium, firefox or webkit), what a screen
// reader reads on it, the four ways a pupil plays, and a probe that counts what the page leaves
// running. Also used by the benchmark. CommonJS and nothing newer than Node 18 has, so that
// Debian 12's own Node runs it.
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const { pathToFileURL } = require('node:url');

const ROOT = path.resolve(__dirname, '..', '..');
const PAGE = process.env.TARVO_WEB || path.join(ROOT, 'build-web', 'tarvo.html');
const URL = pathToFileURL(PAGE).href;
const ENGINE = process.env.TARVO_ENGINE || 'chromium';
const AXE = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');

const launch = (engine = ENGINE) => require(`./drivers/${engine}`).launch();

// Counts what the page leaves running: timers, animation frames and event listeners on the
// window, the document and nodes still in it. Installed before the page's own scripts.
function probe() {
    const timers = new Map(); // id -> 'timeout' | 'interval'
    const frames = new Set();
    const listeners = [];
    const p = { fired: 0, intervals: 0, ticks: {}, timers, frames, listeners, paused: false };
    // The drivers' and the tests' own helpers run in the page too (Playwright's, WebKit's
    // WebDriver's, axe-core's):
    // what they set up is not the program's.
    const driver = () => p.paused || /InjectedScript|UtilityScript|eval at evaluate|evaluateJavaScriptFunction/.test(new Error().stack);
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

// Polls `fn` until it returns something truthy; no sleeping on a guess.
async function until(fn, what, timeout = 15000) {
    const end = Date.now() + timeout;
    for (;;) {
        const v = await fn();
        if (v) return v;
        if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
        await new Promise((r) => setTimeout(r, 15));
    }
}

// Polls a function of the page until it returns something truthy; a look that fails while the
// page changes (a navigation) looks again.
const waitFor = (s, fn, what, arg, timeout) =>
    until(() => s.tab.eval(fn, arg).catch(() => false), what, timeout);

// A page of the web edition (the one file, or `url`) at the given viewport, its requests recorded
// from the start, the program started. `background`: WebAssembly.Module refuses, as some browsers
// do on the page's thread.
async function open(browser, { url = URL, width = 1280, height = 1024, touch = false, background } = {}) {
    const init = [probe];
    if (background) init.push(() => (WebAssembly.Module = () => { throw new RangeError(); }));
    const tab = await browser.open(url, { width, height, touch, init });
    const s = { browser, tab, engine: browser.name, count: 0 };
    // The program starts once its code is compiled, which may be after the page's load.
    await waitFor(s, () => !!document.querySelector('.tarvo-window'), 'the program to start');
    await reader(s);
    return s;
}

// axe-core, which reads the page as a screen reader would, in every engine alike.
function reader(s) {
    return s.tab.eval((source) => {
        const p = window.__probe || {};
        p.paused = true;
        try {
            if (!window.axe) (0, eval)(source);
        } finally {
            p.paused = false;
        }
    }, AXE);
}

// `body(s)` on a page opened by `open` (or, with `n`, on the game screen of a tarvo of `n`),
// closed whatever happens.
async function withPage(browser, options, body, n) {
    const s = n ? await game(browser, n, options) : await open(browser, options);
    try {
        return await body(s);
    } finally {
        await s.tab.close().catch(() => {});
    }
}

// Every element a screen reader finds on the page, in document order, as axe-core computes its
// role and name: [{role, name, description, disabled, focused}]; a text outside a button's name
// is role "text". Elements behind an open modal screen are not found.
function readPage() {
    axe.setup(document.documentElement);
    try {
        const out = [];
        for (const el of document.querySelectorAll('body *')) {
            const v = axe.utils.getNodeFromTree(el);
            if (!v || !axe.commons.dom.isVisibleToScreenReaders(v)) continue;
            const role = axe.commons.aria.getRole(v);
            if (/^(button|menuitem|group|dialog)$/.test(role || ''))
                out.push({ role, name: axe.commons.text.accessibleTextVirtual(v),
                    description: el.getAttribute('aria-description') || '',
                    disabled: el.disabled === true, focused: el === document.activeElement });
            if (el.closest('button, [role=menuitem]')) continue;
            for (const n of el.childNodes)
                if (n.nodeType === 3 && n.textContent.trim())
                    out.push({ role: 'text', name: n.textContent.trim(), description: '' });
        }
        return out;
    } finally {
        axe.teardown();
    }
}
const tree = (s) => s.tab.eval(readPage);

// The box of the button (or menu entry, or any role) named `name` (a string, or a pattern), in CSS
// pixels of the viewport; `beneath` finds it under a modal screen too. Null when there is none.
const box = (s, name, { role = 'button', beneath = false } = {}) => s.tab.eval((role, name, beneath) => {
    axe.setup(document.documentElement);
    try {
        for (const el of document.querySelectorAll('button, [role]')) {
            const v = axe.utils.getNodeFromTree(el);
            if (axe.commons.aria.getRole(v) !== role || (!beneath && !axe.commons.dom.isVisibleToScreenReaders(v)))
                continue;
            // Beneath a modal screen a reader finds nothing: the button goes by its caption there.
            const named = beneath ? el.textContent.trim() : axe.commons.text.accessibleTextVirtual(v);
            if (name.exact !== undefined ? named !== name.exact : !new RegExp(name.pattern).test(named))
                continue;
            const r = el.getBoundingClientRect();
            return { x: r.x, y: r.y, width: r.width, height: r.height };
        }
        return null;
    } finally {
        axe.teardown();
    }
}, role, name instanceof RegExp ? { pattern: name.source } : { exact: name }, beneath);

async function centre(s, name, options) {
    const b = await until(() => box(s, name, options), `a ${(options || {}).role || 'button'} "${name}"`);
    return [b.x + b.width / 2, b.y + b.height / 2];
}

// A key pressed and released.
async function press(s, code) {
    await s.tab.key('down', code);
    await s.tab.key('up', code);
}

// A left click on the centre of the named element.
async function click(s, name, options) {
    const [x, y] = await centre(s, name, options);
    await s.tab.mouse('down', x, y);
    await s.tab.mouse('up', x, y);
}

// A modal screen opened from its menu entry, and closed by its own button.
const CLOSE = /^C ?h ?i ?u ?d ?i$/;
async function openModal(s, menu) {
    await click(s, menu, { role: 'menuitem' });
    await until(() => box(s, CLOSE), `the screen of "${menu}"`);
}
async function closeModal(s) {
    await click(s, CLOSE);
    await waitFor(s, () => !document.querySelector('dialog'), 'the modal screen to close');
}

// The rays as read, [{n, k, answer, verdict}], from the answer cells' words ("15 meno 7 uguale ?",
// "15 meno 3 uguale, da fare", "15 meno 7 uguale 8, giusto"; the verdict may be a description).
async function rays(s) {
    const out = [];
    for (const n of await tree(s)) {
        const m = /^(\d+) meno (\d+) uguale(?:(, da fare)| (\?|\d{1,3}))(?:, (giusto|sbagliato))?$/
            .exec(n.name);
        if (m && !out.some((r) => r.k === +m[2]))
            out.push({ n: +m[1], k: +m[2], answer: m[3] ? 'da fare' : m[4], verdict: m[5] || n.description });
    }
    return out;
}

// The ray waiting for an answer: the one cell showing "?" (for a centre above 10, no right
// answer reads "?").
async function current(s) {
    const waiting = (await rays(s)).filter((r) => r.answer === '?');
    return waiting.length === 1 ? waiting[0] : null;
}

const cellReads = (s, ray, answer) => until(
    async () => (await rays(s)).some((r) => r.k === ray.k && r.answer === answer),
    `the cell of ${ray.n} - ${ray.k} to read ${answer}`);

// The name of the element that has the focus.
const focusedName = async (s) => ((await tree(s)).filter((n) => n.focused).pop() || {}).name;

const title = (s) => s.tab.eval(() => document.title);
const titled = (s, name) => waitFor(s, (name) => document.title === name, `the title "${name}"`, name);

// The curtains have opened once their timer has run and stopped, and every button on show is
// the topmost thing at its centre and near its four corners.
const curtainsOpen = (s) => waitFor(s, () => {
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
}, 'the curtains to open', undefined, 20000);

// The four ways a pupil works the buttons, each able to choose a tarvo on the start screen and to
// press any keypad button. Keys: a digit (main row and numeric keypad in turn) or the initial
// letter, then ENTER for the buttons a letter only reaches. Scanning: SPACE until the button is
// highlighted, then ENTER. Mouse: each press with the next of the three buttons. Touch and pen:
// a tap.
const LETTER = { Avanti: 'KeyA', Cancella: 'KeyC', 'Nuovo tarvo': 'KeyN', Esco: 'KeyE' };
const tapping = (how) => ({
    choose: async (s, n) => (await how(s, String(n)), await how(s, 'Vai')),
    press: (s, caption) => how(s, caption),
});
const WAYS = {
    keys: {
        async choose(s, n) {
            await press(s, n === 20 ? 'NumpadMultiply' : `Digit${n - 10}`);
            await press(s, 'Enter'); // chooses; the highlight goes to "Vai"
            await press(s, 'Enter');
        },
        async press(s, caption) {
            if (/^\d$/.test(caption)) {
                await press(s, `${s.count % 2 ? 'Numpad' : 'Digit'}${caption}`);
            } else {
                await press(s, LETTER[caption]);
                await press(s, 'Enter');
            }
        },
    },
    scanning: {
        choose: async (s, n) => (await scan(s, String(n)), await scan(s, 'Vai')),
        press: (s, caption) => scan(s, caption),
    },
    mouse: {
        async choose(s, n) {
            await pressWith(s, String(n), 'right');
            await pressWith(s, 'Vai', 'middle');
        },
        press: (s, caption) => pressWith(s, caption, ['left', 'middle', 'right'][s.count % 3]),
    },
    touch: tapping(async (s, caption) => s.tab.tap(...(await centre(s, caption)))),
    pen: tapping(async (s, caption) => s.tab.pen(...(await centre(s, caption)))),
};

// Down on the button, up somewhere else, as many of these pupils release: the press acts.
async function pressWith(s, caption, button) {
    const [x, y] = await centre(s, caption);
    await s.tab.mouse('down', x, y, button);
    await s.tab.mouse('move', 1, 1);
    await s.tab.mouse('up', 1, 1, button);
}

// SPACE until `caption` has the highlight (the focus), then ENTER.
async function scan(s, caption) {
    for (let i = 0; (await focusedName(s)) !== caption; i++) {
        if (i > 20) throw new Error(`scanning never reached "${caption}"`);
        const before = await focusedName(s);
        await press(s, 'Space');
        await until(async () => (await focusedName(s)) !== before, 'the highlight to move');
    }
    await press(s, 'Enter');
}

// Plays the tarvo on screen: each ray in turn (the first answered wrong when `wrong`), then the
// check; then, when `correct`, the wrong ray put right and checked again. Returns the rays
// answered.
async function play(s, way, { wrong = true, correct = true, rays: upTo = 8 } = {}) {
    const answer = async (value) => {
        const before = await current(s);
        for (const d of String(value)) {
            await way.press(s, d);
            s.count++;
        }
        await cellReads(s, before, `${value}`);
        await way.press(s, 'Avanti');
        s.count++;
        return before;
    };
    const first = await until(() => current(s), 'a ray waiting for its answer');
    for (let i = 0; i < upTo; i++) {
        const ray = await until(() => current(s), 'the next ray');
        await answer(ray.n - ray.k + (wrong && i === 0 ? 1 : 0));
        // After the last ray the check makes the first wrong ray (or none) current.
        if (i < 7) await until(async () => ((await current(s)) || {}).k !== ray.k, 'the next ray');
    }
    if (upTo < 8 || !wrong) return first;
    const back = await until(async () => {
        const r = await current(s);
        return r && r.verdict && r;
    }, 'the check');
    if (back.k !== first.k || back.verdict !== 'sbagliato')
        throw new Error(`after the check: ${JSON.stringify(back)}, expected the first ray wrong`);
    if (correct) await answer(back.n - back.k);
    return first;
}

// The game screen of a tarvo of `n`, its first ray waiting, chosen by keys.
async function game(browser, n = 15, options) {
    const s = await open(browser, options);
    await curtainsOpen(s);
    await WAYS.keys.choose(s, n);
    await titled(s, 'Form1');
    await until(() => current(s), 'the first ray');
    return s;
}

// The celebration: every cell read right, and the keypad down to "Nuovo tarvo" and "Esco".
const celebrating = (s) => until(async () => {
    const read = await tree(s);
    const all = await rays(s);
    const enabled = read.filter((n) => n.role === 'button' && !n.disabled).map((n) => n.name).join();
    return all.length === 8 && all.every((r) => r.verdict === 'giusto') && enabled === 'Nuovo tarvo,Esco';
}, 'the celebration');

// Just after a tick of the timer of `ms` milliseconds: the blink tick puts the highlight back on
// "Nuovo tarvo", so a pupil's way to "Esco" is taken right after one.
async function afterTick(s, ms) {
    const ticks = () => s.tab.eval((ms) => window.__probe.ticks[ms] || 0, ms);
    const n = await ticks();
    await until(async () => (await ticks()) !== n, `a tick of ${ms} ms`);
}

// The page the program leaves behind once it has ended: no button, and how to start again.
const ended = (s) => waitFor(s, () => document.querySelectorAll('button').length === 0 &&
    /ricaric/i.test(document.body.innerText), 'the end of the program');

// What the page asked for beyond its own file.
const elsewhere = (s) => s.tab.requests.filter((u) => u !== s.tab.url && !/^(data|blob):/.test(u));

const present = () => fs.existsSync(PAGE);

module.exports = { ROOT, PAGE, URL, ENGINE, launch, open, reader, withPage, probe, until, waitFor, tree, box, centre,
    press, click, CLOSE, openModal, closeModal, rays, current, cellReads, focusedName, title, titled, curtainsOpen, WAYS, play,
    game, celebrating, afterTick, ended, elsewhere, present };
